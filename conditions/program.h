#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vk41 {

// The conditions block's program: fourteen operators, each a comparison of two
// operands that raises the operator's condition flag and may set one of the
// controller's own discrete outputs. The factory program runs the
// installation; a learner's program is another instance of the same table.

inline constexpr int kOperators = 14;
inline constexpr int kConditionFlags = 32;
inline constexpr int kDiscreteTerminals = 32;  // inputs 1..32, outputs 1..32
inline constexpr int kLineCounters = 4;        // counters 8 / 1 .. 8 / 4
// The line's slave whose counters the controller reads: the ВК-12 at address 8.
inline constexpr int kLineDevice = 8;
// The operand "Self / k" names output k - 128 from 129 on.
inline constexpr int kOwnOutputBase = 128;
inline constexpr int kLargestConstant = 65535;

// The column "Вид".
enum class Comparison : std::uint8_t {
    None,      // "Нет": an empty row
    Equal,     // "если О1 Равен О2"
    NotEqual,  // "если О1 Не равен О2"
    Greater,   // "если О1 Больше О2"
    Less,      // "если О1 Меньше О2"
};

enum class OperandKind : std::uint8_t {
    None,      // "-": an empty row's operand
    Input,     // "Self / k", k 1..32: the controller's own discrete input k
    Output,    // "Self / k", k 129..160: its own discrete output k - 128
    Flag,      // "У/Ф Nk": condition flag k
    Counter,   // "8 / n": counter n of the line's slave at address 8
    Constant,  // a whole number 0..65535
};

struct Operand {
    OperandKind kind{OperandKind::None};
    int number{0};  // input, output, flag or counter number; a constant's value
    bool operator==(const Operand&) const = default;
};

struct Operator {
    Comparison kind{Comparison::None};
    Operand first;
    Operand second;
    int output{0};  // "self / Dk": the own discrete output k it sets; 0 "нет"
    int valueIf{0};
    int valueElse{0};
    int dependsOn{0};  // "У/Ф Nk": runs only while flag k is raised; 0 "нет"
    std::string comment;
    bool operator==(const Operator&) const = default;
};

struct Program {
    std::array<Operator, kOperators> operators;
    // Operator k, 1..14.
    const Operator& at(int k) const { return operators[static_cast<std::size_t>(k - 1)]; }
    Operator& at(int k) { return operators[static_cast<std::size_t>(k - 1)]; }
    bool operator==(const Program&) const = default;
};

// The program the installation comes with.
const Program& factoryProgram();

}  // namespace vk41
