#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The trace line of one operator that ran, in the table's notation and the
// reader's words: "6: активен (У/Ф N5 взведён); Self / 6 = 0, Равен 1 — нет;
// self / D4 := 1 (ELSE)".
std::string traceLine(const Program& program, const OperatorStep& step);

// What a breakpoint watches: an operator about to run, or an output, flag or
// input that changes in a cycle.
enum class Watch : std::uint8_t { Operator, Output, Flag, Input };

struct Breakpoint {
    Watch what{Watch::Operator};
    int number{0};
    bool enabled{true};
    bool operator==(const Breakpoint&) const = default;
};

// Terminals forced on or off, as engineers force them on a real controller:
// bit k - 1 of `mask` forces item k to bit k - 1 of `values`.
struct Forcing {
    std::uint32_t mask{0};
    std::uint32_t values{0};
    std::uint32_t over(std::uint32_t bits) const { return (bits & ~mask) | (values & mask); }
    bool operator==(const Forcing&) const = default;
};

// The ВК-41 running its conditions block: a program and the state it works
// on, kept from cycle to cycle. It runs a cycle at a time or an operator at a
// time, stops at breakpoints, holds forced inputs and outputs, and keeps the
// trace of its last cycles.
class Controller {
  public:
    using Counters = std::array<std::uint32_t, kLineCounters>;
    // The trace lines of each of the last cycles, oldest first.
    static constexpr std::size_t kTracedCycles = 100;

    Controller();

    const Program& program() const { return *pending_; }
    const ControllerState& state() const { return state_; }
    // Cycles completed since the last restart.
    std::uint64_t cycles() const { return cycles_; }

    // A downloaded program runs from the next cycle on, on the outputs and
    // flags as they stand, as a real controller takes it.
    void load(const Program& program);
    // Every flag lowered, every output open, nothing forced, the controller
    // between cycles and running; its program and breakpoints stay.
    void restart();

    // Runs what is left of the cycle, or a whole one, which takes `inputs`
    // and `counters` as its input image. Stops before an operator that has a
    // breakpoint (but not the one it resumes at) and after a cycle in which
    // a watched item changed. Returns whether a cycle was completed.
    bool cycle(std::uint32_t inputs, const Counters& counters);
    // One operator; a cycle begun this way takes `inputs` and `counters`.
    // Returns whether it completed the cycle. Breakpoints do not stop it.
    bool stepOperator(std::uint32_t inputs, const Counters& counters);
    // What is left of the cycle, or a whole one, without stopping.
    bool stepCycle(std::uint32_t inputs, const Counters& counters);

    // A paused controller stands where it is, between cycles or before an
    // operator; `cycle` then does nothing.
    bool paused() const { return paused_; }
    void pause() {
        paused_ = true;
        ++revision_;
    }
    void resume();
    // The operator about to run, 0 between cycles.
    int nextOperator() const { return next_; }
    // Why the controller last stopped at a breakpoint; empty when it runs.
    const std::string& stopReason() const { return stopReason_; }

    // A breakpoint set again on the same item takes the new `enabled`.
    void setBreakpoint(Breakpoint b);
    void removeBreakpoint(Watch what, int number);
    void removeBreakpoints();
    const std::vector<Breakpoint>& breakpoints() const { return breakpoints_; }

    void forceInput(int k, bool on);
    void forceOutput(int k, bool on);
    // The item follows the plant (an input) or the program (an output) again.
    void unforceInput(int k);
    void unforceOutput(int k);
    void unforceAll();
    const Forcing& forcedInputs() const { return forcedInputs_; }
    const Forcing& forcedOutputs() const { return forcedOutputs_; }

    // A master's write of an output: it holds until an operator sets it,
    // and a forced output keeps its forced value.
    void writeOutput(int k, bool on);

    // The trace lines of the cycle `ago` cycles back, 0 the last one (or the
    // one under way), with its stop's line when one stopped it.
    std::vector<std::string> trace(std::size_t ago = 0) const;
    std::size_t tracedCycles() const { return traced_; }
    void clearTrace() {
        traced_ = 0;
        ++revision_;
    }

    // Grows with every change of what the controller holds or shows: its
    // state, program, stepping, breakpoints, forcing and trace. A view that
    // shows the controller redraws only when it has moved.
    std::uint64_t revision() const { return revision_; }

  private:
    void begin(std::uint32_t inputs, const Counters& counters);
    void runNext();
    bool finish();
    bool breaksBefore(int k) const;
    std::string changeStop() const;

    // What a cycle did, kept as it ran and put in words when asked.
    struct TracedCycle {
        std::shared_ptr<const Program> program;
        std::array<OperatorStep, kOperators> steps{};
        int ran{0};
        std::string stop;
    };
    TracedCycle& tracing() { return ring_[(first_ + traced_ - 1) % kTracedCycles]; }

    std::shared_ptr<const Program> program_;  // the program of the cycle under way
    std::shared_ptr<const Program> pending_;  // the one the next cycle runs
    ControllerState state_;
    ControllerState atBegin_;          // the state the cycle under way began from
    std::uint32_t previousInputs_{0};  // the last cycle's input image
    // The operator that last set each output and flag in this cycle.
    std::array<int, kDiscreteTerminals + 1> outputWriter_{};
    std::array<int, kConditionFlags + 1> flagWriter_{};
    std::uint64_t cycles_{0};
    int next_{0};
    bool paused_{false};
    int resumeAt_{0};  // the operator a resumed run does not stop before
    std::string stopReason_;
    std::vector<Breakpoint> breakpoints_;
    Forcing forcedInputs_;
    Forcing forcedOutputs_;
    std::vector<TracedCycle> ring_{kTracedCycles};
    std::size_t first_{0};   // the oldest traced cycle's place in the ring
    std::size_t traced_{0};  // how many it holds
    std::uint64_t revision_{0};
};

}  // namespace vk41
