// The windows that read the plant (the conditions block and the Modbus
// window) over whole demonstrations: what they show must be what the scheme
// shows at that instant.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plant/leds.h"
#include "plant/objectt.h"
#include "tools/script_driver.h"
#include "ui/numbers.h"
#include "ui/value.h"

namespace vk41 {
namespace {

class PlantReaders : public ::testing::Test {
  protected:
    PlantReaders() {
        for (const char* line :
             {"menu Texttt Имитация", "menu Objectt Блок Условий", "menu Objectt ModBus",
              "menu Objectt Блок Условий", "click ModB_Frm.Branch(0)"})
            driver.execute(line);
    }

    Form& window(const char* name) { return driver.app().form(name); }
    Objectt& scheme() { return driver.app().form<Objectt>("Objectt"); }
    Control& modbus(const char* name, int index = -1) {
        return window("ModB_Frm").control(name, index);
    }
    bool lit(const char* led) { return scheme().control(led).fillColor() == kLit; }
    std::string status() { return modbus("Status_Lab").caption(); }
    void step() { driver.scheduler().advanceBy(100); }
    // The exchange cycle ticks every 300 ms from its window's creation at 0.
    bool exchangeTicked() { return driver.scheduler().now() % 300 == 0; }
    bool restarted() { return scheme().control("Itog").caption() == "0"; }

    std::vector<std::string> answerData(int bytes) {
        std::vector<std::string> data;
        for (int i = 0; i < bytes; ++i) data.push_back(modbus("Aa", 3 + i).caption());
        return data;
    }
    std::set<int> shown(const char* marker) {
        std::set<int> ops;
        for (int op : {1, 2, 3, 5, 6, 8, 9, 11, 12, 13})
            if (window("Bl_Usl").control(marker, op - 1).visible()) ops.insert(op);
        return ops;
    }

    // Runs until the alarm has set in, then checks every reader on every tick
    // up to the restart. Returns how many ticks were checked.
    int checkAccidentUntilRestart() {
        while (!lit("Led_5")) {
            step();
            if (driver.scheduler().now() > 400000) return 0;
        }
        int checked = 0;
        for (step(); !restarted(); step(), ++checked) {
            const std::int64_t at = driver.scheduler().now();
            EXPECT_EQ(status(), "3") << "at " << at << " ms";
            EXPECT_EQ(shown("Flag"), (std::set<int>{8, 11})) << "at " << at << " ms";
            EXPECT_EQ(shown("Usl"), (std::set<int>{1, 2, 5, 8, 9, 11, 12, 13})) << "at " << at;
            if (exchangeTicked()) {
                EXPECT_EQ(answerData(4), (std::vector<std::string>{"128", "4", "0", "0"}))
                    << "at " << at << " ms";
            }
            if (::testing::Test::HasFailure()) break;
        }
        return checked;
    }

    std::ostringstream out;
    ScriptDriver driver{out};
};

TEST_F(PlantReaders, SeeTheAccidentThroughoutAFullDemonstration) {
    driver.execute("click Objectt.Radix(0)");
    driver.execute("click Objectt.Vis(0)");
    // The tank drains for a while and then stays dry until the restart.
    EXPECT_GT(checkAccidentUntilRestart(), 100);
    EXPECT_TRUE(scheme().Tank_Dry || restarted());
}

TEST_F(PlantReaders, SeeTheAccidentInTheDemonstrationMode) {
    driver.execute("click Objectt.Radix(2)");
    driver.execute("click Objectt.Vis(0)");
    EXPECT_GT(checkAccidentUntilRestart(), 100);
}

TEST_F(PlantReaders, SeeTheAccidentAfterAStopAndRunDuringIt) {
    driver.execute("click Objectt.Radix(2)");
    driver.execute("click Objectt.Vis(0)");
    while (!lit("Led_5")) step();
    for (int i = 0; i < 7; ++i) step();
    driver.execute("click Objectt.Vis(1)");
    driver.execute("run 1250");  // off the timers' phase
    driver.execute("click Objectt.Vis(0)");
    EXPECT_GT(checkAccidentUntilRestart(), 100);
}

// The controller's terminals, judged from the scheme as a person sees it:
// an output is on while its LED is lit, and an input (the manometer's relay,
// a limit switch) is closed while its common contact touches the
// normally-open one.
std::uint32_t expectedInputs(Objectt& s) {
    const auto touches = [&](const char* common, float tip) {
        return std::fabs(s.control(common).y1() - tip) <= 15;
    };
    std::uint32_t bits = 0;
    if (touches("Kont_F_Com", s.control("Kont_F_NO").y2())) bits |= 1u << 3;
    if (touches("Swich2_Com", s.control("Swich2_NO").y2())) bits |= 1u << 4;
    if (touches("Swich1_Com", s.control("Swich1_NO").y1())) bits |= 1u << 5;
    return bits;
}

std::uint32_t expectedOutputs(Objectt& s) {
    std::uint32_t bits = 0;
    for (int k = 3; k <= 6; ++k)
        if (s.control("Led_" + std::to_string(k)).fillColor() == kLit) bits |= 1u << (k - 1);
    return bits;
}

struct TerminalCase {
    const char* name;
    int kind;           // 2 inputs, 3 outputs
    const char* start;  // first address
    int shift;          // items skipped by the first address
};

class Terminals : public PlantReaders, public ::testing::WithParamInterface<TerminalCase> {};

TEST_P(Terminals, AnswerWhatTheSchemeShowsAtEveryExchange) {
    const TerminalCase& t = GetParam();
    Form& modb = window("ModB_Frm");
    modb.click(modbus("Count_Length", t.kind));
    modb.typeText(modbus("Комбо1", t.kind == 2 ? 10 : 7), t.start);
    modb.typeText(modbus("Комбо1", t.kind == 2 ? 11 : 8), "16");
    driver.execute("click Objectt.Radix(0)");
    driver.execute("click Objectt.Vis(0)");
    std::uint32_t everSet = 0, everClear = 0;
    int exchanges = 0;
    for (int tick = 0; tick < 2700; ++tick) {
        step();
        if (!exchangeTicked()) continue;
        const std::uint32_t plant =
            t.kind == 2 ? expectedInputs(scheme()) : expectedOutputs(scheme());
        const std::uint32_t items = plant >> t.shift;
        EXPECT_EQ(answerData(2), (std::vector<std::string>{numberToText(items & 0xFF),
                                                           numberToText(items >> 8 & 0xFF)}))
            << "at " << driver.scheduler().now() << " ms";
        everSet |= plant;
        everClear |= ~plant;
        ++exchanges;
        if (HasFailure()) break;
    }
    // Every wired terminal was seen both ways in the run.
    const std::uint32_t wired = t.kind == 2 ? 0b111000 : 0b111100;
    EXPECT_EQ(everSet & wired, wired);
    EXPECT_EQ(everClear & wired, wired);
    EXPECT_GT(exchanges, 800);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Demonstration, Terminals, ::testing::Values(
    TerminalCase{"Inputs",          2, "10000", 0},
    TerminalCase{"InputsFrom10003", 2, "10003", 3},
    TerminalCase{"Outputs",         3, "00",    0},
    TerminalCase{"OutputsFrom02",   3, "02",    2}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

// The limit switches as the controller's program relies on them: the pump
// starts with the lower switch closed and stops with the upper one closed.
TEST_F(PlantReaders, TheSwitchesAreClosedWhereThePumpStartsAndStops) {
    driver.execute("click Objectt.Radix(0)");
    driver.execute("click Objectt.Vis(0)");
    int starts = 0, stops = 0;
    bool wasOn = false;
    std::uint32_t before = 0;
    for (int tick = 0; tick < 2700; ++tick) {
        step();
        const bool on = asBool(scheme().Pump_On);
        const bool accident = lit("Led_5");
        if (on && !wasOn) {
            EXPECT_TRUE(before & 1u << 4) << "start at " << driver.scheduler().now();
            ++starts;
        }
        if (!on && wasOn && !accident && !restarted()) {
            EXPECT_TRUE(before & 1u << 5) << "stop at " << driver.scheduler().now();
            ++stops;
        }
        wasOn = on;
        before = expectedInputs(scheme());
    }
    EXPECT_GE(starts, 2);
    EXPECT_GE(stops, 2);
}

}  // namespace
}  // namespace vk41
