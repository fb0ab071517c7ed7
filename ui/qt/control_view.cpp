#include "ui/qt/control_view.h"

#include <QWidget>

#include "ui/qt/convert.h"

namespace vk41::qt {

void showCommon(QWidget& widget, const Control& control, double scale, const QFont& font) {
    widget.setGeometry(rect(control, scale));
    widget.setVisible(control.visible());
    widget.setEnabled(control.enabled());
    widget.setToolTip(toQString(control.toolTip()));
    if (widget.font() != font) widget.setFont(font);
}

DesignScale designScale(const Control& control, double scale) {
    return {scale, pxSize(control.width(), control.height())};
}

}  // namespace vk41::qt
