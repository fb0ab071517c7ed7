#pragma once

#include <QPlainTextEdit>

#include "ui/qt/control_view.h"

namespace vk41::qt {

// A multi-line text box the user reads but does not edit, with the scroll
// bars its design asks for; without a horizontal one its lines wrap.
class TextBox : public QPlainTextEdit, public ControlView {
  public:
    explicit TextBox(QWidget* parent = nullptr);
    void showControl(const Control& control, double scale) override;
};

}  // namespace vk41::qt
