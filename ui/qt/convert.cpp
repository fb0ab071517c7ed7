#include "ui/qt/convert.h"

#include <QStringList>

namespace vk41::qt {

QFont toQFont(const Font& font) {
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
    f.setBold(font.bold);
    return f;
}

}  // namespace vk41::qt
