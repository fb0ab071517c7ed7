#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modbus/byte_text.h"
#include "modbus_fixture.h"

namespace vk41 {
namespace {

using testing::Bytes;
using testing::ModbusTest;

struct RequestCase {
    int kind;
    std::vector<std::pair<int, const char*>> combos;  // typed texts
    Bytes request;                                    // Qq(0)..Qq(5)
};

class Requests : public ModbusTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(Requests, AreComposedPerKind) {
    select("Count_Length", GetParam().kind);
    for (const auto& [combo, text] : GetParam().combos) type(combo, text);
    tick();
    EXPECT_EQ(row("Qq", 0, 5), GetParam().request) << "kind " << GetParam().kind;
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Requests,
    ::testing::Values(RequestCase{9, {}, {"127", "1", "0", "32", "0", "32"}},
                      RequestCase{0, {{0, "3"}}, {"127", "3", "164", "244", "0", "2"}},
                      RequestCase{1, {{1, "1"}}, {"127", "3", "164", "238", "0", "3"}},
                      RequestCase{
                          2, {{10, "10003"}, {11, "25"}}, {"127", "2", "39", "19", "0", "25"}},
                      RequestCase{3, {{7, "07"}, {8, "08"}}, {"127", "1", "0", "7", "0", "8"}},
                      RequestCase{6, {{4, "1"}, {9, "1"}}, {"127", "5", "0", "0", "255", "0"}},
                      RequestCase{6, {{4, "1"}, {9, "0"}}, {"127", "5", "0", "0", "0", "0"}},
                      RequestCase{6, {{4, "3"}, {9, "1"}}, {"127", "5", "0", "2", "255", "0"}},
                      RequestCase{7, {}, {"127", "6", "234", "96", "170", "85"}},
                      RequestCase{8, {}, {"127", "6", "234", "96", "85", "170"}},
                      RequestCase{9, {{6, "01"}}, {"127", "1", "0", "32", "0", "01"}}),
    [](const auto& p) {
        return "Kind" + std::to_string(p.param.kind) + "_" + std::to_string(p.index);
    });

TEST_F(ModbusTest, AnUnknownCounterTextKeepsTheRegister) {
    select("Count_Length", 0);
    type(0, "2");
    tick();
    type(0, "пять");
    tick();
    EXPECT_EQ(c("Qq", 3).caption(), "241");
}

struct AnswerCase {
    const char* name;
    int kind;
    int source;  // Branch option
    std::vector<std::pair<int, const char*>> combos;
    const char* arbitrary;  // Cond_Val
    const char* status;     // Status_Lab
    Bytes data;             // the answer's data bytes
};

class Answers : public ModbusTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, CarryThePlantDataOfTheirSource) {
    const AnswerCase& a = GetParam();
    select("Count_Length", a.kind);
    select("Branch", a.source);
    for (const auto& [combo, text] : a.combos) type(combo, text);
    c("Cond_Val").setText(a.arbitrary);
    c("Status_Lab").setCaption(a.status);
    tick();
    const int first = 3;
    EXPECT_EQ(row("Aa", first, first + static_cast<int>(a.data.size()) - 1), a.data);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sources, Answers, ::testing::Values(
    //         name                   kind src combos                    Cond_Val status  data
    AnswerCase{"Arbitrary7",             9, 4, {},                         "7",   "497", {"7"}},
    AnswerCase{"Arbitrary258From40",     9, 4, {{5, "40"}, {6, "8"}},      "258", "497", {"1"}},
    AnswerCase{"Status1Count10",         9, 0, {{6, "10"}},                "7",   "1",   {"19", "0"}},
    AnswerCase{"Status2",                9, 0, {},                         "7",   "2",   {"131", "0", "0", "0"}},
    AnswerCase{"Status3",                9, 0, {},                         "7",   "3",   {"128", "4", "0", "0"}},
    AnswerCase{"Status4",                9, 0, {},                         "7",   "4",   {"0", "0", "0", "0"}},
    AnswerCase{"TankFullFlags",          9, 1, {},                         "7",   "1",   {"131", "0", "0", "0"}},
    AnswerCase{"FillingFlags",           9, 2, {},                         "7",   "2",   {"19", "16", "0", "0"}},
    AnswerCase{"AccidentFlags",          9, 3, {},                         "7",   "1",   {"128", "4", "0", "0"}},
    AnswerCase{"TankFullInputs",         2, 1, {{11, "16"}},               "7",   "1",   {"32", "0"}},
    AnswerCase{"FillingOutputs",         3, 2, {{8, "16"}},                "7",   "1",   {"44", "0"}},
    AnswerCase{"AlarmInputFrom10000",    2, 3, {{10, "10000"}, {11, "8"}}, "7",   "497", {"8"}},
    AnswerCase{"AlarmInputFrom10001",    2, 3, {{10, "10001"}, {11, "8"}}, "7",   "497", {"4"}},
    AnswerCase{"CounterArbitrary300",    0, 4, {{0, "1"}},                 "300", "497", {"44", "1", "0", "0"}},
    AnswerCase{"CounterTwoIsZero",       0, 4, {{0, "2"}},                 "300", "497", {"0", "0", "0", "0"}},
    AnswerCase{"AllCounterBytesAlarm",   1, 3, {{1, "1"}},                 "7",   "497", {"36", "0", "0", "0", "0", "0"}}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST_F(ModbusTest, TheFlagStripShowsTheMaskedBits) {
    tick();
    EXPECT_EQ(c("Mask").caption(), "00000111  00000000  00000000  00000000");
    EXPECT_EQ(window().Bits_B1, "00000111");
    select("Branch", 0);
    c("Status_Lab").setCaption("1");
    type(6, "10");
    tick();
    EXPECT_EQ(window().Valid_B1, 8);
    EXPECT_EQ(window().Valid_B2, 2);
    EXPECT_EQ(c("Aa", 2).caption(), "2");
    EXPECT_EQ(window().Ans_Len, 5);
}

TEST_F(ModbusTest, TheCounterRunsByItselfFromSixteenBackToThree) {
    select("Count_Length", 0);
    select("Branch", 1);
    c("Countr").setCaption("15");
    std::vector<std::string> seen;
    for (int i = 0; i < 18; ++i) {
        tick();
        seen.push_back(c("Aa", 3).caption());
    }
    EXPECT_EQ(seen.front(), "15");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "16"), seen.end());
    EXPECT_EQ(seen.back(), "4");
}

TEST_F(ModbusTest, TheCounterRequestAnswersTheFlowCountLowByteFirst) {
    select("Count_Length", 0);
    select("Branch", 0);
    driver.app().form("Objectt").control("Itog").setCaption("300");
    tick();
    EXPECT_EQ(row("Aa", 0, 4), (Bytes{"127", "3", "4", "44", "1"}));
}

TEST_F(ModbusTest, TheEchoOfAWriteRepeatsTheRequest) {
    select("Count_Length", 6);
    type(4, "3");
    tick();
    EXPECT_EQ(row("Aa", 1, 5), (Bytes{"5", "0", "2", "255", "0"}));
    EXPECT_EQ(window().Ans_Len, 6);
}

TEST_F(ModbusTest, BytesShowInDecimalWithALeadingZeroOrInHex) {
    select("Count_Length", 9);
    type(6, "08");
    tick();
    EXPECT_EQ(c("Q", 5).caption(), "008");
    select("Hex");
    tick();
    EXPECT_EQ(c("Q", 5).caption(), "08");
    select("Count_Length", 0);
    type(0, "1");
    tick();
    EXPECT_EQ(row("Q", 0, 7), (Bytes{"7F", "03", "A4", "EE", "00", "02", "8D", "10"}));
}

TEST_F(ModbusTest, TheResetCommandEchoesWithItsLayout) {
    select("Count_Length", 7);
    select("Hex");
    window().typeText(c("ContNum"), "1");
    tick();
    EXPECT_EQ(row("Q", 0, 7), (Bytes{"01", "06", "EA", "60", "AA", "55", "03", "53"}));
    EXPECT_EQ(row("Ans", 0, 5), (Bytes{"01", "06", "EA", "60", "AA", "55"}));
    EXPECT_EQ(row("Ans", 10, 11), (Bytes{"03", "53"}));
    EXPECT_EQ(c("Ans", 3).left(), 2520);
    EXPECT_EQ(c("Ans", 4).left(), 3600);
    EXPECT_EQ(c("Ans", 5).left(), 3975);
    EXPECT_TRUE(c("Restart").visible());
    EXPECT_FALSE(c("Cond_Fr").visible());
}

TEST_F(ModbusTest, AnswerCellsShowPerKindAndByteCount) {
    type(6, "16");
    tick();
    EXPECT_TRUE(c("Ans", 4).visible());
    EXPECT_FALSE(c("Ans", 5).visible());
    EXPECT_TRUE(c("Cond_N_Lab_Ml").visible());
    EXPECT_FALSE(c("Cond_N_Lab_Mh").visible());
    select("Count_Length", 2);
    type(11, "1");
    tick();
    EXPECT_FALSE(c("Ans", 4).visible());
    select("Count_Length", 6);
    tick();
    EXPECT_TRUE(c("Ans", 4).visible());
    EXPECT_TRUE(c("Ans", 5).visible());
    EXPECT_FALSE(c("Ans", 6).visible());
    EXPECT_TRUE(c("Ans", 10).visible());
}

TEST_F(ModbusTest, ChoosingTheFlagRequestShowsItsFirstNumberLabelAtOnce) {
    window().click(c("Count_Length", 3));
    EXPECT_FALSE(c("Cond_N_Lab_L").visible());
    window().click(c("Count_Length", 9));
    EXPECT_TRUE(c("Cond_N_Lab_L").visible());
}

struct DrowCase {
    const char* first;
    const char* count;
    Bytes captions;
    float width;
};

class LabelDrow : public ModbusTest, public ::testing::WithParamInterface<DrowCase> {};

TEST_P(LabelDrow, NumbersTheFlagStrip) {
    window().typeText(c("Комбо1", 5), GetParam().first);
    window().typeText(c("Комбо1", 6), GetParam().count);
    EXPECT_EQ((Bytes{c("Cond_N_Lab_L").caption(), c("Cond_N_Lab_Ml").caption(),
                     c("Cond_N_Lab_Mh").caption(), c("Cond_N_Lab_H").caption()}),
              GetParam().captions);
    EXPECT_EQ(c("Mask").width(), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, LabelDrow,
    ::testing::Values(DrowCase{"32",
                               "16",
                               {"  8   7   6   5   4   3   2   1 ", "16 15 14 13 12 11 10   9 ", "",
                                ""},
                               3600},
                      DrowCase{"48", "5", {"24 23 22 21 20 19 18 17 ", "", "", ""}, 1800},
                      DrowCase{"56",
                               "32",
                               {"32 31 30 29 28 27 26 25 ", "40 39 38 37 36 35 34 33 ",
                                "48 47 46 45 44 43 42 41 ", "56 55 54 53 52 51 50 49 "},
                               7800}),
    [](const auto& p) { return std::string("First") + p.param.first + "_Count" + p.param.count; });

TEST_F(ModbusTest, ACountAboveThirtyTwoKeepsTheWidthAndFillsTheLastLabel) {
    window().typeText(c("Комбо1", 6), "8");
    window().typeText(c("Комбо1", 6), "40");
    EXPECT_EQ(c("Mask").width(), 1800);
    EXPECT_EQ(c("Cond_N_Lab_H").caption().substr(0, 3), "40 ");
}

// The byte a frame cell holds: decimal digits, a typed byte keeping its
// leading zeros ("01"); -1 for anything else.
int byteIn(const std::string& text) {
    const bool digits = !text.empty() && text.size() <= 3 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    const int value = digits ? std::stoi(text) : -1;
    return value <= 255 ? value : -1;
}

// Whether a shown cell shows `value` in the number system chosen: two
// hexadecimal digits, or decimal ones.
bool shows(const std::string& text, int value, bool hex) {
    if (hex) return text == hexText(static_cast<unsigned>(value), 2);
    return !text.empty() && text.size() <= 4 &&
           text.find_first_not_of("0123456789") == std::string::npos && std::stoi(text) == value;
}

// The first cell of the two frames that holds no byte, or whose shown cell
// does not show its byte; "" when every cell is right. The request is six
// bytes and its CRC; the answer's CRC is shown at the end of its row.
std::string wrongFrameCell(ModBFrm& w, bool hex) {
    struct Cell {
        const char* row;
        int index;
        const char* shownRow;
        int shownIndex;
    };
    std::vector<Cell> cells;
    for (int i = 0; i < 8; ++i) cells.push_back({"Qq", i, "Q", i});
    for (int i = 0; i < w.Ans_Len; ++i) cells.push_back({"Aa", i, "Ans", i});
    cells.push_back({"Aa", w.Ans_Len, "Ans", 10});
    cells.push_back({"Aa", w.Ans_Len + 1, "Ans", 11});
    for (const Cell& cell : cells) {
        const std::string& text = w.control(cell.row, cell.index).caption();
        const std::string where =
            std::string(cell.row) + "(" + std::to_string(cell.index) + ") = \"" + text + "\"";
        const int value = byteIn(text);
        if (value < 0) return where;
        const std::string& shown = w.control(cell.shownRow, cell.shownIndex).caption();
        if (!shows(shown, value, hex))
            return where + " shown as " + cell.shownRow + "(" + std::to_string(cell.shownIndex) +
                   ") = \"" + shown + "\"";
    }
    return "";
}

TEST_F(ModbusTest, AnyTypedTextKeepsEveryFrameCellAByteOrItsText) {
    for (const char* text : {"", "abc", "-5", "99999", "1e300", "3.7", "  12", "0x10", "256"}) {
        for (int combo : {0, 1, 4, 5, 6, 7, 8, 9, 10, 11}) type(combo, text);
        window().typeText(c("ContNum"), text);
        window().typeText(c("Cond_Val"), text);
        for (int kind : {0, 1, 2, 3, 6, 7, 8, 9}) {
            select("Count_Length", kind);
            for (int source = 0; source <= 4; ++source) {
                SCOPED_TRACE("typed \"" + std::string(text) + "\", kind " + std::to_string(kind) +
                             ", source " + std::to_string(source));
                select("Branch", source);
                tick();
                ASSERT_EQ(wrongFrameCell(window(), false), "") << "in decimal";
                select("Hex");
                tick();
                ASSERT_EQ(wrongFrameCell(window(), true), "") << "in hexadecimal";
                select("Dec");
            }
        }
    }
}

}  // namespace
}  // namespace vk41

namespace vk41 {
namespace {

struct TypedCase {
    int kind;
    int combo;  // -1: the address
    const char* text;
    int cell;  // of the request
    const char* shown;
};

class TypedTexts : public testing::ModbusTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedTexts, NeverLeaveACellThatIsNotAByte) {
    const TypedCase& t = GetParam();
    select("Count_Length", t.kind);
    if (t.combo < 0)
        window().typeText(c("ContNum"), t.text);
    else
        type(t.combo, t.text);
    tick();
    EXPECT_EQ(c("Qq", t.cell).caption(), t.shown) << "typed \"" << t.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedTexts,
    ::testing::Values(TypedCase{9, -1, "300", 0, "255"}, TypedCase{9, -1, "-7", 0, "0"},
                      TypedCase{9, -1, "abc", 0, "0"}, TypedCase{9, -1, " 12", 0, "12"},
                      TypedCase{9, -1, "001", 0, "001"}, TypedCase{9, 6, "1x", 5, "1"},
                      TypedCase{9, 6, "01", 5, "01"}, TypedCase{2, 10, "20000", 3, "255"},
                      TypedCase{3, 8, "2.5", 5, "2"}, TypedCase{6, 4, "0", 3, "0"}),
    [](const auto& p) {
        return "Kind" + std::to_string(p.param.kind) + "_" + std::to_string(p.index);
    });

}  // namespace
}  // namespace vk41
