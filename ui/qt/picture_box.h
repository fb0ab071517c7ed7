#pragma once

#include <QFrame>
#include <string>

namespace vk41::qt {

// A picture box: its stored bitmap at the top-left corner, unscaled, inside
// a sunken border.
class PictureBox : public QFrame {
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const std::string& name);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string picture_;
};

}  // namespace vk41::qt
