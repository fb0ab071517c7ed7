#pragma once

#include <QPixmap>
#include <QPushButton>

#include "ui/qt/control_view.h"
#include "ui/qt/design_scale.h"

namespace vk41::qt {

// A command button; one with a picture shows it centred above its caption,
// as a graphical button does, instead of beside it. It paints at its design
// size, scaled to its window's.
class CommandButton : public QPushButton, public ControlView {
  public:
    explicit CommandButton(QWidget* parent = nullptr);
    void showControl(const Control& control, double scale) override;
    void setPicture(const QPixmap& picture);
    void setScale(const DesignScale& scale);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    DesignScale scale_;
};

}  // namespace vk41::qt
