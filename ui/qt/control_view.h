#pragma once

#include <QFont>

#include "ui/control.h"
#include "ui/qt/design_scale.h"

class QWidget;

namespace vk41::qt {

// A widget that shows one control of a window: it brings itself in line with
// the control's properties, at the window's scale (1: the design resolution),
// whenever they or the scale change.
class ControlView {
  public:
    virtual ~ControlView() = default;
    virtual void showControl(const Control& control, double scale) = 0;
};

// What every view shows alike: its place at the scale, whether it is shown
// and enabled, its tooltip, and the font it chose.
void showCommon(QWidget& widget, const Control& control, double scale, const QFont& font);

// How a view that paints itself at its design size is shown at the scale.
DesignScale designScale(const Control& control, double scale);

}  // namespace vk41::qt
