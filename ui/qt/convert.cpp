#include "ui/qt/convert.h"

#include <QStringList>

namespace vk41::qt {

// "MS Sans Serif", the system font the windows were laid out in, is as tall
// as Arial but narrower: Liberation Sans drawn at nine tenths of its width
// keeps the captions inside the places the design made for them.
constexpr int kSystemFontStretch = 90;

QFont toQFont(const Font& font) {
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
    f.setBold(font.bold);
    if (font.name == "MS Sans Serif") f.setStretch(kSystemFontStretch);
    return f;
}

}  // namespace vk41::qt
