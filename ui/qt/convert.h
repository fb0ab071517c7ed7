#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>
#include <string>

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

inline QString toQString(const std::string& text) {
    return QString::fromStdString(text);
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
// The same at a window's scale: 1 is the design resolution.
inline QRect rect(const Control& c, double scale) {
    if (scale == 1.0) return rect(c);
    return QRect(pxRound(c.left() * scale), pxRound(c.top() * scale), pxRound(c.width() * scale),
                 pxRound(c.height() * scale));
}
inline QSize pxSize(float width, float height, double scale = 1.0) {
    return QSize(pxRound(width * scale), pxRound(height * scale));
}
// Where a rectangle drawn at the design resolution lands at a scale, its
// edges rounded outwards so that a repaint covers every pixel it touches.
QRect scaledOut(const QRect& r, double scale);

// The design's fonts, "MS Sans Serif" and "Arial", shown in Liberation Sans
// (metric-compatible with Arial), else DejaVu Sans; the size in points at
// 96 dpi, whatever the screen's logical dpi.
QFont toQFont(const Font& font);
// The same font for a native widget of a window at a scale: its pixel size
// scaled, fractions kept, on a device of that logical dpi.
QFont toQFont(const Font& font, double scale, double logicalDpi);

}  // namespace vk41::qt
