// The operator comments under the mouse say what the table's rows do: each
// names the terminals of its row, and each skipped operator names the group
// above it and what that group does.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tools/script_driver.h"

namespace vk41 {
namespace {

class OperatorComments : public ::testing::Test {
  protected:
    OperatorComments() {
        driver.execute("menu Texttt Имитация");
        driver.execute("menu Objectt Блок Условий");
    }

    // The comment shown with the mouse over operator `op`'s row.
    std::string commentOf(int op) {
        driver.execute("hover Bl_Usl.Lab(" + std::to_string(op - 1) + ")");
        return driver.app().form("Bl_Usl").control("Curent_Coment").caption();
    }

    std::ostringstream out;
    ScriptDriver driver{out};
};

// The numbers after each match of `pattern` (its last group) in `text`.
std::set<int> numbersAfter(const std::string& text, const std::string& pattern) {
    std::set<int> numbers;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        numbers.insert(std::stoi((*it)[it->size() - 1]));
    return numbers;
}

std::string show(const std::set<int>& numbers) {
    std::string text;
    for (const int n : numbers) text += (text.empty() ? "" : ", ") + std::to_string(n);
    return "{" + text + "}";
}

// A row of the operator table: the input or output its operand 1 reads
// (Self/4..6 are inputs 4..6, Self/131..134 outputs 3..6) and the output it
// writes (self/D3..D6).
struct RowTerminals {
    int op;
    std::set<int> inputs;
    std::set<int> outputs;
};

class OperatorRows : public OperatorComments, public ::testing::WithParamInterface<RowTerminals> {};

TEST_P(OperatorRows, NameTheTerminalsOfTheirRow) {
    const RowTerminals& row = GetParam();
    const std::string comment = commentOf(row.op);
    const std::string number = R"(\s*(?:№)?\s*(\d+))";
    EXPECT_EQ(show(numbersAfter(comment, "выход" + number)), show(row.outputs)) << comment;
    // "вход" stands alone: "выход" does not contain it.
    EXPECT_EQ(show(numbersAfter(comment, "вход" + number)), show(row.inputs)) << comment;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, OperatorRows, ::testing::Values(
    //            op  inputs  outputs (operand 1 and the written one)
    RowTerminals{  1, {},     {5, 3}},
    RowTerminals{  2, {},     {3}},
    RowTerminals{  3, {4},    {5}},
    RowTerminals{  5, {},     {4}},
    RowTerminals{  6, {6},    {4}},
    RowTerminals{  8, {},     {4}},
    RowTerminals{  9, {5},    {4}},
    RowTerminals{ 11, {},     {5}},
    RowTerminals{ 12, {},     {4}},
    RowTerminals{ 13, {},     {4, 6}}),
    [](const auto& p) { return "Operator" + std::to_string(p.param.op); });
// clang-format on

// A skipped operator closes the group of operators above it, back to the
// previous skipped one; the level groups act at the switch their dependent
// operator reads (operator 6 the upper one on input 6, operator 9 the lower
// one on input 5).
struct SkippedOperator {
    int op;
    std::set<int> group;
    const char* action;  // what the comment says the group does
};

class SkippedOperators : public OperatorComments,
                         public ::testing::WithParamInterface<SkippedOperator> {};

TEST_P(SkippedOperators, NameTheGroupAboveThem) {
    const SkippedOperator& skipped = GetParam();
    const std::string comment = commentOf(skipped.op);
    std::smatch group;
    ASSERT_TRUE(std::regex_search(comment, group, std::regex("Операторы ([0-9, и]+) логически")))
        << comment;
    EXPECT_EQ(show(numbersAfter(group[1].str(), R"((\d+))")), show(skipped.group)) << comment;
    EXPECT_NE(comment.find(skipped.action), std::string::npos) << comment;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, SkippedOperators, ::testing::Values(
    //               op  group         action
    SkippedOperator{  4, {1, 2, 3},    "определяет режим работы аварийный или штатный"},
    SkippedOperator{  7, {5, 6},       "верхнего уровня насос выключается"},
    SkippedOperator{ 10, {8, 9},       "нижнего уровня включается насос"},
    SkippedOperator{ 14, {11, 12, 13}, "блокирует включение насоса и ультрафиолетовой лампы"}),
    [](const auto& p) { return "Operator" + std::to_string(p.param.op); });
// clang-format on

}  // namespace
}  // namespace vk41
