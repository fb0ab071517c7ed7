#pragma once

#include <cstdint>
#include <string>

#include "ui/form.h"

namespace vk41 {

class Controller;

// Where the controller stands, in words: "работает: цикл 812", "пауза перед
// оператором 6 (цикл 813)", or the reason it stopped at a breakpoint.
std::string debugState(const Controller& controller);

// The operator about to run is highlighted in this colour, and the marks of
// breakpoints drawn in that one, in every window that shows the program.
inline constexpr Colour kNextColour = rgb(0xFFFF00);
inline constexpr Colour kBreakColour = rgb(0xC00000);

// How operator k's row marks a breakpoint before it: none, one that stops
// the controller, or one switched off.
enum class BreakMark { None, On, Off };
BreakMark operatorBreak(const Controller& controller, int k);
// A click on operator k's number sets a breakpoint before it, or takes it away.
void toggleOperatorBreak(App& app, int k);
// The operator about to run while the controller stands in its cycle; 0
// while it runs or stands between cycles.
int operatorAboutToRun(App& app);

// A window that shows the stepping toolbar of the controller's program: the
// buttons Dbg(0) "Пауза", Dbg(1) "Цикл", Dbg(2) "Оператор", Dbg(3) "Пуск",
// the label Dbg_State saying where the controller stands, and the menu
// "Отладка" with the same actions on F6 (pause or go on), F10 (a cycle) and
// F11 (an operator) and the debugging windows. The program's editor, the
// conditions block and the debugging window are such windows, and all of
// them drive the scheme's one controller; stepping works in "Работа по
// программе" only.
class DebuggingForm : public Form {
  public:
    DebuggingForm(App& app, const FormDesign& design);

    enum class Action { Pause, Cycle, Operator, Run, PauseOrRun };
    void debug(Action action);

    // Every debugging window that is loaded shows where the controller stands.
    static void showDebuggingEverywhere(App& app);

  protected:
    // Shows the toolbar as the controller stands, and the window's own marks
    // with it, when either changed since the last call: windows call it from
    // their timers, and the toolbar's actions after they acted.
    void showDebugging();
    // Makes the next showDebugging redraw, as after a load.
    void forgetDebugging() { shown_ = ~std::uint64_t{0}; }
    // The window's own marks of the controller's stepping.
    virtual void showStepping() {}

  private:
    bool showDebugBar();

    std::uint64_t shown_{~std::uint64_t{0}};  // the controller revision shown
    bool shownMode_{false};
};

}  // namespace vk41
