#include "ui/qt/combo_style.h"

#include <QStyleOptionComboBox>
#include <QWidget>
#include <cmath>

namespace vk41::qt {

ComboStyle* ComboStyle::instance() {
    static ComboStyle* style = new ComboStyle;  // lives as long as the program's widgets
    return style;
}

QRect ComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                 SubControl part, const QWidget* widget) const {
    const double scale = widget ? widget->property("designScale").toDouble() : 0.0;
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control != CC_ComboBox || !combo || scale <= 0 || scale == 1.0)
        return QProxyStyle::subControlRect(control, option, part, widget);
    QStyleOptionComboBox design = *combo;
    const QPoint origin = option->rect.topLeft();
    design.rect = QRect(origin, (QSizeF(option->rect.size()) / scale).toSize());
    const QRect r = QProxyStyle::subControlRect(control, &design, part, widget).translated(-origin);
    const auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    return QRect(QPoint(at(r.left()), at(r.top())),
                 QPoint(at(r.right() + 1) - 1, at(r.bottom() + 1) - 1))
        .translated(origin);
}

}  // namespace vk41::qt
