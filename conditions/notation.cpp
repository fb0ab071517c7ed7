#include "conditions/notation.h"

#include <array>
#include <charconv>
#include <utility>

namespace vk41::notation {
namespace {

// clang-format off
constexpr std::array<const char*, kColumns> kTitles = {
    "№", "Вид", "Операнд 1", "Операнд 2", "Выход", "Знач. IF", "Знач. ELSE", "Зависит от", "Комментарий",
};

struct KindName {
    Comparison kind;
    const char* text;        // as the table prints it
    const char* comparison;  // the comparison alone, as a condition is said
    const char* word;        // the comparison alone, as a learner may type it
    const char* sign;
};
constexpr std::array<KindName, 5> kKinds = {{
    {Comparison::None,     "Нет",                 "Нет",       "нет",       "-"},
    {Comparison::Equal,    "если О1 Равен О2",    "Равен",     "равен",     "="},
    {Comparison::NotEqual, "если О1 Не равен О2", "Не равен",  "не равен",  "<>"},
    {Comparison::Greater,  "если О1 Больше О2",   "Больше",    "больше",    ">"},
    {Comparison::Less,     "если О1 Меньше О2",   "Меньше",    "меньше",    "<"},
}};
// clang-format on

constexpr const char* kKindsExpected =
    "вид оператора: Нет, если О1 Равен О2, если О1 Не равен О2, если О1 Больше О2 или "
    "если О1 Меньше О2";
constexpr const char* kOperandExpected =
    "операнд: Self / 1…32 (входы), Self / 129…160 (выходы), У/Ф N1…N32 (флаги), 8 / 1…8 / 4 "
    "(счётчики) или число от 0 до 65535";
constexpr const char* kSelfExpected = "входы Self / 1…32, выходы Self / 129…160";
constexpr const char* kFlagExpected = "флаги условий У/Ф N1…N32";
constexpr const char* kCounterExpected = "счётчики ведомого ВК-12 с адресом 8: 8 / 1…8 / 4";
constexpr const char* kConstantExpected = "число от 0 до 65535";
constexpr const char* kOutputExpected = "«нет» или собственный выход self / D1…D32";
constexpr const char* kValueExpected = "значение 0 или 1 (0 р3, 1 р3)";
constexpr const char* kDependsExpected = "«нет» или флаг условия У/Ф N1…N32";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Lower case for ASCII and the Russian capitals (А..Я, Ё), which UTF-8 writes
// as D0 90..D0 AF and D0 81.
std::string lowered(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c + ('a' - 'A'));
            continue;
        }
        if (c == 0xD0 && i + 1 < text.size()) {
            const auto n = static_cast<unsigned char>(text[i + 1]);
            if (n >= 0x90 && n <= 0x9F) {  // А..П → а..п
                out += static_cast<char>(0xD0);
                out += static_cast<char>(n + 0x20);
                ++i;
                continue;
            }
            if (n >= 0xA0 && n <= 0xAF) {  // Р..Я → р..я
                out += static_cast<char>(0xD1);
                out += static_cast<char>(n - 0x20);
                ++i;
                continue;
            }
            if (n == 0x81) {  // Ё → ё
                out += static_cast<char>(0xD1);
                out += static_cast<char>(0x91);
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

// Without any blank, in lower case: "Self / 133" and "self/133" read alike.
std::string squeezed(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!isSpace(c)) out += c;
    return lowered(out);
}

// Words separated by single blanks, in lower case.
std::string words(std::string_view text) {
    std::string out;
    bool gap = false;
    for (char c : text) {
        if (isSpace(c)) {
            gap = !out.empty();
            continue;
        }
        if (gap) out += ' ';
        gap = false;
        out += c;
    }
    return lowered(out);
}

// A list entry names what a cell means after an em dash: "Self / 6 —
// вход 6, верхний концевой выключатель". What stands from the blank before
// the dash on is not the notation.
std::string_view withoutMeaning(std::string_view text) {
    constexpr std::string_view kDash = "\xE2\x80\x94";  // U+2014
    for (std::size_t at = text.find(kDash); at != std::string_view::npos;
         at = text.find(kDash, at + kDash.size())) {
        if (at == 0 || !isSpace(text[at - 1])) continue;
        std::size_t end = at;
        while (end > 0 && isSpace(text[end - 1])) --end;
        return text.substr(0, end);
    }
    return text;
}

bool blank(std::string_view squeezedText) {
    return squeezedText.empty() || squeezedText == "-";
}

// A whole number written in digits only, small enough to compare.
std::optional<long> digits(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.front() == '-')
        return std::nullopt;
    return value;
}

bool consume(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// "у/фn5", "у/ф№5": the number after the flag's sign, if the text has the sign.
std::optional<std::string_view> flagNumber(std::string_view text) {
    if (!consume(text, "у/ф")) return std::nullopt;
    if (!consume(text, "n") && !consume(text, "№") && !consume(text, "н")) return std::nullopt;
    return text;
}

template <typename T>
Read<T> fails(const char* why) {
    return {std::nullopt, why};
}

Read<int> inRange(std::string_view text, int least, int most, const char* why) {
    const auto n = digits(text);
    if (!n || *n < least || *n > most) return fails<int>(why);
    return {static_cast<int>(*n), {}};
}

}  // namespace

const char* title(Column column) {
    return kTitles[static_cast<std::size_t>(column)];
}

std::string kindText(Comparison kind) {
    return kKinds[static_cast<std::size_t>(kind)].text;
}

std::string comparisonText(Comparison kind) {
    return kKinds[static_cast<std::size_t>(kind)].comparison;
}

std::string operandText(const Operand& operand) {
    const std::string n = std::to_string(operand.number);
    switch (operand.kind) {
        case OperandKind::None:
            return "-";
        case OperandKind::Input:
            return "Self / " + n;
        case OperandKind::Output:
            return "Self / " + std::to_string(operand.number + kOwnOutputBase);
        case OperandKind::Flag:
            return "У/Ф N" + n;
        case OperandKind::Counter:
            return std::to_string(kLineDevice) + " / " + n;
        case OperandKind::Constant:
            return n;
    }
    return "-";
}

std::string outputText(int output) {
    return output == 0 ? "нет" : "self / D" + std::to_string(output);
}

std::string valueText(int value) {
    return std::to_string(value) + " р3";
}

std::string dependsText(int flag) {
    return flag == 0 ? "нет" : "У/Ф N" + std::to_string(flag);
}

std::string cell(const Operator& op, Column column) {
    const bool empty = op.kind == Comparison::None;
    switch (column) {
        case Column::Number:
            return {};
        case Column::Kind:
            return kindText(op.kind);
        case Column::First:
            return empty ? "-" : operandText(op.first);
        case Column::Second:
            return empty ? "-" : operandText(op.second);
        case Column::Output:
            return empty ? "-" : outputText(op.output);
        case Column::ValueIf:
            return empty || op.output == 0 ? "-" : valueText(op.valueIf);
        case Column::ValueElse:
            return empty || op.output == 0 ? "-" : valueText(op.valueElse);
        case Column::DependsOn:
            return empty ? "-" : dependsText(op.dependsOn);
        case Column::Comment:
            return op.comment;
    }
    return {};
}

Read<Comparison> readKind(std::string_view text) {
    std::string typed = words(text);
    // A Latin "O" in "О1" and "О2" looks the same as the Cyrillic one.
    for (const char* latin : {"o1", "o2"})
        for (std::size_t at = typed.find(latin); at != std::string::npos; at = typed.find(latin))
            typed.replace(at, 1, "о");
    if (typed.empty() || typed == "-") return {Comparison::None, {}};
    for (const KindName& k : kKinds)
        if (typed == lowered(k.text) || typed == k.word || typed == k.sign) return {k.kind, {}};
    return fails<Comparison>(kKindsExpected);
}

Read<Operand> readOperand(std::string_view text) {
    const std::string typed = squeezed(withoutMeaning(text));
    std::string_view s = typed;
    if (blank(s)) return fails<Operand>(kOperandExpected);
    if (consume(s, "self/")) {
        const auto k = digits(s);
        if (k && *k >= 1 && *k <= kDiscreteTerminals)
            return {Operand{OperandKind::Input, static_cast<int>(*k)}, {}};
        if (k && *k > kOwnOutputBase && *k <= kOwnOutputBase + kDiscreteTerminals)
            return {Operand{OperandKind::Output, static_cast<int>(*k) - kOwnOutputBase}, {}};
        return fails<Operand>(kSelfExpected);
    }
    if (const auto flag = flagNumber(s)) {
        const Read<int> k = inRange(*flag, 1, kConditionFlags, kFlagExpected);
        if (!k.value) return fails<Operand>(kFlagExpected);
        return {Operand{OperandKind::Flag, *k.value}, {}};
    }
    if (const std::size_t slash = s.find('/'); slash != std::string_view::npos) {
        const auto device = digits(s.substr(0, slash));
        const auto n = digits(s.substr(slash + 1));
        if (device != kLineDevice || !n || *n < 1 || *n > kLineCounters)
            return fails<Operand>(kCounterExpected);
        return {Operand{OperandKind::Counter, static_cast<int>(*n)}, {}};
    }
    if (const auto n = digits(s)) {
        if (*n > kLargestConstant) return fails<Operand>(kConstantExpected);
        return {Operand{OperandKind::Constant, static_cast<int>(*n)}, {}};
    }
    return fails<Operand>(kOperandExpected);
}

Read<int> readOutput(std::string_view text) {
    const std::string typed = squeezed(withoutMeaning(text));
    std::string_view s = typed;
    if (blank(s) || s == "нет") return {0, {}};
    if (!consume(s, "self/d")) return fails<int>(kOutputExpected);
    return inRange(s, 1, kDiscreteTerminals, kOutputExpected);
}

Read<int> readValue(std::string_view text) {
    const std::string typed = squeezed(text);
    std::string_view s = typed;
    if (blank(s)) return fails<int>(kValueExpected);
    if (s == "0" || s == "0р3" || s == "0p3") return {0, {}};
    if (s == "1" || s == "1р3" || s == "1p3") return {1, {}};
    return fails<int>(kValueExpected);
}

Read<int> readDepends(std::string_view text) {
    const std::string typed = squeezed(withoutMeaning(text));
    if (blank(typed) || typed == "нет") return {0, {}};
    const auto flag = flagNumber(typed);
    if (!flag) return fails<int>(kDependsExpected);
    return inRange(*flag, 1, kConditionFlags, kDependsExpected);
}

std::optional<std::string> readCell(Operator& op, Column column, std::string_view text) {
    const auto take = [](auto read, auto& field) -> std::optional<std::string> {
        if (!read.value) return read.why;
        field = *read.value;
        return std::nullopt;
    };
    // A row "Нет" holds only its comment, an operator without an output no
    // values: what such a cell says is not kept, so a program reads back as
    // it was written.
    const bool empty = op.kind == Comparison::None;
    const bool meaningless =
        column != Column::Kind && column != Column::Comment &&
        (empty || ((column == Column::ValueIf || column == Column::ValueElse) && op.output == 0));
    if (meaningless) return std::nullopt;
    switch (column) {
        case Column::Number:
            return std::nullopt;
        case Column::Kind: {
            auto why = take(readKind(text), op.kind);
            if (!why && op.kind == Comparison::None) {
                Operator cleared;
                cleared.comment = std::move(op.comment);
                op = std::move(cleared);
            }
            return why;
        }
        case Column::First:
            return take(readOperand(text), op.first);
        case Column::Second:
            return take(readOperand(text), op.second);
        case Column::Output: {
            auto why = take(readOutput(text), op.output);
            if (!why && op.output == 0) op.valueIf = op.valueElse = 0;
            return why;
        }
        case Column::ValueIf:
            return take(readValue(text), op.valueIf);
        case Column::ValueElse:
            return take(readValue(text), op.valueElse);
        case Column::DependsOn:
            return take(readDepends(text), op.dependsOn);
        case Column::Comment:
            op.comment = std::string(text);
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace vk41::notation
