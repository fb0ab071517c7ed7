#pragma once

#include <cstdint>
#include <string>

#include "conditions/debug_bar.h"
#include "conditions/program.h"

namespace vk41 {

struct ControllerImage;

// The controller's conditions-block program: the operator table (the
// window's picture for the factory program, drawn from the program for any
// other), the flag and activity markers beside it, the operator comments
// under the mouse, the introduction to the table's notation, and the menu
// that opens the program's editor; the stepping toolbar, the frame round the
// operator about to run and the marks of breakpoints, set by a click on an
// operator's number.
class BlUsl : public DebuggingForm {
  public:
    explicit BlUsl(App& app);

    static const FormDesign& layout();

    // The comment shown for the mouse zone `Lab`(index) while `program` is
    // loaded; empty for the zones around the table.
    static const std::string& comment(int index, const Program& program = factoryProgram());

    // Ticks since the window was loaded; stops counting at 231, when the
    // introduction and the hint are over for good.
    std::int16_t Intro_Ticks{0};

  protected:
    void onLoad() override;
    void showStepping() override;

  private:
    void tick();
    void Lab_MouseMove(int index);
    void showProgram();
    void showSituation();
    void clearMarkers();
    void showMarkers(const ControllerImage& image);
    void frameRow(int k);
};

}  // namespace vk41
