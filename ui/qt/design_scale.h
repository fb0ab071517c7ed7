#pragma once

#include <QPainter>
#include <QRect>

namespace vk41::qt {

// A widget that paints itself at its design size and is shown at its
// window's scale: the painter is scaled, so lines, pictures and the
// wrapping of captions keep their design proportions at every size, and
// text is laid out once and drawn at the real size, not stretched.
struct DesignScale {
    double factor{1.0};
    QSize size;  // pixels at the design resolution

    // After this the widget paints in design pixels.
    void apply(QPainter& painter) const {
        if (factor == 1.0) return;
        painter.scale(factor, factor);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    QRect rect() const { return QRect(QPoint(0, 0), size); }
    // A point of the widget in design pixels.
    QPointF toDesign(QPointF local) const { return local / factor; }
};

}  // namespace vk41::qt
