#include "ui/qt/canvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <QTextOption>
#include <QToolTip>
#include <type_traits>
#include <unordered_map>

#include "ui/qt/convert.h"
#include "ui/qt/pictures.h"

namespace vk41::qt {
namespace {

// A square or circle stands centred in its rectangle with the shorter side.
QRectF squared(QRectF r) {
    const double side = std::min(r.width(), r.height());
    return QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
}

// Device pixels to a logical pixel where the painter draws. A widget painted
// into an image of its own (a snapshot, a benchmark frame) reports the
// screen's ratio, not the image's; the painter's transform knows both.
double deviceRatio(const QPainter& painter) {
    return painter.deviceTransform().m11();
}

// From here on the painter's coordinates are device pixels; the ratio it had.
double toDevicePixels(QPainter& painter) {
    const double ratio = deviceRatio(painter);
    if (ratio != 1.0) painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    return ratio;
}

// Qt hands a fill or a copy of more than about 100 000 pixels to a pool of
// threads. On a machine of two cores waking them costs more than the work
// itself, so a large area goes in bands of rows that stay on this thread.
constexpr double kBandPixels = 65536;

// Calls `draw` with consecutive bands of rows of `area`, in device pixels.
template <typename Draw>
void inBands(const QRectF& area, Draw&& draw) {
    const double rows = std::max(1.0, std::floor(kBandPixels / std::max(1.0, area.width())));
    for (double top = area.top(); top < area.bottom(); top += rows)
        draw(QRectF(area.left(), top, area.width(), std::min(rows, area.bottom() - top)));
}

void fillInBands(QPainter& painter, const QRectF& area, const QColor& color) {
    inBands(area, [&](const QRectF& band) { painter.fillRect(band, color); });
}

// The part `source` of a picture of device pixels, set at `at` (device
// pixels, whole).
template <typename Picture>
void blitInBands(QPainter& painter, QPointF at, const Picture& picture, const QRectF& source) {
    inBands(source, [&](const QRectF& band) {
        const QRectF target(at + band.topLeft() - source.topLeft(), band.size());
        if constexpr (std::is_same_v<Picture, QImage>)
            painter.drawImage(target, picture, band);
        else
            painter.drawPixmap(target, picture, band);
    });
}

QRectF scaledF(const QRectF& r, double scale) {
    return QRectF(r.topLeft() * scale, r.size() * scale);
}

// A shape in its rectangle of the painter's pixels, its outline `scale`
// times as wide as the design's, one pixel at least.
void drawShapeAt(QPainter& painter, const Props& p, QRectF r, double scale = 1.0) {
    const double width = scale == 1.0 ? p.borderWidth : std::max(1.0, p.borderWidth * scale);
    // The outline lies inside the rectangle, as the classic shapes draw it.
    const double inset = p.bordered ? width / 2.0 : 0.0;
    r.adjust(inset, inset, -inset, -inset);
    painter.setPen(p.bordered ? QPen(toQColor(p.borderColor), width) : QPen(Qt::NoPen));
    painter.setBrush(p.filled ? QBrush(toQColor(p.fillColor)) : QBrush(Qt::NoBrush));
    switch (p.shape) {
        case ShapeKind::Rectangle:
        case ShapeKind::Square:
            painter.setRenderHint(QPainter::Antialiasing, false);
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

// Curved shapes cost many polygon points each; the scheme has dozens that
// look alike (screw heads, LEDs, blades), so each look is drawn once into a
// picture of its own and copied from then on.
struct SpriteKey {
    ShapeKind shape;
    double width, height, scale;
    std::uint32_t fill, border;  // 0xFF000000 when not drawn
    int borderWidth;
    bool operator==(const SpriteKey&) const = default;
};

struct SpriteKeyHash {
    std::size_t operator()(const SpriteKey& k) const {
        std::size_t h = std::hash<double>{}(k.width) * 31 + std::hash<double>{}(k.height);
        h = h * 31 + std::hash<double>{}(k.scale);
        h = h * 31 + (static_cast<std::size_t>(k.fill) << 1) + k.border;
        return h * 31 + static_cast<std::size_t>(k.borderWidth) * 7 +
               static_cast<std::size_t>(k.shape);
    }
};

// Device pixels of the largest shape kept as a sprite: more than any at the
// design size, less than the controllers' bodies at twice it.
constexpr double kLargestSprite = 150000;

// A shape of `size` design pixels drawn at `scale` device pixels to one.
const QPixmap& shapeSprite(const Props& p, QSizeF size, double scale) {
    static std::unordered_map<SpriteKey, QPixmap, SpriteKeyHash> sprites;
    constexpr std::uint32_t kNone = 0xFF000000;
    const SpriteKey key{p.shape,
                        size.width(),
                        size.height(),
                        scale,
                        p.filled ? p.fillColor.rgb : kNone,
                        p.bordered ? p.borderColor.rgb : kNone,
                        p.borderWidth};
    if (const auto it = sprites.find(key); it != sprites.end()) return it->second;
    if (sprites.size() > 1024) sprites.clear();  // shapes that change size without end
    QPixmap sprite((size * scale).toSize() + QSize(1, 1));
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    if (scale != 1.0) painter.scale(scale, scale);
    drawShapeAt(painter, p, QRectF(QPointF(0, 0), size));
    return sprites.emplace(key, sprite).first->second;
}

void paintShape(QPainter& painter, const Control& c, double scale) {
    const Props& p = c.props();
    QRectF r = rectF(c);
    const bool square = p.shape == ShapeKind::Square || p.shape == ShapeKind::Circle ||
                        p.shape == ShapeKind::RoundedSquare;
    if (square) r = squared(r);
    if (p.shape == ShapeKind::Rectangle || p.shape == ShapeKind::Square)
        return drawShapeAt(painter, p, scaledF(r, scale), scale);
    // Drawn for the scale in force and set on whole device pixels, so that it
    // is copied, never stretched. A body as large as a controller's is plain
    // fill inside, cheaper to draw than to copy at a large scale.
    if (r.width() * r.height() * scale * scale > kLargestSprite)
        return drawShapeAt(painter, p, scaledF(r, scale), scale);
    const QPointF at(std::round(r.left() * scale), std::round(r.top() * scale));
    const QPixmap& sprite = shapeSprite(p, r.size(), scale);
    blitInBands(painter, at, sprite, QRectF(sprite.rect()));
}

void paintLine(QPainter& painter, const Control& c, double scale) {
    // A width in design pixels; at a small scale still one pixel at least.
    QPen pen(toQColor(c.borderColor()), std::max(1.0, std::max(1, c.borderWidth()) * scale));
    pen.setCapStyle(c.borderWidth() > 1 ? Qt::RoundCap : Qt::SquareCap);
    painter.setPen(pen);
    const bool straight = c.x1() == c.x2() || c.y1() == c.y2();
    painter.setRenderHint(QPainter::Antialiasing, !straight);
    const QPointF from(px(c.x1()) * scale, px(c.y1()) * scale);
    const QPointF to(px(c.x2()) * scale, px(c.y2()) * scale);
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

// Laying out word-wrapped text is the dearest part of a frame, and captions
// rarely change: each caption's layout is kept until its text, font or
// width changes.
// Lines break where they break at the design size; the glyphs are laid out
// for the scale the window is drawn at.
const QStaticText& captionLayout(const Control& c, const QFont& font, double scale) {
    struct Entry {
        std::string caption;
        Font font;
        float width;
        Align align;
        double scale;
        QStaticText text;
    };
    static std::unordered_map<const Control*, Entry> layouts;
    Entry& e = layouts[&c];
    if (e.caption == c.caption() && e.font == c.font() && e.width == c.width() &&
        e.align == c.props().alignment && e.scale == scale && !e.text.text().isEmpty())
        return e.text;
    e = Entry{c.caption(),         c.font(), c.width(),
              c.props().alignment, scale,    QStaticText(QString::fromStdString(c.caption()))};
    e.text.setTextWidth(px(c.width()));
    QTextOption option(alignment(c.props().alignment));
    option.setWrapMode(QTextOption::WordWrap);
    e.text.setTextOption(option);
    e.text.setTextFormat(Qt::PlainText);
    e.text.prepare(QTransform::fromScale(scale, scale), font);
    return e.text;
}

void paintLabel(QPainter& painter, const Control& c, double scale) {
    const QRectF r = rectF(c);
    if (c.props().opaque) fillInBands(painter, scaledF(r, scale), toQColor(c.backColor()));
    if (c.caption().empty()) return;
    const QFont font = toQFont(c.font());
    const QStaticText& text = captionLayout(c, font, scale);
    const bool overflows = text.size().height() > r.height() || text.size().width() > r.width();
    // The text is laid out at the design size and drawn at the scale.
    const QTransform devicePixels = painter.worldTransform();
    if (scale != 1.0) painter.setWorldTransform(QTransform::fromScale(scale, scale) * devicePixels);
    // Text past the label is cut at its edges, within the place repainted.
    if (overflows) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    painter.setFont(font);
    painter.setPen(toQColor(c.foreColor()));
    painter.drawStaticText(r.topLeft(), text);
    if (overflows) painter.restore();
    if (scale != 1.0) painter.setWorldTransform(devicePixels);
}

}  // namespace

void paintControl(QPainter& painter, const Control& c, double scale) {
    switch (c.kind()) {
        case ControlKind::Line:
            paintLine(painter, c, scale);
            break;
        case ControlKind::Shape:
            paintShape(painter, c, scale);
            break;
        case ControlKind::Label:
            paintLabel(painter, c, scale);
            break;
        default:
            break;
    }
}

bool isLightweight(const Control& c) {
    return c.kind() == ControlKind::Line || c.kind() == ControlKind::Shape ||
           c.kind() == ControlKind::Label;
}

QRect paintBounds(const Control& c) {
    if (c.kind() == ControlKind::Line) {
        const double pen = c.borderWidth() / 2.0 + 2;
        return QRectF(QPointF(px(c.x1()), px(c.y1())), QPointF(px(c.x2()), px(c.y2())))
            .normalized()
            .adjusted(-pen, -pen, pen, pen)
            .toAlignedRect();
    }
    const double pen = c.kind() == ControlKind::Shape ? c.borderWidth() + 1.0 : 1.0;
    return rectF(c).adjusted(-pen, -pen, pen, pen).toAlignedRect();
}

Canvas::Canvas(Form& form, const Control* container, std::function<void()> afterEvent,
               QWidget* parent)
    : QWidget(parent), form_(&form), container_(container), afterEvent_(std::move(afterEvent)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::showControl(const Control& frame, double scale) {
    showCommon(*this, frame, scale, toQFont(frame.font()));
    setScale(designScale(frame, scale));
    redrawAll();
}

void Canvas::setScale(const DesignScale& scale) {
    if (scale_.factor == scale.factor && scale_.size == scale.size) return;
    scale_ = scale;
    redrawAll();
}

void Canvas::redraw(const QRegion& region) {
    stale_ += region;
    update(region);
}

void Canvas::redrawAll() {
    stale_ = rect();
    update();
}

void Canvas::paintBackground(QPainter& painter, const QRect& place) {
    const Colour back = container_ ? container_->backColor() : form_->design().backColor;
    painter.save();
    const double ratio = toDevicePixels(painter);
    // Every device pixel the place touches, a fractional ratio's edges included.
    fillInBands(painter, scaledF(place & rect(), ratio).toAlignedRect(), toQColor(back));
    painter.restore();
    if (container_) {
        // A frame's border and caption: simply at the design size, scaled.
        painter.save();
        scale_.apply(painter);
        paintFrame(painter);
        painter.restore();
        return;
    }
    if (const std::string& picture = form_->design().picture; !picture.empty())
        painter.drawPixmap(0, 0, scaledPixmap(picture, scale_.factor, deviceRatio(painter)));
}

// A frame: an etched border and the caption breaking it, on its background.
void Canvas::paintFrame(QPainter& painter) {
    const QFont font = toQFont(container_->font());
    const QFontMetrics metrics(font);
    const int top = metrics.height() / 2;
    const QRect border = scale_.rect().adjusted(0, top, -2, -2);
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

// Device pixels of the largest drawing kept: the scheme at twice its size,
// or on a screen of ratio 2. A zoom past that draws straight to the screen.
constexpr qint64 kMostKeptPixels = 8'000'000;

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double ratio = deviceRatio(painter);
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (qint64{pixels.width()} * pixels.height() > kMostKeptPixels) {
        drawing_ = QImage();
        return paintDrawing(painter, event->region());
    }
    if (drawing_.size() != pixels || drawing_.devicePixelRatio() != ratio) {
        drawing_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        drawing_.setDevicePixelRatio(ratio);
        drawing_.fill(Qt::transparent);
        stale_ = rect();
    }
    if (!stale_.isEmpty()) {
        QPainter onDrawing(&drawing_);
        paintDrawing(onDrawing, stale_);
        stale_ = QRegion();
    }
    // Copied pixel for pixel: the painter works in device pixels meanwhile.
    toDevicePixels(painter);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& place : event->region()) {
        const QRectF source = scaledF(place, ratio).toAlignedRect() & drawing_.rect();
        blitInBands(painter, source.topLeft(), drawing_, source);
    }
}

void Canvas::paintDrawing(QPainter& painter, const QRegion& region) {
    painter.setClipRegion(region);
    paintBackground(painter, region.boundingRect());
    // The controls are drawn in device pixels, each scaling its own geometry:
    // on them rectangles, lines and sprites take the painter's fast paths,
    // where a scaled painter (a HiDPI screen's included) fills every shape
    // as a path.
    const double toDevice = scale_.factor * toDevicePixels(painter);
    // Most repaints cover a few small places: controls elsewhere are skipped.
    for (const Control& c : form_->controls()) {
        if (c.container() != container_ || !c.visible() || !isLightweight(c)) continue;
        if (region.intersects(scaledOut(paintBounds(c), scale_.factor)))
            paintControl(painter, c, toDevice);
    }
}

QPointF Canvas::toWindowTwips(QPointF local) const {
    QPointF origin(0, 0);
    if (container_) origin = QPointF(container_->windowLeft(), container_->windowTop());
    return origin + scale_.toDesign(local) * kTwipsPerPixel;
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toWindowTwips(event->position());
    form_->mouseMove(static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (afterEvent_) afterEvent_();
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPointF at = toWindowTwips(event->position());
    if (form_->clickAt(static_cast<float>(at.x()), static_cast<float>(at.y())) && afterEvent_)
        afterEvent_();
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
