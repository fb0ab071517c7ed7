#pragma once

#include <cstdint>
#include <string>

#include "ui/form.h"

namespace vk41 {

struct ControllerImage;

// The controller's conditions-block program: the operator table (the
// window's picture), the flag and activity markers beside it, the operator
// comments under the mouse, and the introduction to the table's notation.
class BlUsl : public Form {
  public:
    explicit BlUsl(App& app);

    static const FormDesign& layout();

    // The comment shown for the mouse zone `Lab`(index); empty for the
    // zones around the table.
    static const std::string& comment(int index);

    // Ticks since the window was loaded; stops counting at 231, when the
    // introduction and the hint are over for good.
    std::int16_t Intro_Ticks{0};

  protected:
    void onLoad() override;

  private:
    void tick();
    void Lab_MouseMove(int index);
    void showSituation();
    void clearMarkers();
    void showMarkers(const ControllerImage& image);
};

}  // namespace vk41
