#include "conditions/program_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "conditions/notation.h"
#include "plant/terminals.h"

namespace vk41 {
namespace {

// The outputs the installation's wires reach.
constexpr std::array<int, 4> kWiredOutputs = {terminal::kGreenLamp, terminal::kPumpRelay,
                                              terminal::kAccident, terminal::kUvLampRelay};

bool wired(int output) {
    return std::find(kWiredOutputs.begin(), kWiredOutputs.end(), output) != kWiredOutputs.end();
}

bool empty(const Operator& op) {
    return op.kind == Comparison::None;
}

std::string flagText(int k) {
    return notation::dependsText(k);
}

// The values an operand can take, whatever the plant does.
struct Range {
    std::int64_t least, most;
};

std::optional<Range> rangeOf(const Operand& operand) {
    switch (operand.kind) {
        case OperandKind::Input:
        case OperandKind::Output:
        case OperandKind::Flag:
            return Range{0, 1};
        case OperandKind::Counter:
            return Range{0, std::numeric_limits<std::uint32_t>::max()};
        case OperandKind::Constant:
            return Range{operand.number, operand.number};
        case OperandKind::None:
            break;
    }
    return std::nullopt;
}

enum class Outcome { Varies, AlwaysHolds, NeverHolds };

Outcome opposite(Outcome o) {
    return o == Outcome::AlwaysHolds  ? Outcome::NeverHolds
           : o == Outcome::NeverHolds ? Outcome::AlwaysHolds
                                      : o;
}

// `same`: both operands are one input, output, flag or counter, read at
// one moment, so equal to each other.
Outcome outcome(Comparison kind, Range a, Range b, bool same) {
    const bool fixed = a.least == a.most && b.least == b.most;
    switch (kind) {
        case Comparison::Equal:
            if (same || (fixed && a.least == b.least)) return Outcome::AlwaysHolds;
            if (a.most < b.least || b.most < a.least) return Outcome::NeverHolds;
            return Outcome::Varies;
        case Comparison::NotEqual:
            return opposite(outcome(Comparison::Equal, a, b, same));
        case Comparison::Greater:
            if (same || a.most <= b.least) return Outcome::NeverHolds;
            if (a.least > b.most) return Outcome::AlwaysHolds;
            return Outcome::Varies;
        case Comparison::Less:
            if (same || a.least >= b.most) return Outcome::NeverHolds;
            if (a.most < b.least) return Outcome::AlwaysHolds;
            return Outcome::Varies;
        case Comparison::None:
            break;
    }
    return Outcome::Varies;
}

bool sameSignal(const Operator& op) {
    return op.first == op.second && op.first.kind != OperandKind::Constant;
}

Outcome outcomeOf(const Operator& op) {
    const auto a = rangeOf(op.first);
    const auto b = rangeOf(op.second);
    if (empty(op) || !a || !b) return Outcome::Varies;
    return outcome(op.kind, *a, *b, sameSignal(op));
}

// The condition as the row reads: "если Self / 6 Больше 1".
std::string conditionText(const Operator& op) {
    std::string text = notation::kindText(op.kind);
    for (const auto& [mark, operand] : {std::pair{"О1", &op.first}, std::pair{"О2", &op.second}})
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, std::string_view(mark).size(), notation::operandText(*operand));
    return text;
}

std::string rangeText(const Operand& operand) {
    const std::string name = notation::operandText(operand);
    switch (operand.kind) {
        case OperandKind::Input:
            return name + " — дискретный вход, он равен 0 или 1";
        case OperandKind::Output:
            return name + " — дискретный выход, он равен 0 или 1";
        case OperandKind::Flag:
            return name + " — флаг условия, он равен 0 или 1";
        case OperandKind::Counter:
            return name + " — счётчик, он не меньше 0";
        default:
            return {};
    }
}

// Why the outcome is fixed: what the operands can be.
std::string reasonOf(const Operator& op) {
    if (sameSignal(op)) return "оба операнда — " + notation::operandText(op.first);
    std::string reason;
    for (const Operand* operand : {&op.first, &op.second}) {
        const std::string range = rangeText(*operand);
        if (range.empty()) continue;
        reason += (reason.empty() ? "" : "; ") + range;
    }
    return reason.empty() ? "оба операнда — числа" : reason;
}

std::optional<std::string> conditionWarning(const Operator& op) {
    const Outcome o = outcomeOf(op);
    if (o == Outcome::Varies) return std::nullopt;
    return "условие «" + conditionText(op) + "» " +
           (o == Outcome::AlwaysHolds ? "выполняется всегда" : "не выполняется никогда") + ": " +
           reasonOf(op);
}

std::optional<std::string> outputWarning(const Operator& op) {
    if (op.output == 0 || wired(op.output)) return std::nullopt;
    return "пишет выход " + std::to_string(op.output) + " (" + notation::outputText(op.output) +
           "), а к нему ничего не подключено: установка подключена к выходам 3–6";
}

// The flags that can be raised after a restart, when every flag is lowered:
// an operator raises its flag when it can run and its condition can hold.
std::array<bool, kOperators + 1> raisableFlags(const Program& program) {
    std::array<bool, kOperators + 1> raisable{};
    for (bool grew = true; grew;) {
        grew = false;
        for (int k = 1; k <= kOperators; ++k) {
            const Operator& op = program.at(k);
            const bool runs =
                op.dependsOn == 0 ||
                (op.dependsOn <= kOperators && raisable[static_cast<std::size_t>(op.dependsOn)]);
            const bool can = !empty(op) && runs && outcomeOf(op) != Outcome::NeverHolds;
            if (can && !raisable[static_cast<std::size_t>(k)])
                grew = raisable[static_cast<std::size_t>(k)] = true;
        }
    }
    return raisable;
}

std::optional<std::string> dependencyWarning(const Program& program, int k,
                                             const std::array<bool, kOperators + 1>& raisable) {
    const int j = program.at(k).dependsOn;
    if (j == 0) return std::nullopt;
    const std::string flag = "зависит от флага " + flagText(j);
    if (j == k)
        return "зависит от собственного флага " + flagText(j) +
               ": его поднимает только сам оператор, когда выполняется, поэтому после "
               "перезапуска он не выполнится ни разу";
    if (j > kOperators)
        return flag + ", а флаги поднимают только операторы 1–14: оператор не выполнится никогда";
    if (empty(program.at(j)))
        return flag + " пустого оператора " + std::to_string(j) +
               ": этот флаг всегда опущен, оператор не выполнится никогда";
    if (!raisable[static_cast<std::size_t>(j)])
        return flag + ", а оператор " + std::to_string(j) +
               " после перезапуска не поднимает его никогда: этот оператор не выполнится тоже";
    return std::nullopt;
}

// A later operator that depends on no flag runs in every cycle and writes
// the output, IF or ELSE, after this one.
std::optional<std::string> overwrittenWarning(const Program& program, int k) {
    const int output = program.at(k).output;
    if (output == 0) return std::nullopt;
    for (int later = k + 1; later <= kOperators; ++later) {
        const Operator& op = program.at(later);
        if (empty(op) || op.output != output || op.dependsOn != 0) continue;
        return "записанное им в выход " + std::to_string(output) +
               " до установки не доходит: оператор " + std::to_string(later) +
               " пишет тот же выход позже в каждом цикле — он ни от какого флага не зависит";
    }
    return std::nullopt;
}

}  // namespace

std::vector<Finding> checkProgram(const Program& program) {
    std::vector<Finding> findings;
    const auto raisable = raisableFlags(program);
    for (int k = 1; k <= kOperators; ++k) {
        if (empty(program.at(k))) continue;
        for (auto warning : {outputWarning(program.at(k)), dependencyWarning(program, k, raisable),
                             conditionWarning(program.at(k)), overwrittenWarning(program, k)})
            if (warning) findings.push_back({k, Severity::Warning, std::move(*warning)});
    }
    return findings;
}

std::string findingLine(const Finding& finding) {
    return "Оператор " + std::to_string(finding.row) +
           (finding.severity == Severity::Error ? ", ошибка: " : ", предупреждение: ") +
           finding.text;
}

std::string checkListText(std::vector<Finding> findings) {
    if (findings.empty()) return "Замечаний нет: программу можно загрузить в контроллер.";
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return a.row != b.row ? a.row < b.row : a.severity < b.severity;
    });
    std::string text;
    for (const Finding& f : findings) text += (text.empty() ? "" : "\n") + findingLine(f);
    return text;
}

bool hasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace vk41
