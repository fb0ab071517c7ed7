#pragma once

#include <QAbstractButton>

class QStyleOptionButton;

namespace vk41::qt {

// An option button whose caption word-wraps inside its rectangle, beside the
// round indicator, on the option's own background.
class OptionButton : public QAbstractButton {
  public:
    explicit OptionButton(QWidget* parent = nullptr);
    void setBackground(const QColor& colour);
    // Where the caption wraps: right of the indicator, to the right edge.
    QRect captionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int indicatorSize(const QStyleOptionButton& option) const;

    QColor background_;
};

}  // namespace vk41::qt
