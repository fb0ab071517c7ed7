// The check of a program: each warning on a program edited from the factory
// one, written as the editor's check list shows it.
#include "conditions/program_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "case_name.h"
#include "conditions/notation.h"
#include "program_print.h"

namespace vk41 {
namespace {

using notation::Column;

struct Edit {
    int row;
    Column column;
    const char* text;
};

struct CheckCase {
    const char* name;
    std::vector<Edit> edits;  // made on the factory program, in order
    std::vector<std::string> lines;
};

Program edited(const std::vector<Edit>& edits) {
    Program program = factoryProgram();
    for (const Edit& e : edits) {
        const auto why = notation::readCell(program.at(e.row), e.column, e.text);
        EXPECT_FALSE(why) << e.text << ": " << why.value_or("");
    }
    return program;
}

std::vector<std::string> linesOf(const std::vector<Finding>& findings) {
    std::vector<std::string> lines;
    for (const Finding& f : findings) lines.push_back(findingLine(f));
    return lines;
}

constexpr const char* kNever =
    "после перезапуска не поднимает его никогда: этот оператор не выполнится тоже";

class ProgramCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ProgramCheck, WarnsAsTheListSays) {
    const Program program = edited(GetParam().edits);
    EXPECT_EQ(linesOf(checkProgram(program)), GetParam().lines)
        << ::testing::PrintToString(program);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Warnings, ProgramCheck, ::testing::Values(
    CheckCase{"UnwiredOutput",        {{1, Column::Output, "self / D7"}},
              {"Оператор 1, предупреждение: пишет выход 7 (self / D7), а к нему ничего не подключено: установка подключена к выходам 3–6"}},
    CheckCase{"OwnFlag",              {{3, Column::DependsOn, "У/Ф N3"}},
              {"Оператор 3, предупреждение: зависит от собственного флага У/Ф N3: его поднимает только сам оператор, когда выполняется, поэтому после перезапуска он не выполнится ни разу"}},
    CheckCase{"EmptyRowsFlag",        {{3, Column::DependsOn, "У/Ф N4"}},
              {"Оператор 3, предупреждение: зависит от флага У/Ф N4 пустого оператора 4: этот флаг всегда опущен, оператор не выполнится никогда"}},
    CheckCase{"FlagPastTheOperators", {{3, Column::DependsOn, "У/Ф N20"}},
              {"Оператор 3, предупреждение: зависит от флага У/Ф N20, а флаги поднимают только операторы 1–14: оператор не выполнится никогда"}},
    CheckCase{"FlagsWaitingForEachOther", {{2, Column::DependsOn, "У/Ф N3"}},
              {std::string("Оператор 2, предупреждение: зависит от флага У/Ф N3, а оператор 3 ") + kNever,
               std::string("Оператор 3, предупреждение: зависит от флага У/Ф N2, а оператор 2 ") + kNever}},
    CheckCase{"InputEqualToTwo",      {{3, Column::Second, "2"}},
              {"Оператор 3, предупреждение: условие «если Self / 4 Равен 2» не выполняется никогда: Self / 4 — дискретный вход, он равен 0 или 1"}},
    CheckCase{"OutputGreaterThanOne", {{5, Column::Kind, "Больше"}},
              {"Оператор 5, предупреждение: условие «если Self / 132 Больше 1» не выполняется никогда: Self / 132 — дискретный выход, он равен 0 или 1",
               std::string("Оператор 6, предупреждение: зависит от флага У/Ф N5, а оператор 5 ") + kNever}},
    CheckCase{"OutputLessThanTwo",    {{2, Column::Kind, "Меньше"}, {2, Column::Second, "2"}},
              {"Оператор 2, предупреждение: условие «если Self / 131 Меньше 2» выполняется всегда: Self / 131 — дискретный выход, он равен 0 или 1"}},
    CheckCase{"FlagNotEqualToFive",   {{2, Column::First, "У/Ф N1"}, {2, Column::Kind, "Не равен"}, {2, Column::Second, "5"}},
              {"Оператор 2, предупреждение: условие «если У/Ф N1 Не равен 5» выполняется всегда: У/Ф N1 — флаг условия, он равен 0 или 1"}},
    CheckCase{"FlagGreaterThanZero",  {{2, Column::First, "У/Ф N1"}, {2, Column::Kind, "Больше"}, {2, Column::Second, "0"}},
              {}},
    CheckCase{"CounterBelowZero",     {{2, Column::First, "8 / 1"}, {2, Column::Kind, "Меньше"}, {2, Column::Second, "0"}},
              {"Оператор 2, предупреждение: условие «если 8 / 1 Меньше 0» не выполняется никогда: 8 / 1 — счётчик, он не меньше 0",
               std::string("Оператор 3, предупреждение: зависит от флага У/Ф N2, а оператор 2 ") + kNever}},
    CheckCase{"CounterAboveAThousand",{{2, Column::First, "8 / 1"}, {2, Column::Kind, "Больше"}, {2, Column::Second, "1000"}},
              {}},
    CheckCase{"OneOutputWithItself",  {{2, Column::Second, "Self / 131"}},
              {"Оператор 2, предупреждение: условие «если Self / 131 Равен Self / 131» выполняется всегда: оба операнда — Self / 131"}},
    CheckCase{"TwoNumbers",           {{2, Column::First, "5"}, {2, Column::Second, "7"}},
              {"Оператор 2, предупреждение: условие «если 5 Равен 7» не выполняется никогда: оба операнда — числа",
               std::string("Оператор 3, предупреждение: зависит от флага У/Ф N2, а оператор 2 ") + kNever}},
    CheckCase{"OutputWrittenAgainLater", {{2, Column::Output, "self / D3"}},
              {"Оператор 1, предупреждение: записанное им в выход 3 до установки не доходит: оператор 2 пишет тот же выход позже в каждом цикле — он ни от какого флага не зависит"}},
    CheckCase{"PumpWrittenInEveryCycle", {{12, Column::DependsOn, "нет"}},
              {"Оператор 6, предупреждение: записанное им в выход 4 до установки не доходит: оператор 12 пишет тот же выход позже в каждом цикле — он ни от какого флага не зависит",
               "Оператор 9, предупреждение: записанное им в выход 4 до установки не доходит: оператор 12 пишет тот же выход позже в каждом цикле — он ни от какого флага не зависит"}}
), testing::caseName<CheckCase>);
// clang-format on

TEST(ProgramCheck, FindsNothingInTheFactoryProgram) {
    EXPECT_EQ(checkProgram(factoryProgram()), std::vector<Finding>{});
    EXPECT_EQ(checkListText({}), "Замечаний нет: программу можно загрузить в контроллер.");
}

TEST(ProgramCheck, FindsNothingInAnEmptyProgram) {
    EXPECT_EQ(checkProgram(Program{}), std::vector<Finding>{});
}

TEST(ProgramCheck, ListsRowByRowWithTheErrorsOfARowFirst) {
    const std::vector<Finding> findings = {
        {5, Severity::Warning, "б"}, {2, Severity::Warning, "а"}, {5, Severity::Error, "в"}};
    EXPECT_TRUE(hasErrors(findings));
    EXPECT_FALSE(hasErrors({findings[0], findings[1]}));
    EXPECT_EQ(
        checkListText(findings),
        "Оператор 2, предупреждение: а\nОператор 5, ошибка: в\nОператор 5, предупреждение: б");
}

}  // namespace
}  // namespace vk41
