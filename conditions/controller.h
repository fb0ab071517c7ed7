#pragma once

#include <array>
#include <cstdint>

#include "conditions/program.h"

namespace vk41 {

// What the controller holds: its input image, outputs and condition flags,
// the operators that were active in the last cycle and the counters it read
// from the line. Bit k - 1 is input, output, flag or operator k.
struct ControllerState {
    std::uint32_t inputs{0};
    std::uint32_t outputs{0};
    std::uint32_t flags{0};
    std::uint32_t active{0};
    std::array<std::uint32_t, kLineCounters> counters{};
    bool operator==(const ControllerState&) const = default;
};

constexpr bool bitOf(std::uint32_t bits, int k) {
    return k >= 1 && k <= 32 && (bits >> (k - 1) & 1) != 0;
}
constexpr void setBit(std::uint32_t& bits, int k, bool on) {
    if (k < 1 || k > 32) return;
    const std::uint32_t mask = std::uint32_t{1} << (k - 1);
    bits = on ? bits | mask : bits & ~mask;
}

// What one operator did when it ran.
struct OperatorStep {
    int number{0};
    bool active{false};     // an empty row, or one whose flag is lowered, is not
    std::int64_t first{0};  // the operands' values, when active
    std::int64_t second{0};
    bool holds{false};  // the condition, and so the operator's flag
    int output{0};      // the output it set, 0 for none
    int value{0};       // the value it set it to
};

// The value an operand has in `state` at this moment.
std::int64_t operandValue(const Operand& operand, const ControllerState& state);

// Runs operator `k` of `program` on `state`, changing in place its flag, its
// activity bit and the output it names:
// - a row "Нет" lowers flag k and does nothing else;
// - an operator is active when it depends on no flag, or when the flag it
//   depends on is raised at this moment; an inactive one lowers flag k and
//   writes no output;
// - an active one compares its operands as they are at this moment, raises
//   flag k exactly when the condition holds and, if it names an output, sets
//   it to value IF when the condition holds and to value ELSE when not.
OperatorStep runOperator(const Program& program, int k, ControllerState& state);

// One controller cycle: the input image and the counters taken, then
// operators 1..14 in order. An earlier operator's flag and output already
// have this cycle's values; a later operator's flag still has the last
// cycle's. The outputs it leaves then drive the plant.
ControllerState runCycle(const Program& program, ControllerState state, std::uint32_t inputs,
                         const std::array<std::uint32_t, kLineCounters>& counters);

// The ВК-41 running its conditions block: a program and the state it works
// on, kept from cycle to cycle.
class Controller {
  public:
    Controller() : program_(factoryProgram()) {}

    const Program& program() const { return program_; }
    const ControllerState& state() const { return state_; }
    // Cycles run since the last restart.
    std::uint64_t cycles() const { return cycles_; }

    // A downloaded program runs from the next cycle on, on the outputs and
    // flags as they stand, as a real controller takes it.
    void load(const Program& program) { program_ = program; }
    // Every flag lowered, every output open.
    void restart();
    void cycle(std::uint32_t inputs, const std::array<std::uint32_t, kLineCounters>& counters);
    // A master's write of an output: it holds until an operator sets it.
    void writeOutput(int k, bool on) { setBit(state_.outputs, k, on); }

  private:
    Program program_;
    ControllerState state_;
    std::uint64_t cycles_{0};
};

}  // namespace vk41
