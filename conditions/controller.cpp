#include "conditions/controller.h"

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

void Controller::restart() {
    state_ = {};
    cycles_ = 0;
}

void Controller::cycle(std::uint32_t inputs,
                       const std::array<std::uint32_t, kLineCounters>& counters) {
    state_ = runCycle(program_, state_, inputs, counters);
    ++cycles_;
}

}  // namespace vk41
