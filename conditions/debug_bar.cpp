#include "conditions/debug_bar.h"

#include "conditions/controller.h"
#include "modbus/controller_image.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

enum Button { kPause, kCycle, kOperator, kRun, kButtons };

std::string cycleText(std::uint64_t cycle) {
    return "цикл " + std::to_string(cycle);
}

}  // namespace

std::string debugState(const Controller& c) {
    if (!c.stopReason().empty()) return c.stopReason();
    if (!c.paused()) return "работает: " + cycleText(c.cycles());
    if (c.nextOperator() == 0)
        return "пауза между циклами (после цикла " + std::to_string(c.cycles()) + ")";
    return "пауза перед оператором " + std::to_string(c.nextOperator()) + " (" +
           cycleText(c.cycles() + 1) + ")";
}

BreakMark operatorBreak(const Controller& c, int k) {
    for (const Breakpoint& b : c.breakpoints())
        if (b.what == Watch::Operator && b.number == k)
            return b.enabled ? BreakMark::On : BreakMark::Off;
    return BreakMark::None;
}

void toggleOperatorBreak(App& app, int k) {
    Controller& c = app.form<Objectt>(kObjectt).controller();
    if (operatorBreak(c, k) == BreakMark::None)
        c.setBreakpoint({Watch::Operator, k, true});
    else
        c.removeBreakpoint(Watch::Operator, k);
    DebuggingForm::showDebuggingEverywhere(app);
}

int operatorAboutToRun(App& app) {
    const Objectt* scheme = programRun(app);
    return scheme && scheme->controller().paused() ? scheme->controller().nextOperator() : 0;
}

DebuggingForm::DebuggingForm(App& app, const FormDesign& design) : Form(app, design) {
    onClick("Dbg", [this](int button) {
        constexpr Action kActions[kButtons] = {Action::Pause, Action::Cycle, Action::Operator,
                                               Action::Run};
        if (button >= 0 && button < kButtons) debug(kActions[button]);
    });
    onMenu("Dbg_Pause", [this] { debug(Action::PauseOrRun); });
    onMenu("Dbg_Cycle", [this] { debug(Action::Cycle); });
    onMenu("Dbg_Operator", [this] { debug(Action::Operator); });
    onMenu("Dbg_Window", [this] { this->app().open(kDebugFrm); });
    onMenu("Dbg_Io", [this] { this->app().open(kIoFrm); });
    onMenu("Dbg_Trend", [this] { this->app().open(kTrendFrm); });
}

// Outside "Работа по программе" the actions do nothing: the toolbar says why.
void DebuggingForm::debug(Action action) {
    Objectt* scheme = programRun(app());
    if (!scheme) return;
    Controller& c = scheme->controller();
    if (action == Action::PauseOrRun) action = c.paused() ? Action::Run : Action::Pause;
    switch (action) {
        case Action::Pause:
            c.pause();
            break;
        case Action::Cycle:
            scheme->stepCycle();
            break;
        case Action::Operator:
            scheme->stepOperator();
            break;
        case Action::Run:
            c.resume();
            break;
        case Action::PauseOrRun:
            break;
    }
    showDebuggingEverywhere(app());
}

// The windows redraw on their timers too; an action shows in all at once.
void DebuggingForm::showDebuggingEverywhere(App& app) {
    for (const char* name : {kUslEdit, kBlUsl, kDebugFrm})
        if (auto* window = dynamic_cast<DebuggingForm*>(app.existing(name));
            window && window->loaded())
            window->showDebugging();
}

void DebuggingForm::showDebugging() {
    if (showDebugBar()) showStepping();
}

bool DebuggingForm::showDebugBar() {
    const Objectt* scheme = programRun(app());
    const std::uint64_t revision = scheme ? scheme->controller().revision() : 0;
    if (revision == shown_ && (scheme != nullptr) == shownMode_) return false;
    shown_ = revision;
    shownMode_ = scheme != nullptr;
    const bool paused = scheme && scheme->controller().paused();
    control("Dbg", kPause).setEnabled(scheme && !paused);
    control("Dbg", kCycle).setEnabled(scheme != nullptr);
    control("Dbg", kOperator).setEnabled(scheme != nullptr);
    control("Dbg", kRun).setEnabled(paused);
    control("Dbg_State")
        .setCaption(scheme ? debugState(scheme->controller())
                           : "Отладка — в режиме «Работа по программе»");
    return true;
}

}  // namespace vk41
