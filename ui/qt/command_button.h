#pragma once

#include <QPixmap>
#include <QPushButton>

namespace vk41::qt {

// A command button; one with a picture shows it centred above its caption,
// as a graphical button does, instead of beside it.
class CommandButton : public QPushButton {
  public:
    explicit CommandButton(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace vk41::qt
