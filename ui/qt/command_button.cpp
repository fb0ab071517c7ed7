#include "ui/qt/command_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/qt/convert.h"
#include "ui/qt/pictures.h"

namespace vk41::qt {

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent) {}

void CommandButton::showControl(const Control& c, double scale) {
    showCommon(*this, c, scale, toQFont(c.font()));
    setText(toQString(c.caption()));
    setPicture(embeddedPixmap(c.props().picture));
    setScale(designScale(c, scale));
}

void CommandButton::setPicture(const QPixmap& picture) {
    if (picture_.cacheKey() == picture.cacheKey()) return;
    picture_ = picture;
    update();
}

void CommandButton::setScale(const DesignScale& scale) {
    if (scale_.factor == scale.factor && scale_.size == scale.size) return;
    scale_ = scale;
    update();
}

void CommandButton::paintEvent(QPaintEvent* event) {
    if (picture_.isNull() && scale_.factor == 1.0) return QPushButton::paintEvent(event);
    QStylePainter painter(this);
    scale_.apply(painter);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = scale_.rect();
    if (picture_.isNull()) return painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const int width = option.rect.width(), height = option.rect.height();
    const QFontMetrics metrics(font());
    const int textHeight = metrics.height();
    const int shift = isDown() ? 1 : 0;
    const int pictureTop = std::max(1, (height - textHeight - picture_.height()) / 2);
    const QPixmap shown =
        isEnabled() ? picture_ : style()->generatedIconPixmap(QIcon::Disabled, picture_, &option);
    painter.drawPixmap((width - picture_.width()) / 2 + shift, pictureTop + shift, shown);
    const QRect textRect(shift, pictureTop + picture_.height() + shift, width, textHeight);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, text());
}

}  // namespace vk41::qt
