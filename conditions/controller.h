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

// Runs operator `k` of `program` on `state`: its flag, its activity bit and
// the output it names change in place.
OperatorStep runOperator(const Program& program, int k, ControllerState& state);

// One controller cycle: the input image and the counters taken, then
// operators 1..14 in order. An operator sees the flags and outputs that the
// operators before it left in this cycle, and the later ones' from the last.
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
