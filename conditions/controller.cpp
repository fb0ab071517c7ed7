#include "conditions/controller.h"

#include "conditions/notation.h"

namespace vk41 {

std::int64_t operandValue(const Operand& operand, const ControllerState& state) {
    switch (operand.kind) {
        case OperandKind::None:
            return 0;
        case OperandKind::Input:
            return bitOf(state.inputs, operand.number);
        case OperandKind::Output:
            return bitOf(state.outputs, operand.number);
        case OperandKind::Flag:
            return bitOf(state.flags, operand.number);
        case OperandKind::Counter:
            if (operand.number < 1 || operand.number > kLineCounters) return 0;
            return state.counters[static_cast<std::size_t>(operand.number - 1)];
        case OperandKind::Constant:
            return operand.number;
    }
    return 0;
}

namespace {

bool compare(Comparison kind, std::int64_t a, std::int64_t b) {
    switch (kind) {
        case Comparison::None:
            return false;
        case Comparison::Equal:
            return a == b;
        case Comparison::NotEqual:
            return a != b;
        case Comparison::Greater:
            return a > b;
        case Comparison::Less:
            return a < b;
    }
    return false;
}

}  // namespace

OperatorStep runOperator(const Program& program, int k, ControllerState& state) {
    const Operator& op = program.at(k);
    OperatorStep step;
    step.number = k;
    step.active =
        op.kind != Comparison::None && (op.dependsOn == 0 || bitOf(state.flags, op.dependsOn));
    setBit(state.active, k, step.active);
    if (!step.active) {
        setBit(state.flags, k, false);
        return step;
    }
    step.first = operandValue(op.first, state);
    step.second = operandValue(op.second, state);
    step.holds = compare(op.kind, step.first, step.second);
    setBit(state.flags, k, step.holds);
    if (op.output != 0) {
        step.output = op.output;
        step.value = step.holds ? op.valueIf : op.valueElse;
        setBit(state.outputs, op.output, step.value != 0);
    }
    return step;
}

ControllerState runCycle(const Program& program, ControllerState state, std::uint32_t inputs,
                         const std::array<std::uint32_t, kLineCounters>& counters) {
    state.inputs = inputs;
    state.counters = counters;
    for (int k = 1; k <= kOperators; ++k) runOperator(program, k, state);
    return state;
}

// ---------------------------------------------------------------------------
// The trace.

namespace {

std::string valued(const Operand& operand, std::int64_t value) {
    if (operand.kind == OperandKind::Constant) return notation::operandText(operand);
    return notation::operandText(operand) + " = " + std::to_string(value);
}

}  // namespace

std::string traceLine(const Program& program, const OperatorStep& step) {
    const Operator& op = program.at(step.number);
    std::string line = std::to_string(step.number) + ": ";
    const std::string flag = "флаг " + std::to_string(step.number);
    if (op.kind == Comparison::None) return line + "пусто (Нет); " + flag + " сброшен";
    const std::string source = op.dependsOn ? notation::dependsText(op.dependsOn) : "";
    if (!step.active) return line + "не активен (" + source + " не взведён); " + flag + " сброшен";
    line += op.dependsOn ? "активен (" + source + " взведён); " : "активен; ";
    line += valued(op.first, step.first) + ", " + notation::comparisonText(op.kind) + " " +
            valued(op.second, step.second) + (step.holds ? " — да" : " — нет");
    if (step.output) {
        line += "; " + notation::outputText(step.output) + " := " + std::to_string(step.value) +
                (step.holds ? " (IF)" : " (ELSE)");
    }
    return line;
}

// ---------------------------------------------------------------------------
// Running, stepping and stopping.

Controller::Controller()
    : program_(std::make_shared<const Program>(factoryProgram())), pending_(program_) {}

void Controller::load(const Program& program) {
    ++revision_;
    pending_ = std::make_shared<const Program>(program);
    if (next_ == 0) program_ = pending_;
}

void Controller::restart() {
    ++revision_;
    state_ = {};
    cycles_ = 0;
    next_ = 0;
    paused_ = false;
    resumeAt_ = 0;
    stopReason_.clear();
    forcedInputs_ = {};
    forcedOutputs_ = {};
    program_ = pending_;
}

void Controller::begin(std::uint32_t inputs, const Counters& counters) {
    ++revision_;
    program_ = pending_;
    previousInputs_ = state_.inputs;
    state_.inputs = forcedInputs_.over(inputs);
    state_.counters = counters;
    state_.outputs = forcedOutputs_.over(state_.outputs);
    atBegin_ = state_;
    outputWriter_.fill(0);
    flagWriter_.fill(0);
    if (traced_ == kTracedCycles)
        first_ = (first_ + 1) % kTracedCycles;
    else
        ++traced_;
    TracedCycle& traced = tracing();
    traced.program = program_;
    traced.ran = 0;
    traced.stop.clear();
    next_ = 1;
}

void Controller::runNext() {
    ++revision_;
    const ControllerState before = state_;
    const OperatorStep step = runOperator(*program_, next_, state_);
    // A forced output holds whatever the program sets.
    state_.outputs = forcedOutputs_.over(state_.outputs);
    // The operator that changed an output or a flag names the change.
    if (step.output && bitOf(before.outputs, step.output) != bitOf(state_.outputs, step.output))
        outputWriter_[static_cast<std::size_t>(step.output)] = next_;
    if (bitOf(before.flags, next_) != bitOf(state_.flags, next_))
        flagWriter_[static_cast<std::size_t>(next_)] = next_;
    TracedCycle& traced = tracing();
    traced.steps[static_cast<std::size_t>(traced.ran++)] = step;
    ++next_;
}

// Ends the cycle after its last operator; a watched change stops the
// controller after it.
bool Controller::finish() {
    ++revision_;
    next_ = 0;
    ++cycles_;
    stopReason_ = changeStop();
    if (!stopReason_.empty()) {
        paused_ = true;
        tracing().stop = stopReason_;
    }
    return true;
}

bool Controller::breaksBefore(int k) const {
    for (const Breakpoint& b : breakpoints_)
        if (b.enabled && b.what == Watch::Operator && b.number == k) return true;
    return false;
}

// "останов: выход 4 изменился 1 → 0 (цикл 812, оператор 6)", or empty.
std::string Controller::changeStop() const {
    for (const Breakpoint& b : breakpoints_) {
        if (!b.enabled || b.what == Watch::Operator) continue;
        const std::uint32_t ControllerState::*bits =
            b.what == Watch::Output ? &ControllerState::outputs
            : b.what == Watch::Flag ? &ControllerState::flags
                                    : &ControllerState::inputs;
        const bool was = bitOf(atBegin_.*bits, b.number);
        const bool now = bitOf(state_.*bits, b.number);
        if (b.what == Watch::Input) {
            // An input changes as the cycle takes its image: against the last cycle's.
            if (bitOf(previousInputs_, b.number) == now) continue;
        } else if (was == now) {
            continue;
        }
        const char* what = b.what == Watch::Output ? "выход "
                           : b.what == Watch::Flag ? "флаг "
                                                   : "вход ";
        std::string text =
            "останов: " + std::string(what) + std::to_string(b.number) + " изменился " +
            std::to_string(b.what == Watch::Input ? bitOf(previousInputs_, b.number) : was) +
            " → " + std::to_string(now) + " (цикл " + std::to_string(cycles_);
        const auto index = static_cast<std::size_t>(b.number);
        const int writer = b.what == Watch::Output ? outputWriter_[index]
                           : b.what == Watch::Flag ? flagWriter_[index]
                                                   : 0;
        if (writer) text += ", оператор " + std::to_string(writer);
        return text + ")";
    }
    return {};
}

bool Controller::cycle(std::uint32_t inputs, const Counters& counters) {
    if (paused_) return false;
    if (next_ == 0) begin(inputs, counters);
    while (next_ <= kOperators) {
        if (next_ != resumeAt_ && breaksBefore(next_)) {
            paused_ = true;
            ++revision_;
            stopReason_ = "останов: перед оператором " + std::to_string(next_) + " (цикл " +
                          std::to_string(cycles_ + 1) + ")";
            tracing().stop = stopReason_;
            return false;
        }
        resumeAt_ = 0;
        runNext();
    }
    return finish();
}

bool Controller::stepOperator(std::uint32_t inputs, const Counters& counters) {
    if (next_ == 0) begin(inputs, counters);
    runNext();
    resumeAt_ = 0;
    return next_ > kOperators && finish();
}

bool Controller::stepCycle(std::uint32_t inputs, const Counters& counters) {
    if (next_ == 0) begin(inputs, counters);
    while (next_ <= kOperators) runNext();
    resumeAt_ = 0;
    return finish();
}

std::vector<std::string> Controller::trace(std::size_t ago) const {
    if (ago >= traced_) return {};
    const TracedCycle& c = ring_[(first_ + traced_ - 1 - ago) % kTracedCycles];
    std::vector<std::string> lines;
    for (int i = 0; i < c.ran; ++i)
        lines.push_back(traceLine(*c.program, c.steps[static_cast<std::size_t>(i)]));
    if (!c.stop.empty()) lines.push_back(c.stop);
    return lines;
}

void Controller::resume() {
    ++revision_;
    paused_ = false;
    stopReason_.clear();
    resumeAt_ = next_;
}

void Controller::setBreakpoint(Breakpoint b) {
    ++revision_;
    for (Breakpoint& existing : breakpoints_)
        if (existing.what == b.what && existing.number == b.number) {
            existing.enabled = b.enabled;
            return;
        }
    breakpoints_.push_back(b);
}

void Controller::forceInput(int k, bool on) {
    ++revision_;
    setBit(forcedInputs_.mask, k, true);
    setBit(forcedInputs_.values, k, on);
    state_.inputs = forcedInputs_.over(state_.inputs);
}

void Controller::forceOutput(int k, bool on) {
    ++revision_;
    setBit(forcedOutputs_.mask, k, true);
    setBit(forcedOutputs_.values, k, on);
    state_.outputs = forcedOutputs_.over(state_.outputs);
}

void Controller::removeBreakpoint(Watch what, int number) {
    ++revision_;
    std::erase_if(breakpoints_,
                  [&](const Breakpoint& b) { return b.what == what && b.number == number; });
}

void Controller::removeBreakpoints() {
    ++revision_;
    breakpoints_.clear();
}

void Controller::unforceInput(int k) {
    ++revision_;
    setBit(forcedInputs_.mask, k, false);
}

void Controller::unforceOutput(int k) {
    ++revision_;
    setBit(forcedOutputs_.mask, k, false);
}

void Controller::unforceAll() {
    ++revision_;
    forcedInputs_ = {};
    forcedOutputs_ = {};
}

void Controller::writeOutput(int k, bool on) {
    ++revision_;
    setBit(state_.outputs, k, on);
    state_.outputs = forcedOutputs_.over(state_.outputs);
}

}  // namespace vk41
