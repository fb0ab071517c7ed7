#include "ui/qt/option_button.h"

#include <QPainter>
#include <QStyleOptionButton>

#include "ui/qt/convert.h"

namespace vk41::qt {

OptionButton::OptionButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setAutoExclusive(false);  // the model keeps one option selected per frame
}

void OptionButton::showControl(const Control& c, double scale) {
    showCommon(*this, c, scale, toQFont(c.font()));
    setText(toQString(c.caption()));
    setChecked(c.value());
    setBackground(toQColor(c.backColor()));
    setScale(designScale(c, scale));
}

void OptionButton::setBackground(const QColor& colour) {
    if (background_ == colour) return;
    background_ = colour;
    update();
}

void OptionButton::setScale(const DesignScale& scale) {
    if (scale_.factor == scale.factor && scale_.size == scale.size) return;
    scale_ = scale;
    update();
}

int OptionButton::indicatorSize(const QStyleOptionButton& option) const {
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this);
}

QRect OptionButton::captionRect() const {
    QStyleOptionButton option;
    option.initFrom(this);
    return scale_.rect().adjusted(indicatorSize(option) + 5, 0, 0, 0);
}

void OptionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    scale_.apply(painter);
    const QRect r = scale_.rect();
    painter.fillRect(r, background_);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isChecked() ? QStyle::State_On : QStyle::State_Off;
    const int indicator = indicatorSize(option);
    const int lineHeight = fontMetrics().height();
    option.rect = QRect(1, std::max(0, (std::min(r.height(), lineHeight) - indicator) / 2),
                        indicator, indicator);
    style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &option, &painter, this);
    const QRect textRect = captionRect();
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    const int flags = Qt::AlignLeft | Qt::TextWordWrap |
                      (r.height() <= lineHeight + 2 ? Qt::AlignVCenter : Qt::AlignTop);
    painter.drawText(textRect, flags, text());
}

}  // namespace vk41::qt
