#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "ui/form.h"
#include "ui/qt/control_view.h"
#include "ui/qt/design_scale.h"

namespace vk41::qt {

// Paints the lightweight controls (lines, shapes, labels) of one container,
// the window itself or a frame, in the design's drawing order, and passes
// the mouse to the model: moves and presses to the control under it,
// tooltips from it.
// A frame's canvas also draws the frame's own border and caption.
// It keeps what it drew, at the screen's pixels: a repaint the model did not
// ask for (the window uncovered, a tooltip gone) copies it back, and a change
// redraws only the places `redraw` names.
class Canvas : public QWidget, public ControlView {
  public:
    Canvas(Form& form, const Control* container, std::function<void()> afterEvent,
           QWidget* parent = nullptr);
    // A frame's canvas shows the frame, redrawn whole: its caption, colour
    // or font may have changed.
    void showControl(const Control& frame, double scale) override;
    // Paints at the design size, shown at `scale.factor` of it.
    void setScale(const DesignScale& scale);
    double scale() const { return scale_.factor; }
    // The controls in `region` (this widget's pixels) have changed.
    void redraw(const QRegion& region);
    void redrawAll();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void paintDrawing(QPainter& painter, const QRegion& region);
    void paintBackground(QPainter& painter, const QRect& place);
    void paintFrame(QPainter& painter);
    QPointF toWindowTwips(QPointF local) const;

    Form* form_;
    const Control* container_;
    std::function<void()> afterEvent_;
    DesignScale scale_;
    QImage drawing_;  // device pixels, at the ratio of the screen it was drawn for
    QRegion stale_;   // where the drawing no longer shows the model
};

// Draws one lightweight control at `scale` painter pixels to a design pixel;
// the painter's origin is its container's.
void paintControl(QPainter& painter, const Control& control, double scale = 1.0);

// Lines, shapes and labels: drawn by their container's canvas, not widgets.
bool isLightweight(const Control& control);

// Where a lightweight control draws on its container, with room for its pen.
QRect paintBounds(const Control& control);

}  // namespace vk41::qt
