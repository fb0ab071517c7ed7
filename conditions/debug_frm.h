#pragma once

#include <cstdint>
#include <string>

#include "conditions/debug_bar.h"

namespace vk41 {

// "Отладка программы": the stepping toolbar, the trace of the controller's
// last cycles, newest last, with the reason of each stop, and its
// breakpoints: set by kind and number, the first six listed, each with a
// switch and a removal.
class DebugFrm : public DebuggingForm {
  public:
    explicit DebugFrm(App& app);

    static const FormDesign& layout();

    // Breakpoints listed with their own row; more are counted under them.
    static constexpr int kListedBreakpoints = 6;

  protected:
    void onLoad() override;
    void showStepping() override;

  private:
    void tick();
    void showTrace();
    void showBreakpoints();
    void addBreakpoint();
    void switchBreakpoint(int row);
    void removeBreakpoint(int row);
    Controller& controller();

    int ticksSinceTrace_{0};
    std::uint64_t traceShown_{~std::uint64_t{0}};
};

}  // namespace vk41
