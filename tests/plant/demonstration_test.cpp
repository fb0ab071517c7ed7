#include <gtest/gtest.h>

#include <string>

#include "plant/terminals.h"
#include "scheme_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

constexpr Colour kLight = rgb(0xFFC0C0);

class Demonstration : public testing::SchemeTest {
  protected:
    void runMode(int mode) {
        scheme().click(c("Radix", mode));
        scheme().click(c("Vis", 0));
    }
    // Advances the demonstration timer alone, tick by tick.
    void demoTicks(int n) {
        for (int i = 0; i < n; ++i) scheme().fireTimer(c("Часы2"));
    }
    // Runs the demonstration tick at one demonstration time.
    void tickAt(int time) {
        c("Time").setCaption(numberToText(time));
        scheme().Sec_Tick = 0;
        scheme().fireTimer(c("Часы2"));
    }
    double time() { return textToNumber(c("Time").caption()); }
    std::string comment() { return c("Coments").caption(); }
    Colour hint(int k) { return c("Object", k).backColor(); }
};

TEST_F(Demonstration, TheClockAdvancesOneUnitEveryElevenTicks) {
    runMode(0);
    demoTicks(10);
    EXPECT_EQ(c("Time").caption(), "0");
    demoTicks(1);
    EXPECT_EQ(c("Time").caption(), "1");
    demoTicks(11 * 40);
    EXPECT_EQ(c("Time").caption(), "41");
    EXPECT_EQ(asNumber(scheme().Time_Value), 41);
}

struct TourCase {
    int time;
    std::vector<int> lit;
    const char* comment;
};

class Tour : public Demonstration, public ::testing::WithParamInterface<TourCase> {};

TEST_P(Tour, HighlightsEachObjectWithItsComment) {
    runMode(0);
    for (int t = 0; t <= GetParam().time; t += 2) tickAt(t);
    for (int k = 0; k <= 20; ++k) {
        const bool lit =
            std::find(GetParam().lit.begin(), GetParam().lit.end(), k) != GetParam().lit.end();
        EXPECT_EQ(hint(k) == kLight, lit) << "Object(" << k << ") at " << GetParam().time;
    }
    EXPECT_EQ(comment(), GetParam().comment);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Tour,
    ::testing::Values(
        TourCase{0, {0}, "Контроллер технологический ВК-41 "},
        TourCase{4, {2, 16}, "Адресный счётчик расхода ИМ-9  с согласующими резисторами"},
        TourCase{14, {17, 19}, "Обмотка и контактная группа реле включения водяного насоса"},
        TourCase{16, {18, 20}, "Обмотка и контактная группа реле включения ультрафиолетовой лампы"},
        TourCase{20, {7}, "Концевой выключатель верхнего уровня заполнения резервуара"},
        TourCase{26, {11}, "Поплавковый датчик уровня заполнения резервуара"},
        TourCase{30,
                 {},
                 "Для получения краткой информации об объекте наведите на него указатель "
                 "мыши"}),
    [](const ::testing::TestParamInfo<TourCase>& row) {
        return "Time" + std::to_string(row.param.time);
    });

TEST_F(Demonstration, SwitchAndFloatHintsAppearOnlyWhileExplained) {
    runMode(0);
    for (int t = 0; t <= 18; t += 2) tickAt(t);
    EXPECT_FALSE(c("Object", 11).visible());
    tickAt(20);
    EXPECT_TRUE(c("Object", 7).visible());
    tickAt(22);
    EXPECT_FALSE(c("Object", 7).visible());
    EXPECT_TRUE(c("Object", 8).visible());
    tickAt(24);
    EXPECT_FALSE(c("Object", 8).visible());
    tickAt(26);
    EXPECT_TRUE(c("Object", 11).visible());
    EXPECT_EQ(scheme().toolTipAt(17000, 6500), "Поплавковый датчик уровня жидкости с толкателем");
    tickAt(28);
    EXPECT_FALSE(c("Object", 11).visible());
    EXPECT_EQ(scheme().toolTipAt(17000, 6500), "Резервуар чистой воды");
}

TEST_F(Demonstration, RelayCoilsEndTheTourInTheNormalColour) {
    runMode(0);
    EXPECT_EQ(c("Форма9", 6).fillColor(), kWhite);
    tickAt(14);
    EXPECT_EQ(c("Строка20", 68).borderColor(), kLight);
    EXPECT_TRUE(c("Строка20", 68).visible());
    EXPECT_EQ(c("Форма9", 7).fillColor(), kLight);
    tickAt(16);
    EXPECT_EQ(c("Форма9", 8).fillColor(), kButtonFace);
    EXPECT_EQ(c("Строка20", 28).borderColor(), kLight);
    EXPECT_EQ(c("Форма9", 1).fillColor(), kLight);
    tickAt(18);
    for (int t : {1, 2, 3, 6, 7, 8}) EXPECT_EQ(c("Форма9", t).fillColor(), kButtonFace) << t;
    EXPECT_EQ(c("Строка20", 28).borderColor(), kButtonFace);
}

// The narration names the outputs that the pump relay and the UV lamp's
// relay are wired to, where it tells how the pump stops and starts.
TEST_F(Demonstration, TheNarrationNamesThePumpAndLampOutputsAsWired) {
    const std::string outputs = "дискретными выходами " + std::to_string(terminal::kPumpRelay) +
                                " и " + std::to_string(terminal::kUvLampRelay) + " ";
    runMode(2);
    for (const int time : {51, 64}) {
        tickAt(time);
        EXPECT_NE(comment().find(outputs), std::string::npos) << "at " << time << ": " << comment();
    }
}

TEST_F(Demonstration, ATimeWithoutARowChangesNothing) {
    runMode(0);
    tickAt(30);
    c("Object", 3).setBackColor(kLight);
    for (int t : {33, 100}) {
        tickAt(t);
        EXPECT_EQ(comment(),
                  "Для получения краткой информации об объекте наведите на него "
                  "указатель мыши");
        EXPECT_EQ(hint(3), kLight);
    }
}

TEST_F(Demonstration, ModeDescriptionHoldsTheTimeAtFortyAndTheMarkerAtItsEnd) {
    runMode(1);
    demoTicks(455);
    EXPECT_LT(c("Строка20", 29).x1(), 3240);
    demoTicks(1);
    EXPECT_EQ(c("Строка20", 29).x1(), 3240);
    EXPECT_EQ(c("Строка20", 29).x2(), 3240);
    demoTicks(300);
    EXPECT_EQ(c("Строка20", 29).x1(), 3240);
    EXPECT_LE(time(), 41);
    EXPECT_GE(time(), 40);
    EXPECT_TRUE(scheme().Process_On);
    EXPECT_TRUE(c("Часы1").enabled());
    // The rotor never turns here: it needs a time past 41.
    scheme().Pump_On = true;
    const float blade = c("L1", 1).left();
    demoTicks(30);
    EXPECT_EQ(c("L1", 1).left(), blade);
    EXPECT_EQ(c("Led_4").fillColor(), rgb(0x808080));
}

TEST_F(Demonstration, ModeDemonstrationStartsTheProcessOnTheFirstTick) {
    runMode(2);
    EXPECT_EQ(c("Time").caption(), "40");
    demoTicks(1);
    EXPECT_TRUE(scheme().Process_On);
    EXPECT_TRUE(c("Часы1").enabled());
    EXPECT_NE(comment().substr(0, 10), "При подклю");
    demoTicks(10);
    EXPECT_EQ(c("Time").caption(), "41");
    demoTicks(1);
    EXPECT_TRUE(comment().starts_with("При подключении питания на контроллер ВК-41 24 V AC/DC  и"));
}

TEST_F(Demonstration, TheValveOpensFullyInTheFirstUnitOfPresses) {
    runMode(2);
    c("Time").setCaption("52");
    scheme().Sec_Tick = 0;
    demoTicks(10);
    EXPECT_EQ(scheme().Valve_Pos, 10);
    EXPECT_FALSE(c("Hand_Upp").enabled());
    EXPECT_FALSE(c("Hand_Down").enabled());
    EXPECT_FALSE(scheme().Upp_Visible);
    tickAt(55);
    EXPECT_FALSE(c("Hand_Down").visible());
    EXPECT_EQ(scheme().Valve_Pos, 10);
}

TEST_F(Demonstration, TheAlarmSetsInAtThirtySixAndBlocksThePump) {
    runMode(2);
    c("Itog").setCaption("35");
    scheme().Pump_On = true;
    demoTicks(1);
    EXPECT_EQ(c("Led_5").fillColor(), rgb(0x808080));
    c("Itog").setCaption("36");
    demoTicks(1);
    EXPECT_EQ(c("Led_5").fillColor(), rgb(0xFF0000));
    EXPECT_EQ(c("Lampa_Red").fillColor(), rgb(0xFF0000));
    EXPECT_EQ(c("Lampa_Green").fillColor(), rgb(0x808080));
    EXPECT_EQ(c("Led_3").fillColor(), rgb(0x808080));
    EXPECT_TRUE(c("Spark_F_2").visible());
    EXPECT_EQ(c("Kont_F_Com").y1(), c("Kont_F_NO").y2());
    EXPECT_TRUE(asBool(scheme().Pump_On));
    demoTicks(1);
    EXPECT_FALSE(c("Spark_F_2").visible());
    EXPECT_EQ(c("Kont_F_Com").y1(), c("Kont_F_NO").y2());
    EXPECT_FALSE(asBool(scheme().Pump_On));
    EXPECT_EQ(driver.app().form("ModB_Frm").control("Status_Lab").caption(), "3");
    EXPECT_EQ(c("Led_3").fillColor(), rgb(0x808080));  // lit and darkened in one tick
}

// The manometer's relay contact as drawn, judged by all four coordinates of
// its common contact: the free end on NC (open) or on NO (closed), the pivot
// where the design put it.
struct ContactEnds {
    float x1, y1, x2, y2;
};

constexpr ContactEnds kManometerOpen = {7440, 5400, 7920, 5520};
constexpr ContactEnds kManometerClosed = {7440, 5640, 7920, 5520};

::testing::AssertionResult drawnAs(const Control& common, const ContactEnds& ends) {
    if (common.x1() == ends.x1 && common.y1() == ends.y1 && common.x2() == ends.x2 &&
        common.y2() == ends.y2)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "drawn from (" << common.x1() << ", " << common.y1() << ") to (" << common.x2()
           << ", " << common.y2() << "), expected from (" << ends.x1 << ", " << ends.y1 << ") to ("
           << ends.x2 << ", " << ends.y2 << ")";
}

// Input 4 reads the manometer's contact closed from the alarm until the
// restart; the scheme draws it so on every tick in between, and open before
// and after.
TEST_F(Demonstration, TheManometerContactStaysClosedFromTheAlarmToTheRestart) {
    runMode(2);
    const auto step = [&] { driver.scheduler().advanceBy(100); };
    int before = 0;
    for (step(); c("Led_5").fillColor() != rgb(0xFF0000) && before < 3000; step(), ++before)
        ASSERT_TRUE(drawnAs(c("Kont_F_Com"), kManometerOpen)) << "at time " << time();
    ASSERT_EQ(c("Itog").caption(), "36");
    int accident = 0;
    for (; c("Itog").caption() != "0" && accident < 3000; step(), ++accident)
        ASSERT_TRUE(drawnAs(c("Kont_F_Com"), kManometerClosed))
            << "at time " << time() << ", tick " << accident << " of the accident";
    EXPECT_GT(accident, 200);
    EXPECT_EQ(time(), 0);  // the restart at 240 ended it
    EXPECT_TRUE(drawnAs(c("Kont_F_Com"), kManometerOpen));
    step();
    EXPECT_TRUE(drawnAs(c("Kont_F_Com"), kManometerOpen));
}

TEST_F(Demonstration, OutputsFourAndTheRotorFollowThePumpPastFortyOne) {
    runMode(2);
    c("Time").setCaption("42");
    scheme().Process_On = true;
    scheme().Pump_On = true;
    const float blade = c("L1", 1).left();
    demoTicks(1);
    EXPECT_EQ(c("Led_4").fillColor(), rgb(0xFF0000));
    EXPECT_NE(c("L1", 1).left(), blade);
    EXPECT_EQ(c("Led_3").fillColor(), rgb(0xFF0000));
    EXPECT_EQ(c("Lampa_Green").fillColor(), rgb(0x00FF00));
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(testing::distance(6240, 6840, c("L1", k).left(), c("L1", k).top()), 262, 0.01);
    scheme().Pump_On = false;
    demoTicks(1);
    EXPECT_EQ(c("Led_4").fillColor(), rgb(0x808080));
}

TEST_F(Demonstration, InterfaceLedsBlinkOnlyWhileTheProcessRuns) {
    runMode(0);
    demoTicks(3);
    EXPECT_EQ(c("Led_M").fillColor(), rgb(0x808080));
    scheme().Process_On = true;
    demoTicks(1);
    EXPECT_EQ(c("Led_M").fillColor(), rgb(0xFF0000));
    demoTicks(1);
    EXPECT_EQ(c("Led_M").fillColor(), rgb(0x808080));
    int slaveFlashes = 0;
    for (int i = 0; i < 33; ++i) {
        demoTicks(1);
        if (c("Led_S").fillColor() == rgb(0xFF0000)) ++slaveFlashes;
    }
    EXPECT_EQ(slaveFlashes, 3);
}

TEST_F(Demonstration, WaterArrowsShimmerEveryThreeTicks) {
    runMode(0);
    scheme().Flow_Tick = 0;
    demoTicks(2);
    EXPECT_EQ(c("Woter_Flow_1_1").borderColor(), rgb(0x8080FF));
    demoTicks(1);
    EXPECT_EQ(c("Woter_Flow_1_3").borderColor(), rgb(0xC0FFFF));
    EXPECT_EQ(c("Woter_Flow_2_2").borderColor(), rgb(0xC0FFFF));
    demoTicks(3);
    EXPECT_EQ(c("Woter_Flow_1_2").borderColor(), rgb(0x8080FF));
}

struct DigitCase {
    const char* count;
    const char* shown;  // the seven digits, the most significant first
};

class CounterDisplay : public Demonstration, public ::testing::WithParamInterface<DigitCase> {};

TEST_P(CounterDisplay, ShowsTheCountWithLeadingZeros) {
    static const char* kLit[10] = {"ABCDEF", "BC",     "ABDEH", "ABCDH",   "BCFH",
                                   "ACDFH",  "ACDEFH", "ABC",   "ABCDEFH", "ABCDFH"};
    c("Itog").setCaption(GetParam().count);
    demoTicks(1);
    for (int i = 0; i <= 6; ++i) {
        const int digit = GetParam().shown[6 - i] - '0';
        for (const char* segment : {"A", "B", "C", "D", "E", "F", "H"}) {
            const bool lit = std::string(kLit[digit]).find(segment) != std::string::npos;
            EXPECT_EQ(c(segment, i).visible(), lit) << segment << i << " of " << GetParam().count;
        }
        EXPECT_EQ(scheme().Cnt_Digit[i], digit);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, CounterDisplay,
                         ::testing::Values(DigitCase{"0", "0000000"}, DigitCase{"42", "0000042"},
                                           DigitCase{"1234567", "1234567"},
                                           DigitCase{"91234567", "1234567"},
                                           DigitCase{"8", "0000008"}),
                         [](const ::testing::TestParamInfo<DigitCase>& row) {
                             return std::string("Count") + row.param.count;
                         });

TEST_F(Demonstration, AFullRunEndsWithARestartInsideTheTick) {
    runMode(0);
    driver.scheduler().advanceBy(240 * 11 * 100 - 100);
    EXPECT_EQ(c("Time").caption(), "239");
    const auto rotor = scheme().Rotor_Pos;
    driver.scheduler().advanceBy(1100);
    EXPECT_EQ(c("Time").caption(), "0");
    EXPECT_FALSE(c("Часы2").enabled());
    EXPECT_FALSE(c("Часы1").enabled());
    EXPECT_TRUE(c("Vis", 0).enabled());
    EXPECT_TRUE(c("Radix", 1).value());
    EXPECT_TRUE(c("Coments").caption().starts_with("Демонстрационная программа."));
    EXPECT_EQ(c("Itog").caption(), "0");
    EXPECT_EQ(c("Строка20", 29).x1(), 960 + 5);  // the rest of the tick moved the marker
    EXPECT_EQ(scheme().Rotor_Pos, rotor);        // counters are kept
    EXPECT_EQ(scheme().Demo_End, 240);           // decided before the restart in that tick
    driver.scheduler().advanceBy(5000);
    EXPECT_EQ(c("Time").caption(), "0");
}

}  // namespace
}  // namespace vk41
