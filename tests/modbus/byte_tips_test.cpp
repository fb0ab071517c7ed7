// The tooltips of the byte cells, read through the driver's `tooltip`
// command at the centre of each cell: request kinds × cells × number systems.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "conditions/program.h"
#include "modbus_fixture.h"
#include "plant/objectt.h"

namespace vk41 {
namespace {

using testing::ModbusTest;

struct TipCase {
    const char* name;
    std::vector<std::string> setup;  // driver lines before the tick
    const char* row;                 // "Q" or "Ans"
    int cell;
    std::vector<std::string> lines;  // lines the tooltip holds; none: no tooltip
};

// clang-format off
const TipCase kTips[] = {
    {"FlagsAddress",      {},                                                    "Q",    0, {"Адрес контроллера в сети ModBus", "Значение: 127 = 0x7F = 01111111"}},
    {"FlagsFunction",     {},                                                    "Q",    1, {"Функция", "Функция 1: чтение дискретных выходов (Read Coils)"}},
    {"FlagsStartHigh",    {},                                                    "Q",    2, {"Начальный адрес, старший байт", "Значение: 0 = 0x00 = 00000000"}},
    {"FlagsStartLow",     {},                                                    "Q",    3, {"Начальный адрес, младший байт", "Значение: 32 = 0x20 = 00100000",
                                                                                             "Адрес 32 (0x0020): флаги логических условий, флаг 1 — авария не светится: выход 5 разомкнут"}},
    {"FlagsCount",        {},                                                    "Q",    5, {"Количество, младший байт", "Количество 32: флаги 1–32"}},
    {"FlagsCountPastTheMap", {"text ModB_Frm.Комбо1(6) 64"},                     "Q",    5, {"Количество 64: флаги 1–32, вне карты памяти"}},
    {"FlagsCrcLow",       {},                                                    "Q",    6, {"CRC, младший байт (идёт первым)", "Значение: 54 = 0x36 = 00110110",
                                                                                             "CRC-16 = 0x0636 по байтам 0–5 запроса",
                                                                                             "Щелчок открывает окно «Расчёт CRC-16» с расчётом по шагам"}},
    {"FlagsCrcHigh",      {},                                                    "Q",    7, {"CRC, старший байт", "Значение: 6 = 0x06 = 00000110"}},
    {"FlagsAnswerAddress",{},                                                    "Ans",  0, {"Адрес контроллера, который отвечает"}},
    {"FlagsByteCount",    {},                                                    "Ans",  2, {"Количество байт данных", "За ним идут 4 байта данных"}},
    {"FlagsSeven",        {},                                                    "Ans",  3, {"Байт данных 1 из 4", "Значение: 7 = 0x07 = 00000111",
                                                                                             "флаги 1–8: подняты 1, 2, 3", "бит 0 (крайний справа) — флаг 1",
                                                                                             "флаг 2 — штатный режим: выход 3 замкнут"}},
    {"FlagsNoneRaised",   {},                                                    "Ans",  6, {"Байт данных 4 из 4", "флаги 25–32: ни один не поднят"}},
    {"FlagsTankFull",     {"click ModB_Frm.Branch(1)"},                          "Ans",  3, {"Значение: 131 = 0x83 = 10000011", "флаги 1–8: подняты 1, 2, 8",
                                                                                             "флаг 8 — насос выключен: выход 4 разомкнут"}},
    {"FlagsFrom40",       {"text ModB_Frm.Комбо1(5) 40", "text ModB_Frm.Комбо1(6) 10",
                           "text ModB_Frm.Cond_Val 258"},                        "Ans",  3, {"Байт данных 1 из 2", "флаги 9–16: подняты 9", "флаг 9 — нижний уровень проверяется (условие 8)"}},
    {"FlagsPartByte",     {"text ModB_Frm.Комбо1(5) 40", "text ModB_Frm.Комбо1(6) 10",
                           "text ModB_Frm.Cond_Val 258"},                        "Ans",  4, {"Байт данных 2 из 2", "флаги 17–18: ни один не поднят",
                                                                                             "биты 2–7 не запрошены и равны 0"}},
    {"FlagsAnswerCrc",    {"text ModB_Frm.Комбо1(6) 10"},                        "Ans", 10, {"CRC, младший байт (идёт первым)", "по байтам 0–4 ответа"}},
    {"FlagsHiddenCell",   {"text ModB_Frm.Комбо1(6) 08"},                        "Ans",  4, {}},
    {"CounterRegister",   {"click ModB_Frm.Count_Length(0)"},                    "Q",    3, {"Адрес 42222 (0xA4EE): регистры счётчиков импульсов 1–4, счётчик 1 (счётчик расхода воды (ИМ-9))"}},
    {"CounterRegisters",  {"click ModB_Frm.Count_Length(0)"},                    "Q",    5, {"Количество регистров, младший байт",
                                                                                             "Количество 2: регистры 42222–42223, счётчик 1 (счётчик расхода воды (ИМ-9))"}},
    {"CounterLowByte",    {"click ModB_Frm.Count_Length(0)",
                           "text ModB_Frm.Cond_Val 300"},                        "Ans",  3, {"Байт данных 1 из 4: младший байт значения счётчика", "Значение: 44 = 0x2C = 00101100",
                                                                                             "счётчик 1 (счётчик расхода воды (ИМ-9)): значение 300 = 44 + 1 × 256"}},
    {"CounterHighByte",   {"click ModB_Frm.Count_Length(0)",
                           "text ModB_Frm.Cond_Val 300"},                        "Ans",  4, {"Байт данных 2 из 4: старший байт значения счётчика",
                                                                                             "счётчик 1 (счётчик расхода воды (ИМ-9)): значение 300 = 44 + 1 × 256"}},
    {"CounterZeros",      {"click ModB_Frm.Count_Length(1)"},                    "Ans",  8, {"Байт данных 6 из 6: старшая часть счётчика, нули"}},
    {"CounterTwo",        {"click ModB_Frm.Count_Length(0)",
                           "text ModB_Frm.Комбо1(0) 2"},                         "Ans",  3, {"счётчик 2 (счётчик импульсов №2 (не подключён)): значение 0 = 0 + 0 × 256"}},
    {"InputsStart",       {"click ModB_Frm.Count_Length(2)"},                    "Q",    3, {"Адрес 10000 (0x2710): системные дискретные входы, вход 1"}},
    {"InputsAlarm",       {"click ModB_Frm.Count_Length(2)",
                           "click ModB_Frm.Branch(3)"},                          "Ans",  3, {"Байт данных 1 из 1", "входы 1–8: замкнуты 4",
                                                                                             "вход 4 — контакт реле дифманометра (засорение фильтра)"}},
    {"InputsFunction",    {"click ModB_Frm.Count_Length(2)"},                    "Ans",  1, {"Функция 2: чтение дискретных входов (Read Discrete Inputs)"}},
    {"OutputsAlarm",      {"click ModB_Frm.Count_Length(3)",
                           "click ModB_Frm.Branch(3)"},                          "Ans",  3, {"Байт данных 1 из 4", "выходы 1–8: замкнуты 5",
                                                                                             "выход 5 — АВАРИЯ, красная лампа"}},
    {"OutputsIntoFlags",  {"click ModB_Frm.Count_Length(3)",
                           "text ModB_Frm.Комбо1(7) 31", "text ModB_Frm.Комбо1(8) 02"}, "Ans",  3, {"выход 32: не замкнут", "флаг 1: не поднят"}},
    {"CoilValue",         {"click ModB_Frm.Count_Length(6)"},                    "Q",    4, {"Значение, старший байт", "Значение 0xFF00: включить выход 1"}},
    {"CoilOff",           {"click ModB_Frm.Count_Length(6)",
                           "text ModB_Frm.Комбо1(9) 0"},                         "Q",    4, {"Значение 0x0000: выключить выход 1"}},
    {"CoilEcho",          {"click ModB_Frm.Count_Length(6)"},                    "Ans",  3, {"Начальный адрес, младший байт", "Адрес 0 (0x0000): системные дискретные выходы, выход 1",
                                                                                             "(ответ на запись повторяет запрос)"}},
    {"ResetRegister",     {"click ModB_Frm.Count_Length(7)"},                    "Q",    3, {"Адрес 60000 (0xEA60): командный регистр"}},
    {"ResetValue",        {"click ModB_Frm.Count_Length(7)"},                    "Q",    4, {"Значение 0xAA55: перезапуск контроллера"}},
    {"KvartaEcho",        {"click ModB_Frm.Count_Length(8)"},                    "Ans",  5, {"Значение, младший байт", "Значение 0x55AA: переход на протокол «Кварта» и перезапуск"}},
    {"ResetAnswerCrc",    {"click ModB_Frm.Count_Length(7)"},                    "Ans", 11, {"CRC, старший байт", "по байтам 0–5 ответа"}},
    {"FlagsRefused",      {"click ModB_Frm.Branch(0)", "text ModB_Frm.Комбо1(5) 40"}, "Ans",  1, {"Функция запроса + 0x80: контроллер отвечает исключением",
                                                                                             "Значение: 129 = 0x81 = 10000001", "Функция 1: чтение дискретных выходов (Read Coils)"}},
    {"FlagsRefusalCode",  {"click ModB_Frm.Branch(0)", "text ModB_Frm.Комбо1(5) 40"}, "Ans",  2, {"Код исключения", "Значение: 2 = 0x02 = 00000010",
                                                                                             "исключение 02: адрес вне карты памяти — флаги условий занимают адреса 32–63"}},
    {"FlagsRefusalCrc",   {"click ModB_Frm.Branch(0)", "text ModB_Frm.Комбо1(5) 40"}, "Ans", 10, {"CRC, младший байт (идёт первым)", "по байтам 0–2 ответа"}},
    {"FlagsRefusalEnds",  {"click ModB_Frm.Branch(0)", "text ModB_Frm.Комбо1(5) 40"}, "Ans",  3, {}},
    {"OutputsPastTheFlags", {"click ModB_Frm.Branch(0)", "click ModB_Frm.Count_Length(3)",
                           "text ModB_Frm.Комбо1(7) 31", "text ModB_Frm.Комбо1(8) 40"}, "Ans",  2, {"исключение 02: адрес вне карты памяти — выходы занимают адреса 0–31, флаги условий — 32–63"}},
    {"NoFlagsCounted",    {"click ModB_Frm.Branch(0)", "text ModB_Frm.Комбо1(6) 0"},  "Ans",  2, {"исключение 03: недопустимое значение — количество не может быть 0"}},
    {"OutputSevenRefused", {"click ModB_Frm.Branch(0)", "click ModB_Frm.Count_Length(6)",
                           "text ModB_Frm.Комбо1(4) 7"},                          "Ans",  2, {"исключение 02: адрес вне карты памяти — ведущий записывает только выходы 1–6, адреса 0–5"}},
};
// clang-format on

void PrintTo(const TipCase& row, std::ostream* os) {
    *os << row.name;
}

enum class Radix { Dec, Hex };

// The tooltips as the driver's `tooltip` command prints them.
class ByteTipsAt : public ModbusTest {
  protected:
    // What the tooltip command prints at the centre of a cell.
    std::string tipAt(const char* row, int cell) {
        const Control& c = this->c(row, cell);
        std::ostringstream line;
        line << "tooltip ModB_Frm " << c.windowLeft() + c.width() / 2 << ' '
             << c.windowTop() + c.height() / 2;
        out.str("");
        driver.execute(line.str());
        std::string text = out.str();
        const std::string head = "tooltip = \"";
        EXPECT_EQ(text.rfind(head, 0), 0u) << text;
        return text.substr(head.size(),
                           text.size() - head.size() - 2);  // no closing quote, newline
    }
};

class ByteTips : public ByteTipsAt,
                 public ::testing::WithParamInterface<std::tuple<TipCase, Radix>> {
  protected:
    void prepare(const TipCase& row, Radix radix) {
        for (const std::string& line : row.setup) driver.execute(line);
        driver.execute(radix == Radix::Hex ? "click ModB_Frm.Hex" : "click ModB_Frm.Dec");
        driver.execute("run 300");
    }
};

TEST_P(ByteTips, SayWhatTheCellIsAndHolds) {
    const auto& [row, radix] = GetParam();
    prepare(row, radix);
    const std::string tip = tipAt(row.row, row.cell);
    if (row.lines.empty()) {
        EXPECT_EQ(tip, "");
        return;
    }
    for (const std::string& expected : row.lines)
        EXPECT_NE(tip.find(expected), std::string::npos) << "expected\n  " << expected << "\nin\n"
                                                         << tip;
}

TEST_P(ByteTips, ReadTheSameInBothNumberSystems) {
    const auto& [row, radix] = GetParam();
    prepare(row, radix);
    const std::string first = tipAt(row.row, row.cell);
    driver.execute(radix == Radix::Hex ? "click ModB_Frm.Dec" : "click ModB_Frm.Hex");
    driver.execute("run 300");
    EXPECT_EQ(tipAt(row.row, row.cell), first);
}

INSTANTIATE_TEST_SUITE_P(Cells, ByteTips,
                         ::testing::Combine(::testing::ValuesIn(kTips),
                                            ::testing::Values(Radix::Dec, Radix::Hex)),
                         [](const auto& instance) {
                             const bool hex = std::get<1>(instance.param) == Radix::Hex;
                             return std::string(std::get<0>(instance.param).name) +
                                    (hex ? "_Hex" : "_Dec");
                         });

// A learner's program: the factory table with operator 1 told in the
// learner's words, operator 2 without a comment and operator 5 comparing the
// flow count. A flag is then named by its operator and its comment, for the
// installation's wiring no longer explains what the conditions mean.
Program learnerProgram() {
    Program p = factoryProgram();
    p.at(1).comment = "лампа штатного режима, пока нет аварии";
    p.at(2).comment = "";
    p.at(5) = {
        Comparison::Greater, {OperandKind::Counter, 1}, {OperandKind::Constant, 100}, 0, 0, 0, 0,
        "расход больше 100"};
    return p;
}

struct LearnerTipCase {
    const char* name;
    std::vector<std::string> setup;  // driver lines before the tick
    const char* row;                 // "Q" or "Ans"
    int cell;
    std::vector<std::string> lines;   // whole lines the tooltip holds
    std::vector<std::string> absent;  // texts it does not hold
    bool asFactory;                   // the factory program's tooltip is the same
};

void PrintTo(const LearnerTipCase& row, std::ostream* os) {
    *os << row.name;
}

// clang-format off
const LearnerTipCase kLearnerTips[] = {
    {"Commented",         {},                               "Ans", 3, {"флаги 1–8: подняты 1, 2, 3",
                                                                       "флаг 1: условие оператора 1 — лампа штатного режима, пока нет аварии",
                                                                       "флаг 2: условие оператора 2"},
                                                                      {"авария не светится", "штатный режим: выход 3 замкнут"},  false},
    {"FactoryComment",    {"text ModB_Frm.Cond_Val 4"},     "Ans", 3, {"флаг 3: условие оператора 3 — " + factoryProgram().at(3).comment},
                                                                      {"флаг 1:", "флаг 2:"},                                     false},
    {"ChangedOperator",   {"text ModB_Frm.Cond_Val 16"},    "Ans", 3, {"флаги 1–8: подняты 5", "флаг 5: условие оператора 5 — расход больше 100"},
                                                                      {"насос включён"},                                          false},
    {"EmptyRowUnnamed",   {"text ModB_Frm.Cond_Val 8"},     "Ans", 3, {"флаги 1–8: подняты 4"},
                                                                      {"флаг 4:", "флаг 4 —"},                                    true},
    {"PastTheOperators",  {"text ModB_Frm.Cond_Val 16384"}, "Ans", 4, {"флаги 9–16: подняты 15"},
                                                                      {"флаг 15:", "флаг 15 —"},                                  true},
    {"Address",           {},                               "Q",   3, {"Адрес 32 (0x0020): флаги логических условий, флаг 1: условие оператора 1 — лампа штатного режима, пока нет аварии"},
                                                                      {"разомкнут"},                                              false},
    {"AddressNoComment",  {"text ModB_Frm.Комбо1(5) 33"},   "Q",   3, {"Адрес 33 (0x0021): флаги логических условий, флаг 2: условие оператора 2"},
                                                                      {},                                                         false},
    {"OutputsKeepWiring", {"click ModB_Frm.Count_Length(3)",
                           "click ModB_Frm.Branch(3)"},     "Ans", 3, {"выход 5 — АВАРИЯ, красная лампа"},
                                                                      {},                                                         true},
};
// clang-format on

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class LearnerByteTips : public ByteTipsAt, public ::testing::WithParamInterface<LearnerTipCase> {
  protected:
    LearnerByteTips() { scheme().controller().load(learnerProgram()); }
    Objectt& scheme() { return driver.app().form<Objectt>("Objectt"); }
    std::string prepared(const LearnerTipCase& row) {
        for (const std::string& line : row.setup) driver.execute(line);
        driver.execute("run 300");
        return tipAt(row.row, row.cell);
    }
};

TEST_P(LearnerByteTips, NameFlagsByTheirOperatorsComments) {
    const LearnerTipCase& row = GetParam();
    const std::string tip = prepared(row);
    const std::vector<std::string> lines = linesOf(tip);
    for (const std::string& expected : row.lines)
        EXPECT_TRUE(std::ranges::find(lines, expected) != lines.end())
            << "expected the line\n  " << expected << "\nin\n"
            << tip;
    for (const std::string& text : row.absent)
        EXPECT_EQ(tip.find(text), std::string::npos) << "not expected\n  " << text << "\nin\n"
                                                     << tip;
}

// The factory program loaded again, its flags say again what they mean.
TEST_P(LearnerByteTips, AreTheFactoryOnesOnceTheFactoryProgramIsBack) {
    const LearnerTipCase& row = GetParam();
    const std::string learner = prepared(row);
    scheme().controller().load(factoryProgram());
    driver.execute("run 300");
    const std::string factory = tipAt(row.row, row.cell);
    EXPECT_EQ(factory.find("условие оператора"), std::string::npos) << factory;
    if (row.asFactory)
        EXPECT_EQ(factory, learner) << "what the program does not name stays as it is";
    else
        EXPECT_NE(factory, learner);
}

INSTANTIATE_TEST_SUITE_P(LearnerProgram, LearnerByteTips, ::testing::ValuesIn(kLearnerTips),
                         [](const auto& tip) { return std::string(tip.param.name); });

TEST_F(ModbusTest, NoByteTooltipBeforeTheFirstTick) {
    const Control& q = c("Q", 0);
    EXPECT_EQ(window().toolTipAt(q.windowLeft() + 10, q.windowTop() + 10), "");
}

TEST_F(ModbusTest, ByteTooltipsFollowEveryTick) {
    const Control& cell = c("Ans", 3);
    const auto tip = [&] {
        return window().toolTipAt(cell.windowLeft() + 10, cell.windowTop() + 10);
    };
    tick();
    EXPECT_NE(tip().find("подняты 1, 2, 3"), std::string::npos) << tip();
    window().typeText(c("Cond_Val"), "16");
    EXPECT_NE(tip().find("подняты 1, 2, 3"), std::string::npos) << "the cell shows the last tick";
    tick();
    EXPECT_NE(tip().find("флаги 1–8: подняты 5"), std::string::npos) << tip();
}

TEST_F(ModbusTest, ChoosingAnotherKindChangesNothingUntilTheTick) {
    tick();
    const Control& cell = c("Q", 5);
    const auto tip = [&] {
        return window().toolTipAt(cell.windowLeft() + 10, cell.windowTop() + 10);
    };
    const std::string before = tip();
    select("Count_Length", 7);
    EXPECT_EQ(tip(), before);
    tick();
    EXPECT_NE(tip().find("Значение 0xAA55"), std::string::npos) << tip();
}

}  // namespace
}  // namespace vk41
