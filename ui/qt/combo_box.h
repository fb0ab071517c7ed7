#pragma once

#include <QComboBox>

#include "ui/qt/control_view.h"

namespace vk41::qt {

// An editable combo box: what is typed stays as typed, neither completed
// from the list nor added to it. Its edit field and button are laid out at
// its design size, scaled (see ComboStyle).
class ComboBox : public QComboBox, public ControlView {
  public:
    explicit ComboBox(QWidget* parent = nullptr);
    void showControl(const Control& control, double scale) override;

  private:
    void showMark(const Control& control);
};

}  // namespace vk41::qt
