// Debugging the controller's program from its windows, as a learner does:
// the stepping toolbar of the editor, the conditions block and the
// debugging window, the operator about to run highlighted in the editor and
// framed in the conditions block, breakpoints set by a click on an
// operator's number and listed, switched and removed in the debugging
// window, and the trace of the last cycles there.
#include <gtest/gtest.h>

#include <string>

#include "conditions/controller.h"
#include "conditions/debug_bar.h"
#include "conditions/debug_frm.h"
#include "plant/objectt.h"
#include "running_program.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

enum Button { kPause, kCycle, kOperator, kRun };

class DebuggingWindows : public testing::RunningProgram {
  protected:
    DebuggingWindows() {
        driver.execute("run 1000");
        driver.execute("menu Bl_Usl Редактировать программу…");
        driver.execute("menu Usl_Edit Трасса и точки останова…");
    }

    Form& window(const char* name) { return driver.app().form(name); }
    Control& in(const char* w, const char* control, int index = -1) {
        return window(w).control(control, index);
    }
    bool press(const char* w, int button) { return window(w).click(in(w, "Dbg", button)); }
    // The timers of the windows redraw them, as they do on the screen.
    void settle() { driver.execute("run 300"); }
    Controller& controller() { return scheme().controller(); }

    // Whether each of the three windows shows the toolbar's button enabled.
    void expectEnabled(int button, bool enabled) {
        for (const char* w : {kUslEdit, kBlUsl, kDebugFrm})
            EXPECT_EQ(in(w, "Dbg", button).enabled(), enabled) << w << " Dbg(" << button << ")";
    }
    // Operator k highlighted in the editor and framed in the conditions
    // block; 0 for none.
    void expectAboutToRun(int k) {
        for (int row = 1; row <= kOperators; ++row)
            EXPECT_EQ(in(kUslEdit, "Row_No", row - 1).backColor() == kNextColour, row == k) << row;
        EXPECT_EQ(in(kBlUsl, "Dbg_Box", 0).visible(), k != 0);
        if (k != 0) {
            EXPECT_EQ(in(kBlUsl, "Dbg_Box", 0).y1(), in(kBlUsl, "Tab_Line", k).y1());
            EXPECT_EQ(in(kBlUsl, "Dbg_Box", 1).y1(), in(kBlUsl, "Tab_Line", k + 1).y1());
        }
    }
};

TEST_F(DebuggingWindows, TheToolbarPausesStepsAndRunsTheOneControllerFromEveryWindow) {
    expectEnabled(kPause, true);
    expectEnabled(kRun, false);
    EXPECT_TRUE(press(kBlUsl, kPause));
    settle();
    EXPECT_TRUE(controller().paused());
    expectEnabled(kPause, false);
    expectEnabled(kRun, true);
    EXPECT_EQ(in(kUslEdit, "Dbg_State").caption().rfind("пауза между циклами", 0), 0u)
        << in(kUslEdit, "Dbg_State").caption();

    // Operators stepped from one window show in all three at once.
    press(kUslEdit, kOperator);
    press(kDebugFrm, kOperator);
    EXPECT_EQ(controller().nextOperator(), 3);
    expectAboutToRun(3);
    EXPECT_EQ(in(kDebugFrm, "Dbg_State").caption(),
              "пауза перед оператором 3 (цикл " + std::to_string(controller().cycles() + 1) + ")");
    const std::uint64_t cycles = controller().cycles();
    press(kBlUsl, kCycle);
    EXPECT_EQ(controller().cycles(), cycles + 1);
    expectAboutToRun(0);

    press(kUslEdit, kRun);
    settle();
    EXPECT_FALSE(controller().paused());
    EXPECT_GT(controller().cycles(), cycles + 1);
}

TEST_F(DebuggingWindows, TheMenuKeysPauseAndGoOnAndStep) {
    for (const char* w : {kUslEdit, kBlUsl, kDebugFrm}) {
        SCOPED_TRACE(w);
        ASSERT_TRUE(window(w).chooseMenu("Пауза / продолжить"));
        EXPECT_TRUE(controller().paused());
        ASSERT_TRUE(window(w).chooseMenu("Шаг: один оператор"));
        EXPECT_EQ(controller().nextOperator(), 2);
        ASSERT_TRUE(window(w).chooseMenu("Шаг: один цикл"));
        EXPECT_EQ(controller().nextOperator(), 0);
        ASSERT_TRUE(window(w).chooseMenu("Пауза / продолжить"));
        EXPECT_FALSE(controller().paused());
    }
    for (const auto& item : window(kUslEdit).design().menu) {
        const std::string expected = item.name == "Dbg_Pause"      ? "F6"
                                     : item.name == "Dbg_Cycle"    ? "F10"
                                     : item.name == "Dbg_Operator" ? "F11"
                                                                   : item.key;
        EXPECT_EQ(item.key, expected) << item.name;
    }
}

TEST_F(DebuggingWindows, OutsideProgramModeTheToolbarSaysWhereItWorks) {
    driver.execute("click Objectt.Vis(1)");
    driver.execute("click Objectt.Radix(1)");
    settle();
    for (int button = kPause; button <= kRun; ++button) expectEnabled(button, false);
    EXPECT_EQ(in(kBlUsl, "Dbg_State").caption(), "Отладка — в режиме «Работа по программе»");
    EXPECT_FALSE(press(kUslEdit, kCycle));
    EXPECT_FALSE(controller().paused());
}

TEST_F(DebuggingWindows, AClickOnAnOperatorsNumberSetsABreakpointThatStopsBeforeIt) {
    EXPECT_TRUE(window(kUslEdit).click(in(kUslEdit, "Row_No", 5)));
    settle();
    EXPECT_EQ(in(kUslEdit, "Row_No", 5).caption(), "●6");
    EXPECT_TRUE(in(kBlUsl, "Brk_Mark", 5).visible());
    EXPECT_FALSE(in(kBlUsl, "Brk_Mark", 4).visible());
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 0).caption(), "Остановиться перед оператором 6");
    EXPECT_FALSE(in(kDebugFrm, "Brk_Row", 1).visible());

    settle();
    EXPECT_TRUE(controller().paused());
    EXPECT_EQ(controller().nextOperator(), 6);
    expectAboutToRun(6);
    EXPECT_EQ(in(kBlUsl, "Dbg_State").caption(), controller().stopReason());

    // The conditions block's number takes it away again: the controller runs on.
    const Control& number = in(kBlUsl, "Num", 5);
    EXPECT_TRUE(window(kBlUsl).clickAt(number.left() + 30, number.top() + 30));
    press(kDebugFrm, kRun);
    settle();
    EXPECT_FALSE(controller().paused());
    EXPECT_EQ(in(kUslEdit, "Row_No", 5).caption(), "6");
    EXPECT_FALSE(in(kBlUsl, "Brk_Mark", 5).visible());
    EXPECT_FALSE(in(kDebugFrm, "Brk_Row", 0).visible());
}

TEST_F(DebuggingWindows, TheDebuggingWindowSetsSwitchesAndRemovesBreakpoints) {
    Form& debug = window(kDebugFrm);
    debug.pickItem(in(kDebugFrm, "Brk_Kind"), "Остановиться, когда изменится выход");
    debug.typeText(in(kDebugFrm, "Brk_No"), "4");
    debug.click(in(kDebugFrm, "Brk_Add"));
    debug.pickItem(in(kDebugFrm, "Brk_Kind"), "Остановиться перед оператором");
    debug.typeText(in(kDebugFrm, "Brk_No"), "9");
    debug.click(in(kDebugFrm, "Brk_Add"));
    ASSERT_EQ(controller().breakpoints().size(), 2u);
    EXPECT_EQ(controller().breakpoints()[0], (Breakpoint{Watch::Output, 4, true}));
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 0).caption(), "Остановиться, когда изменится выход 4");
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 1).caption(), "Остановиться перед оператором 9");

    // Switched off, a breakpoint stays listed and marked, hollow, and stops nothing.
    debug.click(in(kDebugFrm, "Brk_On", 1));
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 1).caption(), "Остановиться перед оператором 9 (выключена)");
    EXPECT_EQ(in(kDebugFrm, "Brk_On", 1).caption(), "Включить");
    settle();
    EXPECT_EQ(in(kUslEdit, "Row_No", 8).caption(), "○9");
    EXPECT_TRUE(in(kBlUsl, "Brk_Mark", 8).visible());
    EXPECT_EQ(in(kBlUsl, "Brk_Mark", 8).fillColor(), kWhite);
    debug.click(in(kDebugFrm, "Brk_Del", 0));
    settle();
    EXPECT_FALSE(controller().paused());
    ASSERT_EQ(controller().breakpoints().size(), 1u);
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 0).caption(), "Остановиться перед оператором 9 (выключена)");

    debug.click(in(kDebugFrm, "Brk_On", 0));
    settle();
    EXPECT_TRUE(controller().paused());
    EXPECT_EQ(controller().nextOperator(), 9);
}

TEST_F(DebuggingWindows, BreakpointsPastTheListedSixAreCounted) {
    for (int k = 1; k <= 8; ++k) controller().setBreakpoint({Watch::Input, k, true});
    settle();
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 5).caption(), "Остановиться, когда изменится вход 6");
    EXPECT_EQ(in(kDebugFrm, "Brk_Lab").caption(),
              "Точки останова (ещё 2 не показаны: снимите показанные, чтобы их увидеть)");
    window(kDebugFrm).click(in(kDebugFrm, "Brk_Del", 0));
    window(kDebugFrm).click(in(kDebugFrm, "Brk_Del", 0));
    EXPECT_EQ(in(kDebugFrm, "Brk_Lab").caption(), "Точки останова");
    EXPECT_EQ(in(kDebugFrm, "Brk_Row", 5).caption(), "Остановиться, когда изменится вход 8");
}

TEST_F(DebuggingWindows, ABreakpointOutOfRangeIsRefusedInWords) {
    Form& debug = window(kDebugFrm);
    const struct {
        const char* kind;
        const char* number;
        const char* said;
    } cases[] = {
        {"Остановиться перед оператором", "15", "Номер оператора — от 1 до 14."},
        {"Остановиться перед оператором", "два", "Номер оператора — от 1 до 14."},
        {"Остановиться, когда изменится вход", "33", "Номер входа — от 1 до 32."},
        {"Остановиться, когда изменится флаг", "0",
         "Флаги есть у операторов 1–14: номер флага — от 1 до 14."},
    };
    for (const auto& c : cases) {
        debug.pickItem(in(kDebugFrm, "Brk_Kind"), c.kind);
        debug.typeText(in(kDebugFrm, "Brk_No"), c.number);
        debug.click(in(kDebugFrm, "Brk_Add"));
        EXPECT_EQ(in(kDebugFrm, "Brk_Message").caption(), c.said) << c.kind << " " << c.number;
    }
    debug.typeText(in(kDebugFrm, "Brk_Kind"), "когда-нибудь");
    debug.click(in(kDebugFrm, "Brk_Add"));
    EXPECT_EQ(in(kDebugFrm, "Brk_Message").caption(), "Выберите вид точки останова из списка.");
    EXPECT_TRUE(controller().breakpoints().empty());
}

TEST_F(DebuggingWindows, TheTracePanelShowsTheLastCyclesNewestLastWithTheStop) {
    driver.execute("run 12000");
    driver.execute("break output 4");
    driver.execute("run 60000");
    ASSERT_TRUE(controller().paused());
    settle();
    const std::string trace = in(kDebugFrm, "Trace_List").text();
    const std::string last = "цикл " + std::to_string(controller().cycles()) + ":\n";
    ASSERT_NE(trace.find(last), std::string::npos);
    EXPECT_EQ(trace.substr(trace.size() - controller().stopReason().size() - 1),
              controller().stopReason() + "\n");
    // At most the last hundred cycles, one heading each.
    std::size_t headings = 0;
    for (std::size_t at = trace.find("цикл "); at != std::string::npos;
         at = trace.find("цикл ", at + 1))
        if (at == 0 || trace[at - 1] == '\n') ++headings;
    EXPECT_EQ(headings, Controller::kTracedCycles);

    window(kDebugFrm).click(in(kDebugFrm, "Trace_Clear"));
    EXPECT_EQ(in(kDebugFrm, "Trace_List").text(),
              "Трасса пуста: контроллер ещё не выполнил ни одного цикла.");
    // A step shows at once what it did.
    press(kDebugFrm, kOperator);
    EXPECT_EQ(in(kDebugFrm, "Trace_List").text(), "цикл " +
                                                      std::to_string(controller().cycles() + 1) +
                                                      ":\n  " + controller().trace()[0] + "\n");
}

}  // namespace
}  // namespace vk41
