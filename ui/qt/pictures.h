#pragma once

#include <QPixmap>
#include <string>

namespace vk41::qt {

// An embedded picture, decoded once; a null pixmap when there is none.
const QPixmap& embeddedPixmap(const std::string& name);

// The same at a window's scale for a screen of that device pixel ratio,
// smoothly resampled once per scale.
const QPixmap& scaledPixmap(const std::string& name, double scale, double ratio);

}  // namespace vk41::qt
