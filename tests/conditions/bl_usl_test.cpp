#include "conditions/bl_usl.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/script_driver.h"

namespace vk41 {
namespace {

// Operators that carry markers, in the order of the window's marker arrays.
const std::vector<int> kMarkedOperators = {1, 2, 3, 5, 6, 8, 9, 11, 12, 13};

constexpr Colour kHintColour = rgb(0xFFE0C0);
constexpr Colour kHintBlink = rgb(0xFFC0C0);

// The program as the driver starts it, with the scheme window and the
// conditions block opened.
class ConditionsTest : public ::testing::Test {
  protected:
    ConditionsTest() {
        driver.app().open("Objectt");
        driver.app().open("Bl_Usl");
    }

    BlUsl& window() { return driver.app().form<BlUsl>("Bl_Usl"); }
    Control& c(const char* name, int index = -1) { return window().control(name, index); }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) window().fireTimer(c("Часы1"));
    }
    void choose(int option) { window().click(c("Demo", option)); }
    void setStatus(const std::string& code) {
        driver.app().form("ModB_Frm").control("Status_Lab").setCaption(code);
    }
    std::set<int> shownFlags() { return shown("Flag"); }
    std::set<int> shownBars() { return shown("Usl"); }
    bool coverShown() { return c("Introduction").visible() && c("Scr").visible(); }

    std::ostringstream out;
    ScriptDriver driver{out};

  private:
    std::set<int> shown(const char* marker) {
        std::set<int> operators;
        for (int op : kMarkedOperators)
            if (c(marker, op - 1).visible()) operators.insert(op);
        return operators;
    }
};

TEST_F(ConditionsTest, OpensWithTheIntroductionAndNoMarkers) {
    EXPECT_EQ(window().Intro_Ticks, 0);
    EXPECT_TRUE(coverShown());
    EXPECT_TRUE(c("Метка1").visible());
    EXPECT_EQ(c("Метка1").backColor(), kHintColour);
    EXPECT_TRUE(c("Demo", 0).value());
    EXPECT_EQ(c("Curent_Coment").caption(), "");
    EXPECT_EQ(shownFlags(), std::set<int>{});
    EXPECT_EQ(shownBars(), std::set<int>{});
    EXPECT_TRUE(driver.scheduler().running(c("Часы1")));
    EXPECT_EQ(c("Часы1").interval(), 100);
}

// Characters, not bytes: the texts are UTF-8.
std::size_t characters(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char byte : text) n += (byte & 0xC0) != 0x80;
    return n;
}

TEST_F(ConditionsTest, TheIntroductionOpensWithTheProgramsOneTypeOfCondition) {
    const std::string& text = c("Introduction").caption();
    EXPECT_EQ(characters(text), 665u);
    EXPECT_EQ(text.rfind("    Программа в Блоке Условий для простоты восприятия реализована с "
                         "использованием единственного типа условий и единственного уровня "
                         "приоритетов. ",
                         0),
              0u);
    for (const char* notation : {"О1", "О2", "Self/131", "Self/132", "Self133", "Self134",
                                 "self/D3", "self/D6", "У/Ф №2", "№5", "№8", "№11"})
        EXPECT_NE(text.find(notation), std::string::npos) << notation;
}

TEST_F(ConditionsTest, FirstTickHidesTheHintAndCreatesTheModbusWindowHidden) {
    driver.app().close("ModB_Frm");
    tick();
    EXPECT_FALSE(c("Метка1").visible());
    EXPECT_EQ(c("Метка1").backColor(), kHintBlink);
    EXPECT_TRUE(coverShown());
    const Form* modbus = driver.app().existing("ModB_Frm");
    ASSERT_NE(modbus, nullptr);
    EXPECT_TRUE(modbus->loaded());
    EXPECT_FALSE(modbus->visible());
}

// The introduction and the hint tick by tick, while the status code is 497
// (the process not started): tick n leaves them as its row says.
struct IntroCase {
    int tick;
    bool cover;     // `Introduction` and `Scr`
    bool hint;      // `Метка1` visible
    Colour colour;  // `Метка1` background
    int introTicks;
};

class IntroductionTicks : public ConditionsTest, public ::testing::WithParamInterface<IntroCase> {};

TEST_P(IntroductionTicks, FollowTheTickCount) {
    const IntroCase& want = GetParam();
    tick(want.tick);
    EXPECT_EQ(coverShown(), want.cover) << "tick " << want.tick;
    EXPECT_EQ(c("Метка1").visible(), want.hint) << "tick " << want.tick;
    EXPECT_EQ(c("Метка1").backColor(), want.colour) << "tick " << want.tick;
    EXPECT_EQ(window().Intro_Ticks, want.introTicks) << "tick " << want.tick;
    EXPECT_EQ(shownFlags(), std::set<int>{}) << "tick " << want.tick;
    EXPECT_EQ(shownBars(), std::set<int>{}) << "tick " << want.tick;
}

INSTANTIATE_TEST_SUITE_P(
    Status497, IntroductionTicks,
    ::testing::Values(  //   tick  cover  hint   colour      count
        IntroCase{1, true, false, kHintBlink, 1}, IntroCase{2, true, false, kHintColour, 2},
        IntroCase{199, true, false, kHintBlink, 199}, IntroCase{200, true, false, kHintColour, 200},
        IntroCase{201, false, false, kHintBlink, 201},
        IntroCase{202, false, true, kHintColour, 202}, IntroCase{203, false, true, kHintBlink, 203},
        IntroCase{231, false, true, kHintBlink, 231},
        IntroCase{232, false, false, kHintColour, 231},
        IntroCase{233, false, false, kHintBlink, 231},
        IntroCase{5000, false, false, kHintColour, 231}),
    [](const auto& p) { return "Tick" + std::to_string(p.param.tick); });

TEST_F(ConditionsTest, TicksCountWhileTheWindowIsHidden) {
    driver.app().hide("Bl_Usl");
    driver.scheduler().advanceBy(20100);
    EXPECT_EQ(window().Intro_Ticks, 201);
    EXPECT_FALSE(coverShown());
    driver.app().open("Bl_Usl");
    EXPECT_EQ(window().Intro_Ticks, 201);
    EXPECT_FALSE(coverShown());
}

TEST_F(ConditionsTest, ClosingAndOpeningAgainStartsOver) {
    choose(2);
    tick(240);
    window().mouseMove(2655, 585);
    ASSERT_NE(c("Curent_Coment").caption(), "");
    driver.app().close("Bl_Usl");
    driver.app().open("Bl_Usl");
    EXPECT_EQ(window().Intro_Ticks, 0);
    EXPECT_TRUE(coverShown());
    EXPECT_TRUE(c("Метка1").visible());
    EXPECT_TRUE(c("Demo", 0).value());
    EXPECT_FALSE(c("Demo", 2).value());
    EXPECT_EQ(c("Curent_Coment").caption(), "");
    EXPECT_EQ(shownFlags(), std::set<int>{});
    EXPECT_EQ(shownBars(), std::set<int>{});
}

TEST_F(ConditionsTest, ChoosingAnOptionWaitsForTheNextTick) {
    choose(3);
    EXPECT_TRUE(coverShown());
    EXPECT_EQ(shownFlags(), std::set<int>{});
    tick();
    EXPECT_FALSE(coverShown());
    EXPECT_EQ(shownFlags(), (std::set<int>{8, 11}));
}

// The markers of the three situations, chosen by an option or followed
// through "Деморежим" from the process status code. A dependent operator's bar
// shows while the flag it waits for is raised: in the accident operator 9 is
// active, flag 8 being raised.
struct MarkerCase {
    const char* source;
    int option;          // the `Demo` option chosen
    const char* status;  // the status code written by the process
    std::set<int> flags;
    std::set<int> bars;
};

void PrintTo(const MarkerCase& m, std::ostream* os) {
    *os << m.source;
}

class MarkerTable : public ConditionsTest, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(MarkerTable, ShowsTheFlagsAndBarsOfTheSituation) {
    const MarkerCase& want = GetParam();
    setStatus(want.status);
    choose(want.option);
    tick();
    EXPECT_EQ(shownFlags(), want.flags) << want.source;
    EXPECT_EQ(shownBars(), want.bars) << want.source;
    // A situation uncovers the table at once and keeps the hint away.
    EXPECT_FALSE(coverShown()) << want.source;
    EXPECT_FALSE(c("Метка1").visible()) << want.source;
    // Switching to another situation leaves no marker of this one behind.
    choose(want.option == 1 ? 2 : 1);
    tick();
    choose(want.option);
    tick();
    EXPECT_EQ(shownFlags(), want.flags) << want.source;
    EXPECT_EQ(shownBars(), want.bars) << want.source;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Situations, MarkerTable, ::testing::Values(
    //          source            option status   flags          bars
    MarkerCase{"tank full, option",   1, "497",  {1, 2, 8},     {1, 2, 3, 5, 8, 9, 11, 13}},
    MarkerCase{"filling, option",     2, "497",  {1, 2, 5, 13}, {1, 2, 3, 5, 6, 8, 11, 13}},
    MarkerCase{"accident, option",    3, "497",  {8, 11},       {1, 2, 5, 8, 9, 11, 12, 13}},
    MarkerCase{"filling, status 1",   0, "1",    {1, 2, 5, 13}, {1, 2, 3, 5, 6, 8, 11, 13}},
    MarkerCase{"tank full, status 2", 0, "2",    {1, 2, 8},     {1, 2, 3, 5, 8, 9, 11, 13}},
    MarkerCase{"accident, status 3",  0, "3",    {8, 11},       {1, 2, 5, 8, 9, 11, 12, 13}},
    MarkerCase{"option beats status", 3, "1",    {8, 11},       {1, 2, 5, 8, 9, 11, 12, 13}}),
    [](const auto& p) {
        std::string name;
        for (const char ch : std::string(p.param.source))
            if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
            else name += '_';
        return name;
    });
// clang-format on

// Status codes that are not a situation keep the markers of the last one;
// 0 clears them (the introduction stays).
struct StatusCase {
    const char* status;
    bool kept;
};

class OtherStatus : public ConditionsTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(OtherStatus, KeepsOrClearsTheMarkers) {
    const StatusCase& want = GetParam();
    setStatus("3");
    tick();
    ASSERT_EQ(shownFlags(), (std::set<int>{8, 11}));
    setStatus(want.status);
    tick(3);
    const std::set<int> flags = want.kept ? std::set<int>{8, 11} : std::set<int>{};
    const std::set<int> bars =
        want.kept ? std::set<int>{1, 2, 5, 8, 9, 11, 12, 13} : std::set<int>{};
    EXPECT_EQ(shownFlags(), flags) << '"' << want.status << '"';
    EXPECT_EQ(shownBars(), bars) << '"' << want.status << '"';
}

INSTANTIATE_TEST_SUITE_P(Codes, OtherStatus,
                         ::testing::Values(StatusCase{"4", true}, StatusCase{"497", true},
                                           StatusCase{"1.5", true}, StatusCase{"-1", true},
                                           StatusCase{"0", false}, StatusCase{"", false},
                                           StatusCase{"x", false}),
                         [](const auto& p) {
                             std::string name = "Status";
                             for (const char ch : std::string(p.param.status))
                                 name += ch == '-'   ? std::string("Minus")
                                         : ch == '.' ? std::string("_")
                                                     : std::string(1, ch);
                             return p.param.status[0] ? name : std::string("Empty");
                         });

TEST_F(ConditionsTest, StatusZeroKeepsTheIntroduction) {
    setStatus("0");
    tick(10);
    EXPECT_TRUE(coverShown());
}

TEST_F(ConditionsTest, BackToDemonstrationWithStatusFourKeepsTheChosenSituation) {
    setStatus("4");
    choose(1);
    tick();
    choose(0);
    tick(5);
    EXPECT_EQ(shownFlags(), (std::set<int>{1, 2, 8}));
    EXPECT_EQ(shownBars(), (std::set<int>{1, 2, 3, 5, 8, 9, 11, 13}));
}

TEST_F(ConditionsTest, TheHintNeverReturnsAfterItsTime) {
    tick(232);
    for (int option : {1, 0, 2, 0, 3, 0}) {
        choose(option);
        tick();
        EXPECT_FALSE(c("Метка1").visible()) << option;
        EXPECT_EQ(window().Intro_Ticks, 231);
    }
}

// The mouse over the middle of each row of the table picture (row k takes
// pixel rows 28 + 23(k - 1) .. 50 + 23(k - 1)) shows the comment of operator k.
TEST_F(ConditionsTest, EachRowOfThePictureShowsItsOperatorsComment) {
    for (int k = 1; k <= 14; ++k) {
        const float y = static_cast<float>((28 + 23 * (k - 1) + 11) * 15);
        for (float x : {1560.0f, 2655.0f, 7000.0f, 10400.0f}) {
            window().mouseMove(x, y);
            EXPECT_EQ(c("Curent_Coment").caption(), BlUsl::comment(k - 1))
                << "operator " << k << " at " << x << ", " << y;
        }
        EXPECT_FALSE(BlUsl::comment(k - 1).empty()) << "operator " << k;
    }
}

TEST_F(ConditionsTest, AroundTheTableTheCommentEmpties) {
    struct Point {
        float x, y;
        const char* where;
    };
    for (const Point p :
         {Point{2655, 240, "header"}, Point{2655, 5400, "below the table"},
          Point{5000, 7400, "under the comment"}, Point{11000, 4000, "right of the table"}}) {
        window().mouseMove(2655, 2655);
        ASSERT_FALSE(c("Curent_Coment").caption().empty());
        window().mouseMove(p.x, p.y);
        EXPECT_EQ(c("Curent_Coment").caption(), "") << p.where;
    }
}

TEST_F(ConditionsTest, OutsideTheZonesTheCommentStays) {
    window().mouseMove(2655, 2655);
    const std::string comment = c("Curent_Coment").caption();
    for (const auto& [x, y] : {std::pair{100.0f, 100.0f}, std::pair{100.0f, 3000.0f},
                               std::pair{13000.0f, 7500.0f}, std::pair{12000.0f, 1000.0f}}) {
        window().mouseMove(x, y);
        EXPECT_EQ(c("Curent_Coment").caption(), comment) << x << ", " << y;
    }
}

TEST_F(ConditionsTest, TheMouseChangesNothingButTheComment) {
    tick();
    const std::uint64_t before = window().revision();
    window().mouseMove(2655, 2655);
    EXPECT_EQ(window().revision(), before + 1);
    window().mouseMove(2655, 2655);
    EXPECT_EQ(window().revision(), before + 1);
    EXPECT_EQ(window().Intro_Ticks, 1);
}

}  // namespace
}  // namespace vk41
