#include "ui/qt/convert.h"

#include <QStringList>

namespace vk41::qt {

// "MS Sans Serif", the system font the windows were laid out in, is as tall
// as Arial but narrower: Liberation Sans drawn at nine tenths of its width
// keeps the captions inside the places the design made for them.
constexpr int kSystemFontStretch = 90;

namespace {

int designPixelSize(const Font& font) {
    return std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0)));
}

}  // namespace

QFont toQFont(const Font& font) {
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(designPixelSize(font));
    f.setBold(font.bold);
    if (font.name == "MS Sans Serif") f.setStretch(kSystemFontStretch);
    return f;
}

QFont toQFont(const Font& font, double scale, double logicalDpi) {
    QFont f = toQFont(font);
    if (scale == 1.0 || logicalDpi <= 0) return f;
    // Pixel sizes are whole; a point size carries the fraction.
    f.setPointSizeF(designPixelSize(font) * scale * 72.0 / logicalDpi);
    return f;
}

QRect scaledOut(const QRect& r, double scale) {
    if (scale == 1.0) return r;
    return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale)
        .toAlignedRect();
}

}  // namespace vk41::qt
