#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QRectF>

#include "ui/control.h"

namespace vk41::qt {

// Twips to device-independent pixels at the design resolution.
constexpr double kTwipsPerPixel = 15.0;
inline double px(double twips) {
    return twips / kTwipsPerPixel;
}
inline int pxRound(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QColor toQColor(Colour c) {
    return QColor(c.red(), c.green(), c.blue());
}

// A control's rectangle relative to its container, in pixels.
inline QRectF rectF(const Control& c) {
    return QRectF(px(c.left()), px(c.top()), px(c.width()), px(c.height()));
}
inline QRect rect(const Control& c) {
    return QRect(pxRound(c.left()), pxRound(c.top()), pxRound(c.width()), pxRound(c.height()));
}

// The design's fonts, "MS Sans Serif" and "Arial", shown in Liberation Sans
// (metric-compatible with Arial), else DejaVu Sans; the size in points at
// 96 dpi, whatever the screen's logical dpi.
QFont toQFont(const Font& font);

}  // namespace vk41::qt
