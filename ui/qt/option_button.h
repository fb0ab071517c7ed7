#pragma once

#include <QAbstractButton>

#include "ui/qt/control_view.h"
#include "ui/qt/design_scale.h"

class QStyleOptionButton;

namespace vk41::qt {

// An option button whose caption word-wraps inside its rectangle, beside the
// round indicator, on the option's own background.
class OptionButton : public QAbstractButton, public ControlView {
  public:
    explicit OptionButton(QWidget* parent = nullptr);
    void showControl(const Control& control, double scale) override;
    void setBackground(const QColor& colour);
    void setScale(const DesignScale& scale);
    // Where the caption wraps, in design pixels: right of the indicator.
    QRect captionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int indicatorSize(const QStyleOptionButton& option) const;

    QColor background_;
    DesignScale scale_;
};

}  // namespace vk41::qt
