// "Работа по программе": the plant runs on the outputs of the controller's
// program, ten simulated minutes at a time, for the factory program and for
// programs that do something else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conditions/controller.h"
#include "conditions/notation.h"
#include "plant/leds.h"
#include "plant/terminals.h"
#include "scheme_fixture.h"
#include "ui/numbers.h"

namespace vk41::testing {
namespace {

namespace t = terminal;

constexpr int kTenMinutes = 6000;  // process ticks of 100 ms
constexpr int kProgramMode = 3;
constexpr int kDemonstration = 2;

bool on(std::uint32_t bits, int k) {
    return bitOf(bits, k);
}

class ProgramRun : public SchemeTest {
  protected:
    // Chooses a mode, opens the valve to `valve` and presses RUN.
    void start(int mode, int valve) {
        scheme().click(c("Radix", mode));
        for (int i = 0; i < valve; ++i) scheme().Hand_Upp_Click();
        scheme().click(c("Vis", 0));
    }
    void tick() { driver.scheduler().advanceBy(100); }

    const ControllerState& cycle() { return scheme().controller().state(); }
    double volume() { return textToNumber(c("Value").caption()); }
    double count() { return textToNumber(c("Itog").caption()); }
    bool pumping() { return asBool(scheme().Pump_On); }
};

// The factory program over ten minutes, with the valve at one position.
class FactoryProgram : public ProgramRun, public ::testing::WithParamInterface<int> {};

TEST_P(FactoryProgram, RunsThePlantAsItsTableSays) {
    start(kProgramMode, GetParam());
    std::uint32_t before = cycle().outputs;
    bool accident = false;
    int starts = 0;
    for (int n = 1; n <= kTenMinutes; ++n) {
        tick();
        const ControllerState& now = cycle();
        const std::string at = "tick " + std::to_string(n) + ", volume " + numberToText(volume()) +
                               ", count " + numberToText(count());
        const bool pump = on(now.outputs, t::kPumpRelay);
        if (pump && !on(before, t::kPumpRelay)) {
            EXPECT_TRUE(on(now.inputs, t::kLowerSwitch))
                << "the pump starts off the lower switch, " << at;
            ++starts;
        }
        if (!pump && on(before, t::kPumpRelay) && !on(now.outputs, t::kAccident)) {
            EXPECT_TRUE(on(now.inputs, t::kUpperSwitch))
                << "the pump stops off the upper switch, " << at;
        }
        EXPECT_FALSE(scheme().Overflow) << at;
        EXPECT_EQ(on(now.outputs, t::kUvLampRelay), pump) << "the UV lamp follows the pump, " << at;
        EXPECT_EQ(c("Led_4").fillColor() == kLit, pump) << at;
        if (count() >= kAccidentCount) accident = true;
        EXPECT_EQ(on(now.outputs, t::kAccident), accident) << "the accident, " << at;
        // Operator 1 reads output 5 before operator 3 sets it: the green lamp
        // goes out one cycle after the red one comes on.
        EXPECT_EQ(on(now.outputs, t::kGreenLamp), !on(before, t::kAccident))
            << "the green lamp, " << at;
        if (accident) {
            EXPECT_FALSE(pump || on(now.outputs, t::kUvLampRelay)) << at;
        }
        before = now.outputs;
    }
    EXPECT_GE(starts, 1);
    // Only a restart clears the accident; the program stays loaded and chosen.
    if (accident) {
        scheme().click(c("Vis", 2));
        EXPECT_TRUE(scheme().programMode());
        EXPECT_EQ(cycle(), ControllerState{});
        scheme().click(c("Vis", 0));
        tick();
        EXPECT_FALSE(on(cycle().outputs, t::kAccident));
        EXPECT_TRUE(on(cycle().outputs, t::kGreenLamp));
    }
}

INSTANTIATE_TEST_SUITE_P(ValveAt, FactoryProgram, ::testing::Values(0, 1, 5, 10),
                         [](const auto& valve) { return std::to_string(valve.param); });

// Each pump start and stop the controller commands, at the tank's volume,
// before the accident; and the count at which the accident came.
struct Course {
    std::vector<double> switches;
    double accidentCount{-1};
};

class LockStep : public ProgramRun {
  protected:
    // Whether the controller commands the pump: the demonstration switches
    // it within the process tick, the program at the end of the tick.
    bool commanded(int mode) {
        return mode == kProgramMode ? on(cycle().outputs, t::kPumpRelay) : pumping();
    }

    // Runs a mode up to the demonstration's restart. Recording, it notes the
    // process ticks at which the demonstration moves the valve; otherwise it
    // moves it at those ticks.
    Course run(int mode, std::vector<int>& valveTicks, bool record) {
        start(mode, 0);
        Course course;
        bool pump = commanded(mode);
        double valve = scheme().Valve_Pos;
        for (int n = 1; n <= 2150; ++n) {
            if (!record)
                for (int at : valveTicks)
                    if (at == n) scheme().Hand_Upp_Click();
            tick();
            if (record && scheme().Valve_Pos != valve) valveTicks.push_back(n + 1);
            valve = scheme().Valve_Pos;
            if (course.accidentCount < 0 && c("Led_5").fillColor() == kLit)
                course.accidentCount = count();
            if (commanded(mode) != pump && course.accidentCount < 0)
                course.switches.push_back(volume());
            pump = commanded(mode);
        }
        return course;
    }
};

// The demonstration compares the volume with 0 and 1075; the switches close
// within one pixel (15 twips, 15 units) of their contacts.
TEST_F(LockStep, ThePumpSwitchesAtTheVolumesTheDemonstrationSwitchesIt) {
    std::vector<int> valveTicks;
    const Course demo = run(kDemonstration, valveTicks, true);
    scheme().click(c("Vis", 1));
    scheme().click(c("Vis", 2));
    const Course program = run(kProgramMode, valveTicks, false);
    ASSERT_EQ(valveTicks.size(), 10u) << "the demonstration opens the valve all the way";
    ASSERT_GE(demo.switches.size(), 6u);
    ASSERT_EQ(program.switches.size(), demo.switches.size());
    for (std::size_t i = 0; i < demo.switches.size(); ++i)
        EXPECT_NEAR(program.switches[i], demo.switches[i], 15) << "switch " << i + 1;
    EXPECT_EQ(demo.accidentCount, kAccidentCount);
    EXPECT_EQ(program.accidentCount, kAccidentCount);
}

// The factory program with operator k's row written anew, in the notation:
// kind, operand 1, operand 2, output, IF, ELSE, depends on.
Program withRow(Program program, int k, const std::vector<std::string>& cells) {
    Operator& op = program.at(k);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto column = static_cast<notation::Column>(i + 1);
        const auto why = notation::readCell(op, column, cells[i]);
        EXPECT_FALSE(why) << "operator " << k << ", «" << cells[i] << "»: " << why.value_or("");
    }
    return program;
}

const std::vector<std::string> kEmptyRow = {"Нет", "-", "-", "-", "-", "-", "-"};

TEST_F(ProgramRun, APumpNeverStoppedRunsTheTankOver) {
    // Operator 6 checks the upper switch but sets no output.
    scheme().controller().load(withRow(
        factoryProgram(), 6, {"если О1 Равен О2", "Self / 6", "1", "нет", "-", "-", "У/Ф N5"}));
    start(kProgramMode, 5);
    const float rim = c("Capacitor").top();
    bool overflowed = false;
    for (int n = 1; n <= 400 && !overflowed; ++n) {
        tick();
        EXPECT_GE(c("Clear_W").top(), rim) << "tick " << n;
        overflowed = scheme().Overflow;
    }
    ASSERT_TRUE(overflowed);
    const double full = volume();
    tick();
    EXPECT_EQ(volume(), full) << "the level rises no further";
    EXPECT_EQ(c("Clear_W").top(), rim);
    EXPECT_TRUE(c("Overflow_Lab").visible());
    EXPECT_EQ(c("Overflow_Lab").caption(), "ПЕРЕЛИВ");
    EXPECT_EQ(c("Overflow_Lab").foreColor(), rgb(0xFF0000));
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(c("Spill", i).visible()) << i;
    EXPECT_TRUE(on(cycle().inputs, t::kUpperSwitch)) << "the lever holds the upper switch";
    // A restart takes the water back; the learner's program stays loaded.
    scheme().click(c("Vis", 2));
    EXPECT_FALSE(c("Overflow_Lab").visible());
    EXPECT_EQ(scheme().controller().program().at(6).output, 0);
}

TEST_F(ProgramRun, WithoutOperators11And12ThePumpRunsInTheAccident) {
    scheme().controller().load(withRow(withRow(factoryProgram(), 11, kEmptyRow), 12, kEmptyRow));
    start(kProgramMode, 5);
    int pumpingInAccident = 0;
    for (int n = 1; n <= kTenMinutes; ++n) {
        tick();
        if (on(cycle().outputs, t::kAccident) && on(cycle().outputs, t::kPumpRelay))
            ++pumpingInAccident;
    }
    EXPECT_GT(pumpingInAccident, 0);
}

TEST_F(ProgramRun, AnAlarmOnTheFlowCounterTripsAtItsOwnCount) {
    // Operator 3 raises the accident when counter 8 / 1 passes 30.
    scheme().controller().load(
        withRow(factoryProgram(), 3,
                {"если О1 Больше О2", "8 / 1", "30", "self / D5", "1 р3", "0 р3", "У/Ф N2"}));
    start(kProgramMode, 5);
    double trippedAt = -1;
    for (int n = 1; n <= kTenMinutes && trippedAt < 0; ++n) {
        tick();
        if (on(cycle().outputs, t::kAccident)) trippedAt = count();
    }
    EXPECT_EQ(trippedAt, 31);
    EXPECT_EQ(cycle().counters[0], 31u);
}

}  // namespace
}  // namespace vk41::testing
