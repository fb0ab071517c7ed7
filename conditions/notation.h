#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conditions/program.h"

namespace vk41 {

// The table's notation, as the factory table prints it ("Self / 133",
// "self / D3", "1 р3", "У/Ф N2"). An empty row prints "-" in every column,
// and an operator without an output prints "-" for its values.
namespace notation {

enum class Column : std::uint8_t {
    Number,
    Kind,
    First,
    Second,
    Output,
    ValueIf,
    ValueElse,
    DependsOn,
    Comment,
};
inline constexpr int kColumns = 9;
// The column's title: "№", "Вид", "Операнд 1" … "Комментарий".
const char* title(Column column);

std::string kindText(Comparison kind);
// The comparison alone, as a condition is said: "Равен", "Не равен".
std::string comparisonText(Comparison kind);
std::string operandText(const Operand& operand);
std::string outputText(int output);
std::string valueText(int value);
std::string dependsText(int flag);
// The text of one cell of operator `op`'s row.
std::string cell(const Operator& op, Column column);

// Reading text typed or stored: case and the spaces around "/" and after "N"
// do not matter; "1" reads as "1 р3". An operand, an output and a dependency
// may be followed by their meaning after a blank and an em dash, as the
// editor's lists write them ("Self / 132 — выход 4, реле насоса"): what
// follows is not read. Each gives the value, or in `why` what was expected,
// in the reader's words.
template <typename T>
struct Read {
    std::optional<T> value;
    std::string why;
};
Read<Comparison> readKind(std::string_view text);
Read<Operand> readOperand(std::string_view text);
Read<int> readOutput(std::string_view text);
Read<int> readValue(std::string_view text);
Read<int> readDepends(std::string_view text);

// Reads `text` into one column of `op`, in the context of the row's kind
// and output read before it: an empty row keeps only its comment, an
// operator without an output no values (their cells are not read), and an
// operator with an output needs both values. Returns what was expected when
// the text does not read, leaving the field as it was.
std::optional<std::string> readCell(Operator& op, Column column, std::string_view text);

}  // namespace notation
}  // namespace vk41
