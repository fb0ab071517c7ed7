#pragma once

#include <QPixmap>
#include <QSize>
#include <string>

namespace vk41::qt {

// An embedded picture, decoded once; a null pixmap when there is none.
const QPixmap& embeddedPixmap(const std::string& name);

// A picture for a box of `box` pixels at the design resolution. A picture
// drawn at twice that size carries twice the detail: it is marked so, and
// covers the box, crisp on a screen of device pixel ratio 2.
const QPixmap& boxPixmap(const std::string& name, QSize box);

// The same at a window's scale for a screen of that device pixel ratio,
// smoothly resampled once per scale.
const QPixmap& scaledPixmap(const std::string& name, double scale, double ratio);

}  // namespace vk41::qt
