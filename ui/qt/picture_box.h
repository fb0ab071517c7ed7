#pragma once

#include <QFrame>
#include <string>

#include "ui/qt/control_view.h"
#include "ui/qt/design_scale.h"

namespace vk41::qt {

// A picture box: its stored bitmap at the top-left corner, at its window's
// scale, inside a sunken border.
class PictureBox : public QFrame, public ControlView {
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    void showControl(const Control& control, double scale) override;
    void setPicture(const std::string& name);
    void setScale(const DesignScale& scale);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string picture_;
    DesignScale scale_;
};

}  // namespace vk41::qt
