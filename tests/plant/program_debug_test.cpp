// Debugging as the controller's programmer does: pausing, stepping a cycle or
// an operator, breakpoints and forced terminals, with the plant standing
// still while the controller does.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "conditions/controller.h"
#include "plant/objectt.h"
#include "tools/script_driver.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

// The program as the driver starts it, running "Работа по программе".
class Debugger {
  public:
    explicit Debugger(int valve = 0) {
        run("menu Texttt Имитация");
        run("click Objectt.Radix(3)");
        for (int i = 0; i < valve; ++i) run("click Objectt.Hand_Upp");
        run("click Objectt.Vis(0)");
    }
    void run(const std::string& line) { driver.execute(line); }
    Objectt& scheme() { return driver.app().form<Objectt>("Objectt"); }
    Controller& controller() { return scheme().controller(); }
    const ControllerState& state() { return controller().state(); }
    // What the plant shows: the volume, the count and the water's surface.
    std::string plant() {
        return scheme().control("Value").caption() + " " + scheme().control("Itog").caption() +
               " " + numberToText(scheme().control("Clear_W").top());
    }

    std::ostringstream out;
    ScriptDriver driver{out};
};

TEST(Stepping, FourteenOperatorsMakeTheCycleThatOneStepMakes) {
    Debugger byCycle, byOperator;
    for (Debugger* d : {&byCycle, &byOperator}) d->run("run 3000");
    byCycle.run("step cycle");
    for (int k = 1; k <= kOperators; ++k) {
        EXPECT_EQ(byOperator.controller().nextOperator(), k == 1 ? 0 : k);
        byOperator.run("step operator");
    }
    EXPECT_EQ(byOperator.controller().nextOperator(), 0);
    EXPECT_EQ(byOperator.state(), byCycle.state());
    EXPECT_EQ(byOperator.plant(), byCycle.plant());
    EXPECT_EQ(byOperator.controller().trace(), byCycle.controller().trace());
}

TEST(Stepping, AnHourPausedChangesNothing) {
    Debugger d(5);
    d.run("run 20000");
    d.run("pause");
    const ControllerState state = d.state();
    const std::string plant = d.plant();
    d.run("run 3600000");
    EXPECT_EQ(d.state(), state);
    EXPECT_EQ(d.plant(), plant);
    EXPECT_TRUE(d.controller().paused());
}

TEST(Stepping, ACycleHalfSteppedAndContinuedEndsAsAWholeOne) {
    Debugger half, whole;
    for (Debugger* d : {&half, &whole}) d->run("run 5000");
    for (int i = 0; i < 5; ++i) half.run("step operator");
    half.run("continue");
    half.run("run 100");  // the rest of the cycle, the plant standing until it ends
    whole.run("step cycle");
    EXPECT_EQ(half.controller().nextOperator(), 0);
    EXPECT_EQ(half.state(), whole.state());
    EXPECT_EQ(half.plant(), whole.plant());
}

struct BreakCase {
    const char* name;
    const char* command;
    int nextOperator;     // where it stands after the stop
    const char* message;  // the stop's line in the trace
};

class Breakpoints : public ::testing::TestWithParam<BreakCase> {};

TEST_P(Breakpoints, StopWhereAndWhenTheySay) {
    Debugger d(5);
    d.run(GetParam().command);
    for (int n = 0; n < 6000 && !d.controller().paused(); ++n) d.run("run 100");
    ASSERT_TRUE(d.controller().paused()) << "ten minutes without a stop";
    EXPECT_EQ(d.controller().nextOperator(), GetParam().nextOperator);
    const std::string stop = d.controller().trace().back();
    EXPECT_EQ(stop.rfind(GetParam().message, 0), 0u) << stop;
    EXPECT_EQ(d.controller().stopReason(), stop);
    // Continued, it runs on until the next stop.
    const std::uint64_t cycles = d.controller().cycles();
    d.run("continue");
    d.run("run 100");
    EXPECT_GT(d.controller().cycles() + (GetParam().nextOperator ? 1 : 0), cycles);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, Breakpoints, ::testing::Values(
    //        name                  command              next  message
    BreakCase{"BeforeOperator13",   "break operator 13", 13,   "останов: перед оператором 13 (цикл 1)"},
    BreakCase{"WhenThePumpStarts",  "break output 4",    0,    "останов: выход 4 изменился 0 → 1 (цикл 1, оператор 9)"},
    BreakCase{"WhenFlag6Rises",     "break flag 6",      0,    "останов: флаг 6 изменился 0 → 1"},
    BreakCase{"AtTheUpperSwitch",   "break input 6",     0,    "останов: вход 6 изменился 0 → 1"},
    BreakCase{"AtTheManometer",     "break input 4",     0,    "останов: вход 4 изменился 0 → 1"}),
    [](const auto& c) { return std::string(c.param.name); });
// clang-format on

TEST(Forcing, TheUpperSwitchForcedOpenRunsTheTankOver) {
    Debugger d(5);
    d.run("force input 6 0");
    bool overflowed = false;
    for (int n = 0; n < 6000 && !overflowed; ++n) {
        d.run("run 100");
        overflowed = d.scheme().Overflow;
        EXPECT_FALSE(bitOf(d.state().inputs, 6)) << n;
    }
    EXPECT_TRUE(overflowed);
}

TEST(Forcing, ThePumpOutputForcedOffStopsThePumpWhateverTheProgramSays) {
    Debugger d(5);
    d.run("run 2000");
    ASSERT_TRUE(bitOf(d.state().outputs, 4)) << "the pump fills the tank";
    d.run("force output 4 0");
    const double volume = textToNumber(d.scheme().control("Value").caption());
    for (int n = 0; n < 100; ++n) {
        d.run("run 100");
        EXPECT_FALSE(bitOf(d.state().outputs, 4)) << n;
    }
    EXPECT_LT(textToNumber(d.scheme().control("Value").caption()), volume);
    // The program drives it again once the forcing ends.
    d.run("unforce");
    d.run("run 200");
    EXPECT_EQ(d.controller().forcedOutputs(), Forcing{});
}

TEST(Forcing, EndsAtRestartAndWithUnforce) {
    for (const char* end : {"click Objectt.Vis(2)", "unforce"}) {
        Debugger d;
        d.run("force input 5 0");
        d.run("force output 3 0");
        d.run("run 500");
        EXPECT_FALSE(bitOf(d.state().outputs, 3)) << end;
        d.run(end);
        EXPECT_EQ(d.controller().forcedInputs(), Forcing{}) << end;
        EXPECT_EQ(d.controller().forcedOutputs(), Forcing{}) << end;
        if (std::string(end) == "unforce") {
            d.run("run 200");
            EXPECT_TRUE(bitOf(d.state().outputs, 3)) << end;
        }
    }
}

}  // namespace
}  // namespace vk41
