// Forcing on the scheme: a click on a limit switch or the manometer's contact
// forces its input against what the contact shows and releases it again, the
// "F" marks follow every forcing at once, and a restart ends them all.
#include <gtest/gtest.h>

#include <string>

#include "conditions/controller.h"
#include "plant/leds.h"
#include "scheme_fixture.h"

namespace vk41 {
namespace {

class ForcingOnTheScheme : public testing::SchemeTest {
  protected:
    // "Работа по программе" running, the draw-off valve open `valve` steps.
    void startProgram(int valve = 0) {
        run("click Objectt.Radix(3)\n");
        for (int i = 0; i < valve; ++i) run("click Objectt.Hand_Upp\n");
        run("click Objectt.Vis(0)\n");
    }
    // A person's click at the centre of the zone over input k's contact.
    bool clickContact(int k) {
        const Control& zone = c("Force_Zone", k);
        return scheme().clickAt(zone.left() + zone.width() / 2, zone.top() + zone.height() / 2);
    }
    std::string tipOfContact(int k) {
        const Control& zone = c("Force_Zone", k);
        return scheme().toolTipAt(zone.left() + zone.width() / 2, zone.top() + zone.height() / 2);
    }
    const Forcing& inputs() { return scheme().controller().forcedInputs(); }
    const Forcing& outputs() { return scheme().controller().forcedOutputs(); }
    bool input(int k) { return bitOf(scheme().controller().state().inputs, k); }
};

TEST_F(ForcingOnTheScheme, TheUpperSwitchClickedOpenWhileClosedRunsTheTankOver) {
    startProgram(2);
    for (int n = 0; n < 6000 && !input(6); ++n) run("run 100\n");
    ASSERT_TRUE(input(6)) << "the tank fills up to the upper switch";
    ASSERT_TRUE(clickContact(6));
    EXPECT_EQ(inputs(), (Forcing{0b100000, 0}));
    EXPECT_TRUE(c("Force_In", 6).visible());
    bool overflowed = false;
    for (int n = 0; n < 6000 && !overflowed; ++n) {
        run("run 100\n");
        overflowed = scheme().Overflow;
        ASSERT_FALSE(input(6)) << n;
    }
    EXPECT_TRUE(overflowed) << "the program never sees the tank full";
}

TEST_F(ForcingOnTheScheme, ASecondClickReleasesTheContact) {
    startProgram();
    run("run 300\n");
    ASSERT_FALSE(input(6)) << "the tank is empty, the upper switch open";
    ASSERT_TRUE(clickContact(6));
    EXPECT_EQ(inputs(), (Forcing{0b100000, 0b100000}));
    run("run 300\n");
    EXPECT_TRUE(input(6));
    ASSERT_TRUE(clickContact(6));
    EXPECT_EQ(inputs().mask, 0u);
    EXPECT_FALSE(c("Force_In", 6).visible());
    run("run 300\n");
    EXPECT_FALSE(input(6)) << "the input follows the switch again";
}

TEST_F(ForcingOnTheScheme, AClickOutsideProgramModeForcesNothing) {
    run("click Objectt.Vis(0)\nrun 300\n");
    for (int k = 4; k <= 6; ++k) {
        clickContact(k);
        EXPECT_TRUE(tipOfContact(k).ends_with(
            "В режиме «Работа по программе» щелчок форсирует вход " + std::to_string(k) + "."))
            << tipOfContact(k);
    }
    EXPECT_EQ(inputs(), Forcing{});
    EXPECT_FALSE(c("Force_In", 6).visible());
}

struct ContactCase {
    const char* name;
    int input;
    const char* device;  // the device's own hint, first
    const char* click;   // then what a click does as the plant starts
};

class ContactTips : public ForcingOnTheScheme, public ::testing::WithParamInterface<ContactCase> {};

TEST_P(ContactTips, SayWhatAClickDoesNow) {
    const ContactCase& row = GetParam();
    startProgram();
    run("run 300\n");
    EXPECT_EQ(tipOfContact(row.input), std::string(row.device) + "\n" + row.click);
    clickContact(row.input);
    EXPECT_TRUE(tipOfContact(row.input).ends_with("; щелчок снимает форсировку."))
        << tipOfContact(row.input);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Contacts, ContactTips, ::testing::Values(
    //          name            input  device                                                                click
    ContactCase{"Manometer",    4,     "Манометр разности давлений с релейным выходом. Порог срабатывания "
                                       "реле определяется положением оранжевой стрелки",                    "Щелчок форсирует вход 4 в 1 (замкнут)."},
    ContactCase{"LowerSwitch",  5,     "Концевой выключатель ХХХ  нижнего уровня наполнения резервуара",     "Щелчок форсирует вход 5 в 1 (замкнут)."},
    ContactCase{"UpperSwitch",  6,     "Концевой выключатель ХХХ верхнего уровня наполнения резервуара",     "Щелчок форсирует вход 6 в 1 (замкнут)."}),
    [](const auto& c) { return std::string(c.param.name); });
// clang-format on

TEST_F(ForcingOnTheScheme, MarksFollowTheDriverAtOnceWhileTheControllerStands) {
    startProgram();
    run("run 2000\npause\n");
    ASSERT_EQ(c("Led_4").fillColor(), kLit) << "the pump runs";
    run("force output 4 0\nforce input 4 1\n");
    EXPECT_TRUE(c("Force_Out", 4).visible());
    EXPECT_TRUE(c("Force_In", 4).visible());
    EXPECT_EQ(c("Led_4").fillColor(), kDark) << "the forced output shows its value";
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(c("Force_Out", k).visible(), k == 4) << k;
    run("unforce\n");
    EXPECT_FALSE(c("Force_Out", 4).visible());
    EXPECT_FALSE(c("Force_In", 4).visible());
}

TEST_F(ForcingOnTheScheme, RestartEndsEveryForcingAndItsMarks) {
    startProgram();
    run("run 500\nforce output 3 0\nforce input 5 0\n");
    clickContact(6);
    run("click Objectt.Vis(2)\n");
    EXPECT_EQ(inputs(), Forcing{});
    EXPECT_EQ(outputs(), Forcing{});
    for (int k = 4; k <= 6; ++k) EXPECT_FALSE(c("Force_In", k).visible()) << k;
    EXPECT_FALSE(c("Force_Out", 3).visible());
    EXPECT_TRUE(scheme().programMode());
}

}  // namespace
}  // namespace vk41
