#include <gtest/gtest.h>
#include <numbers>
#include <set>

#include "scheme_fixture.h"

namespace vk41 {
namespace {

using testing::distance;
using testing::SchemeTest;

TEST_F(SchemeTest, SixtyTurbineStepsReturnTheCounter) {
    Objectt& w = scheme();
    const auto start = w.Arrow_Tick;
    for (int i = 0; i < 60; ++i) w.Rotate_Arrow(c("Arrow1"), 1, 8880, 7320, false, 1);
    EXPECT_EQ(w.Arrow_Tick, start);
}

TEST_F(SchemeTest, TheSixtiethStepAfterAResetUsesCounterZero) {
    Objectt& w = scheme();
    w.Arrow_Tick = 59;
    w.Rotate_Arrow(c("Arrow1"), 0, 8880, 7320, false, 1);
    EXPECT_EQ(w.Arrow_Tick, 0);
    // Counter 0 and index 0: the arrow lies flat, its X1 end to the right.
    EXPECT_NEAR(c("Arrow1").x1(), 8880 + 150, 0.01);
    EXPECT_NEAR(c("Arrow1").y1(), 7320, 0.01);
}

TEST_F(SchemeTest, TurbineArrowsTurnCounterClockwiseOnScreen) {
    Objectt& w = scheme();
    w.Arrow_Tick = 0;
    w.Rotate_Arrow(c("Arrow1"), 0, 8880, 7320, false, 1);  // counter 1: 6 degrees
    // Counter-clockwise on screen: the X1 end rises (smaller y) as it turns.
    EXPECT_LT(c("Arrow1").y1(), 7320);
    w.Rotate_Arrow(c("Arrow1"), 0, 8880, 7320, true, 1);  // On_Hour turns the other way
    EXPECT_GT(c("Arrow1").y1(), 7320);
}

TEST_F(SchemeTest, OverflowingProductsEndTheCallHarmlessly) {
    Objectt& w = scheme();
    const float before = c("Arrow1").x1();
    w.Arrow_Tick = 10;
    w.Rotate_Arrow(c("Arrow1"), 1, 8880, 7320, false, 32767);
    EXPECT_EQ(w.Arrow_Tick, 11);
    EXPECT_EQ(c("Arrow1").x1(), before);
    w.Rotate_Line(c("Arrow4"), true, 1, -32768);  // -1 * -32768 does not fit
    w.Gauge_K = 32766;
    bool onHour = false;
    w.Rotate_Filtr(onHour, 32767);
    EXPECT_EQ(w.Gauge_K, 32766);
}

// Puts the pointer at the angle that gives sin(phi + 2 Phase_1) = v.
void pointerAt(Objectt& w, double phi) {
    w.Flow_Phase = (phi - w.Phase_0) * 30;
}

TEST_F(SchemeTest, APulseIsCountedOncePerClosure) {
    Objectt& w = scheme();
    const double up = -std::numbers::pi / 2 - 2 * w.Phase_1;  // straight up with On_Hour
    pointerAt(w, up);
    w.Rotate_Line(c("Arrow4"), true, 1, 200);
    EXPECT_EQ(c("Itog").caption(), "1");  // first closure after load counts
    EXPECT_EQ(c("Kont_Com").y1(), c("Kont_NO").y2());
    w.Rotate_Line(c("Arrow4"), true, 1, 200);  // still closed
    EXPECT_EQ(c("Itog").caption(), "1");
    pointerAt(w, 0);
    w.Rotate_Line(c("Arrow4"), true, 1, 200);
    EXPECT_EQ(c("Kont_Com").y1(), c("Kont_NC").y2());
    EXPECT_FALSE(w.Kont_Closed);
    pointerAt(w, up + 0.2);  // within the window again
    w.Rotate_Line(c("Arrow4"), true, 1, 200);
    EXPECT_EQ(c("Itog").caption(), "2");
}

TEST_F(SchemeTest, ThePointerHasItsLengthAndPivot) {
    Objectt& w = scheme();
    pointerAt(w, 1.0);
    w.Rotate_Line(c("Arrow4"), true, 1, 200);
    const Control& p = c("Arrow4");
    EXPECT_EQ(p.x1(), 9480);
    EXPECT_EQ(p.y1(), 7320);
    EXPECT_NEAR(p.x2(), 9480 + 200 * std::cos(1.0), 0.01);
    EXPECT_NEAR(p.y2(), 7320 + 200 * std::sin(1.0 + 2 * w.Phase_1), 0.01);
}

TEST_F(SchemeTest, TheFilterDarkensToItsLimitAndHoldsThere) {
    Objectt& w = scheme();
    pointerAt(w, -std::numbers::pi / 2 - 2 * w.Phase_1);
    for (int i = 0; i < 79; ++i) w.Rotate_Line(c("Arrow4"), true, 1, 200);
    EXPECT_EQ(c("Filtr").fillColor(), rgb(0x616161));
    w.Rotate_Line(c("Arrow4"), true, 1, 200);
    EXPECT_EQ(c("Filtr").fillColor(), rgb(0x5F5F5F));  // after 80 calls
    for (int i = 0; i < 5; ++i) {
        w.Rotate_Line(c("Arrow4"), true, 1, 200);
        EXPECT_EQ(c("Filtr").fillColor(), rgb(0x5D5D5D));
    }
    EXPECT_EQ(c("Itog").caption(), "1");
}

TEST_F(SchemeTest, TheNeedleHoldsAtItsBaseWithMaxKZero) {
    Objectt& w = scheme();
    bool onHour = false;
    w.Rotate_Filtr(onHour, 0);
    EXPECT_EQ(w.Gauge_K, 0);
    const Control& n = c("Filtr_Loop");
    EXPECT_NEAR(n.x2(), 7680 + 360 * std::cos(2.35619446275), 0.01);
    EXPECT_NEAR(n.y2(), 6240 + 360 * std::sin(2.35619446275), 0.01);
    EXPECT_EQ(c("Kont_F_Com").y1(), c("Kont_F_NC").y2());
}

// The manometer's contact belongs to its relay: the needle turning back
// after the alarm leaves it closed.
TEST_F(SchemeTest, TheNeedleLeavesTheManometerContactToTheRelay) {
    Objectt& w = scheme();
    bool onHour = false;
    for (int i = 0; i < 12; ++i) w.Rotate_Filtr(onHour, 36);
    EXPECT_EQ(w.Gauge_K, 36);
    c("Kont_F_Com").setY1(c("Kont_F_NO").y2());
    c("Led_5").setFillColor(rgb(0xFF0000));
    for (int i = 0; i < 12; ++i) {
        w.Rotate_Filtr(onHour, 36);
        EXPECT_EQ(c("Kont_F_Com").y1(), c("Kont_F_NO").y2()) << "call " << i;
    }
    EXPECT_EQ(w.Gauge_K, 0);
}

TEST_F(SchemeTest, TheNeedleStepsThreeAtATimeWithinItsTravel) {
    Objectt& w = scheme();
    bool onHour = false;
    for (int i = 0; i < 5; ++i) w.Rotate_Filtr(onHour, 10);
    EXPECT_EQ(w.Gauge_K, 10);
    onHour = true;
    w.Rotate_Filtr(onHour, 10);
    EXPECT_EQ(w.Gauge_K, 7);
    // A lit alarm LED turns the needle back and tells the caller.
    onHour = false;
    c("Led_5").setFillColor(rgb(0xFF0000));
    w.Rotate_Filtr(onHour, 10);
    EXPECT_TRUE(onHour);
    EXPECT_EQ(w.Gauge_K, 4);
    w.Gauge_K = 2;
    w.Rotate_Filtr(onHour, -5);  // the lower limit wins
    EXPECT_EQ(w.Gauge_K, 0);
}

TEST_F(SchemeTest, TheLampGlowsAndFlickersWhileOn) {
    Objectt& w = scheme();
    w.Lamp(true);
    EXPECT_TRUE(c("Flame_H").visible());
    EXPECT_TRUE(c("Flame_M").visible());
    EXPECT_EQ(c("Flame_L").borderColor(), rgb(0x8080FF));
    EXPECT_EQ(c("Balon").fillColor(), rgb(0xC0C0FF));
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 60; ++i) {
        w.Lamp(true);
        for (int r = 1; r <= 5; ++r)
            EXPECT_EQ(c("Ray", r).borderColor(), c("Ray", 0).borderColor());
        seen.insert(c("Ray", 0).borderColor().rgb);
    }
    EXPECT_EQ(seen, (std::set<std::uint32_t>{0xFFFF80, 0xFF0000, 0x8080FF}));
}

TEST_F(SchemeTest, TheLampOffStillRecoloursItsHiddenRays) {
    Objectt& w = scheme();
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 60; ++i) {
        w.Lamp(false);
        EXPECT_FALSE(c("Ray", 3).visible());
        seen.insert(c("Ray", 3).borderColor().rgb);
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_FALSE(c("Flame_M").visible());
    EXPECT_EQ(c("Flame_L").borderColor(), rgb(0x808080));
    EXPECT_EQ(c("Balon").fillColor(), rgb(0x808080));
}

TEST_F(SchemeTest, TheInflowArrowAnswersOnlyToNumberOne) {
    Objectt& w = scheme();
    w.Water_Arrow(2, 1, 0);
    EXPECT_FALSE(c("Woter_Flow_1_2").visible());
    w.Water_Arrow(1, 1, 1);
    EXPECT_TRUE(c("Woter_Flow_1_1").visible());
    EXPECT_TRUE(c("Woter_Flow_1_3").visible());
    w.Water_Arrow(1, 0);
    EXPECT_FALSE(c("Woter_Flow_1_2").visible());
}

}  // namespace
}  // namespace vk41
