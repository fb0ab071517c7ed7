#pragma once

#include <QAbstractButton>

namespace vk41::qt {

// An option button whose caption word-wraps inside its rectangle, beside the
// round indicator, on the option's own background.
class OptionButton : public QAbstractButton {
  public:
    explicit OptionButton(QWidget* parent = nullptr);
    void setBackground(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor background_;
};

}  // namespace vk41::qt
