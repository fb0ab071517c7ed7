#pragma once

#include <QWidget>
#include <functional>

#include "ui/form.h"
#include "ui/qt/design_scale.h"

namespace vk41::qt {

// Paints the lightweight controls (lines, shapes, labels) of one container,
// the window itself or a frame, in the design's drawing order, and passes
// the mouse to the model: moves and presses to the control under it,
// tooltips from it.
// A frame's canvas also draws the frame's own border and caption.
class Canvas : public QWidget {
  public:
    Canvas(Form& form, const Control* container, std::function<void()> afterEvent,
           QWidget* parent = nullptr);
    // Paints at the design size, shown at `scale.factor` of it.
    void setScale(const DesignScale& scale);
    double scale() const { return scale_.factor; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void paintBackground(QPainter& painter);
    void paintFrame(QPainter& painter);
    QPointF toWindowTwips(QPointF local) const;

    Form* form_;
    const Control* container_;
    std::function<void()> afterEvent_;
    DesignScale scale_;
};

// Draws one lightweight control at `scale` painter pixels to a design pixel;
// the painter's origin is its container's.
void paintControl(QPainter& painter, const Control& control, double scale = 1.0);

// Lines, shapes and labels: drawn by their container's canvas, not widgets.
bool isLightweight(const Control& control);

// Where a lightweight control draws on its container, with room for its pen.
QRect paintBounds(const Control& control);

}  // namespace vk41::qt
