#include <gtest/gtest.h>

#include "scheme_fixture.h"

namespace vk41 {
namespace {

class RunControls : public testing::SchemeTest {
  protected:
    void click(const char* name, int index = -1) { scheme().click(c(name, index)); }
    bool enabled(const char* name, int index = -1) { return c(name, index).enabled(); }
    bool modesEnabled() {
        return enabled("Radix", 0) && enabled("Radix", 1) && enabled("Radix", 2);
    }
    bool modesDisabled() {
        return !enabled("Radix", 0) && !enabled("Radix", 1) && !enabled("Radix", 2);
    }
};

TEST_F(RunControls, RunInDemonstrationModeStartsAtForty) {
    click("Radix", 2);
    click("Vis", 0);
    EXPECT_EQ(c("Time").caption(), "40");
    EXPECT_FALSE(enabled("Часы1"));
    EXPECT_TRUE(enabled("Часы2"));
    EXPECT_FALSE(enabled("Vis", 0));
    EXPECT_TRUE(enabled("Vis", 1));
    EXPECT_TRUE(enabled("Vis", 2));
    EXPECT_TRUE(modesDisabled());
    EXPECT_EQ(c("Форма28", 1).fillColor(), rgb(0x80FF80));
    EXPECT_EQ(c("Форма26").borderColor(), rgb(0x00C000));
}

TEST_F(RunControls, RunInTheOtherModesStartsAtZero) {
    for (int mode : {0, 1}) {
        driver.app().restart("Objectt");
        click("Radix", mode);
        click("Vis", 0);
        EXPECT_EQ(c("Time").caption(), "0") << mode;
        EXPECT_FALSE(scheme().Process_On);
    }
}

TEST_F(RunControls, StopThenRunKeepsTheTimeAndResumesPastFortyOne) {
    click("Vis", 0);
    c("Time").setCaption("35");
    click("Vis", 1);
    EXPECT_TRUE(enabled("Vis", 0));
    EXPECT_FALSE(enabled("Vis", 1));
    EXPECT_TRUE(enabled("Vis", 2));
    EXPECT_TRUE(modesEnabled());
    EXPECT_FALSE(enabled("Часы2"));
    click("Vis", 0);
    EXPECT_EQ(c("Time").caption(), "35");
    EXPECT_FALSE(enabled("Часы1"));
    click("Vis", 1);
    c("Time").setCaption("42");
    click("Vis", 0);
    EXPECT_TRUE(scheme().Process_On);
    EXPECT_TRUE(enabled("Часы1"));
}

TEST_F(RunControls, RestartReturnsToTheLoadStateKeepingVariables) {
    click("Vis", 0);
    scheme().Filtr_Flag = true;
    scheme().Time_Value = 17.0;
    click("Vis", 2);
    EXPECT_TRUE(enabled("Vis", 0));
    EXPECT_FALSE(enabled("Vis", 1));
    EXPECT_FALSE(enabled("Vis", 2));
    EXPECT_TRUE(modesEnabled());
    EXPECT_FALSE(enabled("Часы2"));
    EXPECT_TRUE(driver.scheduler().running(c("Часы3")));
    EXPECT_EQ(c("Форма28", 0).fillColor(), rgb(0x808080));
    EXPECT_EQ(asNumber(scheme().Time_Value), 0);
    EXPECT_TRUE(scheme().Filtr_Flag);
    EXPECT_EQ(scheme().Arrow_Tick, 6);
}

TEST_F(RunControls, TenPlusClicksOpenTheValveFully) {
    for (int i = 0; i < 10; ++i) scheme().Hand_Upp_Click();
    EXPECT_EQ(scheme().Valve_Pos, 10);
    EXPECT_NEAR(c("Handlerrr").x2(), 16560, 0.5);
    EXPECT_NEAR(c("Handlerrr").y2(), 9000, 0.5);
    EXPECT_FALSE(scheme().Upp_Visible);
    EXPECT_TRUE(scheme().Down_Visible);
    scheme().fireTimer(c("Часы1"));
    EXPECT_FALSE(c("Hand_Upp").visible());
    EXPECT_TRUE(c("Hand_Down").visible());
    const float x2 = c("Handlerrr").x2();
    scheme().Hand_Upp_Click();  // an eleventh changes nothing visible
    EXPECT_EQ(scheme().Valve_Pos, 10);
    EXPECT_EQ(c("Handlerrr").x2(), x2);
}

TEST_F(RunControls, AStepTurnsTheHandleNineDegrees) {
    scheme().Hand_Upp_Click();
    const double alpha = 3.141592617 / 20;
    EXPECT_NEAR(c("Handlerrr").x2(), 16560 + 840 * std::cos(alpha), 0.01);
    EXPECT_NEAR(c("Handlerrr").y2(), 8160 + 840 * std::sin(alpha), 0.01);
}

TEST_F(RunControls, MinusAtTheClosedValveKeepsItClosed) {
    scheme().Hand_Down_Click();
    EXPECT_EQ(scheme().Valve_Pos, 0);
    EXPECT_FALSE(scheme().Down_Visible);
    EXPECT_EQ(c("Handlerrr").x2(), 17400);
    EXPECT_EQ(c("Handlerrr").y2(), 8160);
    scheme().fireTimer(c("Часы1"));
    EXPECT_FALSE(c("Hand_Down").visible());
    EXPECT_TRUE(c("Hand_Upp").visible());
}

TEST_F(RunControls, AModeClickWhileStoppedResetsTimeAndMarker) {
    click("Vis", 0);
    click("Vis", 1);
    c("Time").setCaption("120");
    c("Строка20", 29).setX1(5000);
    c("Строка20", 29).setX2(5000);
    c("Object", 17).setBackColor(rgb(0xFFC0C0));
    c("Object", 5).setBackColor(rgb(0xFFC0C0));
    click("Radix", 0);
    EXPECT_EQ(c("Time").caption(), "0");
    EXPECT_EQ(c("Строка20", 32).x2(), 13920);
    EXPECT_EQ(c("Строка20", 29).x1(), c("Строка20", 32).x1());
    EXPECT_EQ(c("Строка20", 29).x2(), c("Строка20", 32).x1());
    EXPECT_EQ(c("Object", 17).backColor(), kButtonFace);
    EXPECT_EQ(c("Object", 5).backColor(), rgb(0xFFC0C0));  // not one of the restored
    EXPECT_FALSE(enabled("Часы2"));
    click("Radix", 1);
    EXPECT_EQ(c("Строка20", 32).x2(), 3240);
    click("Radix", 2);
    EXPECT_EQ(c("Строка20", 32).x2(), 12000);
}

TEST_F(RunControls, TheCommentBoxBlinksUntilTheDemonstrationTimeMoves) {
    EXPECT_EQ(c("Coments").backColor(), rgb(0xC0C0C0));
    driver.scheduler().advanceBy(1000);
    EXPECT_EQ(c("Coments").backColor(), rgb(0xFFFFFF));
    EXPECT_EQ(c("Object", 54).backColor(), rgb(0xE0E0E0));
    driver.scheduler().advanceBy(1000);
    EXPECT_EQ(c("Coments").backColor(), rgb(0xEFEFEF));
    EXPECT_EQ(c("Object", 54).backColor(), rgb(0xFFC080));
    scheme().Time_Value = 1.0;
    driver.scheduler().advanceBy(1000);
    EXPECT_EQ(c("Coments").backColor(), rgb(0xEFEFEF));
    EXPECT_EQ(c("Object", 54).backColor(), rgb(0xE0E0E0));
    scheme().Time_Value = 5.0;
    c("Object", 54).setBackColor(rgb(0xFFC080));
    driver.scheduler().advanceBy(3000);
    EXPECT_EQ(c("Object", 54).backColor(), rgb(0xFFC080));
}

}  // namespace
}  // namespace vk41
