#include "ui/qt/picture_box.h"

#include <QPainter>

#include "ui/colour.h"
#include "ui/qt/convert.h"
#include "ui/qt/pictures.h"

namespace vk41::qt {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
}

void PictureBox::showControl(const Control& c, double scale) {
    showCommon(*this, c, scale, toQFont(c.font()));
    setPicture(c.props().picture);
    setScale(designScale(c, scale));
}

void PictureBox::setPicture(const std::string& name) {
    if (picture_ == name) return;
    picture_ = name;
    update();
}

void PictureBox::setScale(const DesignScale& scale) {
    if (scale_.factor == scale.factor && scale_.size == scale.size) return;
    scale_ = scale;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), toQColor(kButtonFace));
        const QRect inside = contentsRect();
        painter.setClipRect(inside);
        painter.translate(inside.topLeft());
        scale_.apply(painter);
        // A picture of twice the detail is brought down smoothly at ratio 1.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(0, 0, boxPixmap(picture_, scale_.size));
    }
    QFrame::paintEvent(event);
}

}  // namespace vk41::qt
