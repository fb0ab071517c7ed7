#include "ui/qt/canvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/qt/convert.h"
#include "ui/qt/pictures.h"

namespace vk41::qt {
namespace {

// A square or circle stands centred in its rectangle with the shorter side.
QRectF squared(QRectF r) {
    const double side = std::min(r.width(), r.height());
    return QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
}

void paintShape(QPainter& painter, const Control& c) {
    const Props& p = c.props();
    QRectF r = rectF(c);
    const bool square = p.shape == ShapeKind::Square || p.shape == ShapeKind::Circle ||
                        p.shape == ShapeKind::RoundedSquare;
    if (square) r = squared(r);
    // The outline lies inside the rectangle, as the classic shapes draw it.
    const double inset = p.bordered ? p.borderWidth / 2.0 : 0.0;
    r.adjust(inset, inset, -inset, -inset);
    painter.setPen(p.bordered ? QPen(toQColor(p.borderColor), p.borderWidth) : QPen(Qt::NoPen));
    painter.setBrush(p.filled ? QBrush(toQColor(p.fillColor)) : QBrush(Qt::NoBrush));
    switch (p.shape) {
        case ShapeKind::Rectangle:
        case ShapeKind::Square:
            painter.drawRect(r);
            break;
        case ShapeKind::Oval:
        case ShapeKind::Circle:
            painter.setRenderHint(QPainter::Antialiasing);
            painter.drawEllipse(r);
            break;
        case ShapeKind::RoundedRectangle:
        case ShapeKind::RoundedSquare: {
            painter.setRenderHint(QPainter::Antialiasing);
            const double radius = std::min(r.width(), r.height()) / 6;
            painter.drawRoundedRect(r, radius, radius);
            break;
        }
    }
}

void paintLine(QPainter& painter, const Control& c) {
    QPen pen(toQColor(c.borderColor()), std::max(1, c.borderWidth()));
    pen.setCapStyle(c.borderWidth() > 1 ? Qt::RoundCap : Qt::SquareCap);
    painter.setPen(pen);
    const bool straight = c.x1() == c.x2() || c.y1() == c.y2();
    painter.setRenderHint(QPainter::Antialiasing, !straight);
    const QPointF from(px(c.x1()), px(c.y1()));
    const QPointF to(px(c.x2()), px(c.y2()));
    // A line of no length still shows as a dot of its width (the progress marker).
    if (from == to)
        painter.drawPoint(from);
    else
        painter.drawLine(from, to);
}

Qt::Alignment alignment(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight;
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

void paintLabel(QPainter& painter, const Control& c) {
    const QRectF r = rectF(c);
    if (c.props().opaque) painter.fillRect(r, toQColor(c.backColor()));
    if (c.caption().empty()) return;
    painter.setClipRect(r);
    painter.setFont(toQFont(c.font()));
    painter.setPen(toQColor(c.foreColor()));
    painter.drawText(r, alignment(c.props().alignment) | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromStdString(c.caption()));
}

}  // namespace

void paintControl(QPainter& painter, const Control& c) {
    painter.save();
    switch (c.kind()) {
        case ControlKind::Line:
            paintLine(painter, c);
            break;
        case ControlKind::Shape:
            paintShape(painter, c);
            break;
        case ControlKind::Label:
            paintLabel(painter, c);
            break;
        default:
            break;
    }
    painter.restore();
}

Canvas::Canvas(Form& form, const Control* container, std::function<void()> afterEvent,
               QWidget* parent)
    : QWidget(parent), form_(&form), container_(container), afterEvent_(std::move(afterEvent)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::paintBackground(QPainter& painter) {
    if (container_) return paintFrame(painter);
    painter.fillRect(rect(), toQColor(form_->design().backColor));
    if (!form_->design().picture.empty())
        painter.drawPixmap(0, 0, embeddedPixmap(form_->design().picture));
}

// A frame: its background, an etched border and the caption breaking it.
void Canvas::paintFrame(QPainter& painter) {
    painter.fillRect(rect(), toQColor(container_->backColor()));
    const QFont font = toQFont(container_->font());
    const QFontMetrics metrics(font);
    const int top = metrics.height() / 2;
    const QRect border = rect().adjusted(0, top, -2, -2);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.drawRect(border);
    painter.setPen(Qt::white);
    painter.drawRect(border.translated(1, 1));
    const QString caption = QString::fromStdString(container_->caption());
    if (caption.isEmpty()) return;
    const QRect text(8, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(text, toQColor(container_->backColor()));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(text, Qt::AlignCenter, caption);
}

void Canvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter);
    for (const Control& c : form_->controls())
        if (c.container() == container_ && c.visible()) paintControl(painter, c);
}

QPointF Canvas::toWindowTwips(QPointF local) const {
    QPointF origin(0, 0);
    if (container_) origin = QPointF(container_->windowLeft(), container_->windowTop());
    return origin + local * kTwipsPerPixel;
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toWindowTwips(event->position());
    form_->mouseMove(static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (afterEvent_) afterEvent_();
}

bool Canvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPointF at = toWindowTwips(help->pos());
    const std::string tip =
        form_->toolTipAt(static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (tip.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this);
    return true;
}

}  // namespace vk41::qt
