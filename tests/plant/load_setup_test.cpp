#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "scheme_fixture.h"

namespace vk41 {
namespace {

using testing::distance;
using testing::SchemeTest;

TEST_F(SchemeTest, TheCounterDisplayShowsSevenZerosInItsWindow) {
    const Control& screen = c("Screen");
    EXPECT_EQ(screen.left(), 8720);
    EXPECT_EQ(screen.top(), 6680);
    EXPECT_EQ(screen.width(), 780);
    EXPECT_EQ(screen.height(), 300);
    for (int i = 0; i <= 6; ++i) {
        const float x = 9360.0f - 100.0f * static_cast<float>(i);
        EXPECT_FALSE(c("H", i).visible()) << "digit " << i;
        for (const char* segment : {"A", "B", "C", "D", "E", "F"})
            EXPECT_TRUE(c(segment, i).visible()) << segment << i;
        EXPECT_EQ(c("A", i).x1(), x);
        EXPECT_EQ(c("A", i).y1(), 6720);
        EXPECT_EQ(c("D", i).y1(), 6900);
        EXPECT_EQ(c("C", i).x1(), x + 60);
        EXPECT_EQ(c("C", i).y2(), 6900);
        EXPECT_EQ(c("E", i).y1(), 6810);
        EXPECT_EQ(c("A", i).borderColor(), i == 0 ? rgb(0xC00000) : kBlack) << i;
    }
}

TEST_F(SchemeTest, RotorBladesStandOnTheirCircleAroundThePumpCentre) {
    EXPECT_EQ(scheme().Rotor_R, 262);
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(distance(6240, 6840, c("L1", k).left(), c("L1", k).top()), 262, 0.01) << k;
    EXPECT_NEAR(c("L1", 2).left(), 6240, 0.01);  // a quarter turn: straight above
    EXPECT_NEAR(c("L1", 2).top(), 6840 - 262, 0.01);
    EXPECT_EQ(c("OSyM").left(), 6240);
    EXPECT_EQ(c("OSyM").top(), 6840);
}

TEST_F(SchemeTest, TheTurbineArrowsCrossAtTheMeterCentre) {
    for (const char* arrow : {"Arrow1", "Arrow2", "Arrow3"}) {
        const Control& a = c(arrow);
        EXPECT_NEAR((a.x1() + a.x2()) / 2, 8880, 0.01) << arrow;
        EXPECT_NEAR((a.y1() + a.y2()) / 2, 7320, 0.01) << arrow;
        EXPECT_NEAR(distance(a.x1(), a.y1(), a.x2(), a.y2()), 300, 0.01) << arrow;
    }
    EXPECT_EQ(scheme().Arrow_Tick, 3);
}

TEST_F(SchemeTest, OnlyRunIsEnabledAndTheValveButtonsAreHidden) {
    EXPECT_TRUE(c("Vis", 0).enabled());
    EXPECT_FALSE(c("Vis", 1).enabled());
    EXPECT_FALSE(c("Vis", 2).enabled());
    EXPECT_FALSE(c("Hand_Upp").visible());
    EXPECT_FALSE(c("Hand_Down").visible());
    EXPECT_TRUE(c("Radix", 1).value());
    EXPECT_FALSE(c("Часы1").enabled());
    EXPECT_FALSE(c("Часы2").enabled());
    EXPECT_TRUE(c("Часы3").enabled());
    EXPECT_EQ(c("Часы3").interval(), 1000);
}

TEST_F(SchemeTest, WatersAndTheIntroductionAreSetUp) {
    EXPECT_EQ(c("Clear_W").fillColor(), rgb(0xD8FFFF));
    EXPECT_EQ(c("Ost_Top").fillColor(), rgb(0xD8FFFF));
    EXPECT_EQ(c("Nipel_Tube").fillColor(), rgb(0xD8FFFF));
    EXPECT_EQ(c("Woter_Flow").borderColor(), rgb(0xD8FFFF));
    EXPECT_EQ(c("Down_Part").fillColor(), kWhite);
    EXPECT_EQ(c("Ost_Dwn").fillColor(), kWhite);
    const std::string& intro = c("Coments").caption();
    const auto characters =
        std::count_if(intro.begin(), intro.end(), [](char ch) { return (ch & 0xC0) != 0x80; });
    EXPECT_EQ(characters, 326);
    EXPECT_TRUE(c("Coments").caption().starts_with("Демонстрационная программа. Для получения"));
    EXPECT_TRUE(c("Coments").caption().ends_with("в левом нижнем углу экрана"));
    EXPECT_EQ(c("Itog").caption(), "0");
}

TEST_F(SchemeTest, LoadValuesOfThePlantState) {
    EXPECT_EQ(run("get Objectt.Pump_Flow\nget Objectt.Vol_Span\nget Objectt.Handle_Len\n"
                  "get Objectt.Pump_On\nget Objectt.Time_Value\nget Objectt.Blade_Angle(2)\n"
                  "get Objectt.Phase_1\nget Objectt.Normal_Color\nget Objectt.Upp_Visible\n"
                  "get Objectt.Gauge_Base\nget Objectt.Cnt_Digit(7)\n"),
              "Objectt.Pump_Flow = 15\nObjectt.Vol_Span = 1075\nObjectt.Handle_Len = 840\n"
              "Objectt.Pump_On = Empty\nObjectt.Time_Value = Empty\n"
              "Objectt.Blade_Angle(2) = 1.57079632675\nObjectt.Phase_1 = 0.0014612058853488371\n"
              "Objectt.Normal_Color = #F0F0F0\nObjectt.Upp_Visible = True\n"
              "Objectt.Gauge_Base = 2.356194490125\nObjectt.Cnt_Digit(7) = 0\n");
}

TEST_F(SchemeTest, ARestartGivesTheSamePictureWhileTheTurbineCountsOn) {
    Objectt& w = scheme();
    c("L1", 3).setLeft(0);
    c("Screen").setWidth(1);
    c("Itog").setCaption("12");
    w.Filtr_Flag = true;
    w.Cnt_Digit[3] = 4;
    w.Pump_On = true;
    const float arrowBefore = c("Arrow1").x1();
    driver.app().restart("Objectt");
    EXPECT_NEAR(distance(6240, 6840, c("L1", 3).left(), c("L1", 3).top()), 262, 0.01);
    EXPECT_EQ(c("Screen").width(), 780);
    EXPECT_EQ(c("Itog").caption(), "0");
    EXPECT_EQ(w.Arrow_Tick, 6);
    EXPECT_NE(c("Arrow1").x1(), arrowBefore);
    EXPECT_TRUE(w.Filtr_Flag);
    EXPECT_EQ(w.Cnt_Digit[3], 4);
    EXPECT_TRUE(asBool(w.Pump_On));
}

struct TipCase {
    float x, y;
    const char* tip;
};

class HintLabels : public SchemeTest, public ::testing::WithParamInterface<TipCase> {};

TEST_P(HintLabels, ShowTheirTooltipAnywhereInsideEvenOverTheDrawing) {
    EXPECT_EQ(scheme().toolTipAt(GetParam().x, GetParam().y), GetParam().tip)
        << GetParam().x << ", " << GetParam().y;
}

INSTANTIATE_TEST_SUITE_P(
    Points, HintLabels,
    ::testing::Values(TipCase{6420, 7020, "Насос водяной"},  // the pump's centre
                      TipCase{5881, 6481, "Насос водяной"},  // its corner
                      TipCase{8880, 7320, "Расходомер с импульсным выходом ХХХ или его аналог"},
                      TipCase{
                          7680, 5900,
                          "Манометр разности давлений с релейным выходом. Порог срабатывания реле "
                          "определяется положением оранжевой стрелки"},
                      TipCase{4950, 1350, "Светодиод \"РАБОТА\" В рабочем режиме мигает"},
                      TipCase{560, 1000, "Кнопка \"RUN\""},
                      // The float's hint label is hidden: the tank's shows instead.
                      TipCase{17040, 6600, "Резервуар чистой воды"}),
    [](const ::testing::TestParamInfo<TipCase>& row) {
        return "X" + std::to_string(static_cast<int>(row.param.x)) + "_Y" +
               std::to_string(static_cast<int>(row.param.y));
    });

}  // namespace
}  // namespace vk41
