// The panel "Входы и выходы": every terminal with its wiring and its state,
// forced to 1 or 0 and released from its row in "Работа по программе", every
// forcing released at once, and nothing forced from it in the other modes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "conditions/controller.h"
#include "plant/leds.h"
#include "plant/objectt.h"
#include "plant/terminals.h"
#include "running_program.h"
#include "tools/script_driver.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

class IoPanel : public testing::RunningProgram {
  protected:
    IoPanel() { driver.app().open(kIoFrm); }

    Form& panel() { return driver.app().form(kIoFrm); }
    Control& row(const std::string& name, int k) { return panel().control(name, k); }
    void click(const std::string& name, int k = -1) {
        ASSERT_TRUE(panel().click(panel().control(name, k))) << name << "(" << k << ")";
    }
    void run(int ms) { driver.scheduler().advanceBy(ms); }
    const Controller& controller() { return scheme().controller(); }
    bool output(int k) { return bitOf(cycle().outputs, k); }
    double volume() { return textToNumber(scheme().control("Value").caption()); }
};

struct RowCase {
    const char* control;
    int k;
    const char* caption;
};

class IoPanelRows : public IoPanel, public ::testing::WithParamInterface<RowCase> {};

TEST_P(IoPanelRows, SayWhatIsWiredToEachTerminal) {
    EXPECT_EQ(row(GetParam().control, GetParam().k).caption(), GetParam().caption);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Wiring, IoPanelRows, ::testing::Values(
    //      control     k   caption
    RowCase{"In_Name",   1, "не подключён"},
    RowCase{"In_Name",   4, "контакт реле дифманометра (засорение фильтра)"},
    RowCase{"In_Name",   5, "нижний концевой выключатель"},
    RowCase{"In_Name",   6, "верхний концевой выключатель"},
    RowCase{"In_Name",  32, "не подключён"},
    RowCase{"In_No",    32, "32"},
    RowCase{"Out_Name",  3, "зелёная лампа «ШТАТНЫЙ РЕЖИМ»"},
    RowCase{"Out_Name",  4, "реле насоса"},
    RowCase{"Out_Name",  7, "не подключён"},
    RowCase{"Out_No",   32, "32"}),
    [](const auto& c) { return std::string(c.param.control) + std::to_string(c.param.k); });
// clang-format on

TEST_F(IoPanel, ShowsTheLiveStateAndTheForcedMarks) {
    run(2000);
    ASSERT_TRUE(output(4)) << "the pump fills the tank";
    EXPECT_EQ(row("Out_Led", 4).fillColor(), kLit);
    EXPECT_EQ(row("Out_Led", 5).fillColor(), kDark);
    EXPECT_EQ(row("In_Led", 5).fillColor(), bitOf(cycle().inputs, 5) ? kLit : kDark);
    EXPECT_FALSE(row("Out_F", 4).visible());
    EXPECT_FALSE(row("Out_Free", 4).enabled()) << "nothing to release";
    click("Out_Off", 4);
    EXPECT_TRUE(row("Out_F", 4).visible());
    EXPECT_TRUE(row("Out_Free", 4).enabled());
    EXPECT_EQ(row("Out_Led", 4).fillColor(), kDark) << "the forced value at once";
    EXPECT_TRUE(scheme().control("Force_Out", 4).visible()) << "and on the scheme";
    click("In_On", 4);
    EXPECT_TRUE(row("In_F", 4).visible());
    EXPECT_EQ(row("In_Led", 4).fillColor(), kLit);
    EXPECT_TRUE(scheme().control("Force_In", 4).visible());
}

TEST_F(IoPanel, ThePumpForcedOffStopsWhateverTheProgramSays) {
    run(2000);
    ASSERT_TRUE(output(4));
    click("Out_Off", 4);
    const double before = volume();
    for (int n = 0; n < 100; ++n) {
        run(100);
        ASSERT_FALSE(output(4)) << n;
    }
    EXPECT_LT(volume(), before) << "the tank drains with the pump stopped";
    click("Out_Free", 4);
    EXPECT_FALSE(row("Out_F", 4).visible());
    EXPECT_EQ(controller().forcedOutputs(), Forcing{});
}

TEST_F(IoPanel, ReleasesEveryForcingAtOnce) {
    click("In_On", 6);
    click("In_Off", 5);
    click("Out_Off", 3);
    click("Out_On", 20);
    click("Unforce_All");
    EXPECT_EQ(controller().forcedInputs(), Forcing{});
    EXPECT_EQ(controller().forcedOutputs(), Forcing{});
    for (int k : {5, 6}) {
        EXPECT_FALSE(row("In_F", k).visible()) << k;
        EXPECT_FALSE(scheme().control("Force_In", k).visible()) << k;
    }
    EXPECT_FALSE(row("Out_F", 3).visible());
    EXPECT_FALSE(row("Out_F", 20).visible());
    EXPECT_FALSE(scheme().control("Force_Out", 3).visible());
}

TEST_F(IoPanel, RestartEndsEveryForcingAndItsMarks) {
    click("In_On", 6);
    click("Out_Off", 4);
    driver.execute("click Objectt.Vis(2)");
    run(200);
    EXPECT_EQ(controller().forcedInputs(), Forcing{});
    EXPECT_EQ(controller().forcedOutputs(), Forcing{});
    EXPECT_FALSE(row("In_F", 6).visible());
    EXPECT_FALSE(row("Out_F", 4).visible());
}

TEST_F(IoPanel, ForcesAStandingControllerAndShowsItAtOnce) {
    run(2000);
    driver.execute("pause");
    click("Out_Off", 4);
    EXPECT_TRUE(row("Out_F", 4).visible());
    EXPECT_EQ(row("Out_Led", 4).fillColor(), kDark);
    EXPECT_EQ(scheme().control("Led_4").fillColor(), kDark);
    // The driver forces through the scheme too: the panel sees it on its next refresh.
    driver.execute("force input 6 1");
    run(200);
    EXPECT_TRUE(row("In_F", 6).visible());
    EXPECT_EQ(row("In_Led", 6).fillColor(), kLit);
}

TEST_F(IoPanel, TheNameSaysTheStateAndTheForcing) {
    click("Out_On", 2);
    EXPECT_EQ(panel().toolTipAt(row("Out_Name", 2).left() + 30, row("Out_Name", 2).top() + 30),
              "выход 2 (не подключён): 1 (замкнут), форсирован");
}

// Outside "Работа по программе" the panel only shows.
class IoPanelInTheDemonstration : public ::testing::Test {
  protected:
    IoPanelInTheDemonstration() {
        driver.execute("menu Texttt Имитация");
        driver.app().open(kIoFrm);
    }
    Form& panel() { return driver.app().form(kIoFrm); }

    std::ostringstream out;
    ScriptDriver driver{out};
};

TEST_F(IoPanelInTheDemonstration, DisablesForcingAndSaysWhereItWorks) {
    Form& p = panel();
    for (int k : {1, 4, 32}) {
        EXPECT_FALSE(p.control("In_On", k).enabled()) << k;
        EXPECT_FALSE(p.control("Out_Off", k).enabled()) << k;
        EXPECT_FALSE(p.click(p.control("In_On", k))) << k;
    }
    EXPECT_FALSE(p.control("Unforce_All").enabled());
    EXPECT_EQ(p.control("Mode_Lab").caption(),
              "Форсировка работает в режиме «Работа по программе»: выберите его на схеме "
              "установки.");
    EXPECT_EQ(driver.app().form<Objectt>("Objectt").controller().forcedInputs(), Forcing{});

    driver.execute("click Objectt.Radix(3)");
    driver.scheduler().advanceBy(200);
    EXPECT_TRUE(p.control("In_On", 4).enabled());
    EXPECT_TRUE(p.control("Unforce_All").enabled());
    EXPECT_NE(p.control("Mode_Lab").caption().find("«×» снимает"), std::string::npos);
}

TEST_F(IoPanelInTheDemonstration, ShowsWhatTheSchemeShows) {
    driver.execute("click Objectt.Radix(2)");
    driver.execute("click Objectt.Vis(0)");
    driver.scheduler().advanceBy(30000);
    Form& scheme = driver.app().form("Objectt");
    const std::uint32_t inputs = plantInputs(scheme);
    for (int k = 4; k <= 6; ++k)
        EXPECT_EQ(panel().control("In_Led", k).fillColor(), bitOf(inputs, k) ? kLit : kDark) << k;
    EXPECT_EQ(panel().control("Out_Led", 4).fillColor(), scheme.control("Led_4").fillColor());
}

}  // namespace
}  // namespace vk41
