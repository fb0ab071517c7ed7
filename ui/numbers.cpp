#include "ui/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vk41 {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the run of digits starting at pos.
std::size_t digitsFrom(std::string_view s, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < s.size() && isDigit(s[pos + n])) ++n;
    return n;
}

// Length of the longest prefix of s that reads as a decimal number, 0 if none.
std::size_t numericPrefix(std::string_view s) {
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    const std::size_t whole = digitsFrom(s, pos);
    pos += whole;
    std::size_t fraction = 0;
    if (pos < s.size() && s[pos] == '.') {
        fraction = digitsFrom(s, pos + 1);
        if (whole + fraction > 0) pos += 1 + fraction;
    }
    if (whole + fraction == 0) return 0;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        std::size_t exp = pos + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
        const std::size_t expDigits = digitsFrom(s, exp);
        if (expDigits > 0) pos = exp + expDigits;
    }
    return pos;
}

template <typename Int>
Int clampRound(double value) {
    if (std::isnan(value)) return 0;
    const double r = roundHalfEven(value);
    if (r <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (r >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(r);
}

}  // namespace

double textToNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    text.remove_prefix(start);
    const std::size_t len = numericPrefix(text);
    if (len == 0) return 0;
    std::string_view number = text.substr(0, len);
    if (number.front() == '+') number.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large keeps its sign at the largest finite value; too small is 0.
        const bool negative = number.front() == '-';
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && number[e + 1] == '-';
        if (tiny) return 0;
        return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return value == 0 ? 0 : value;  // no negative zero
}

std::string numberToText(double value) {
    if (std::isnan(value)) return "0";
    if (value == 0) return "0";
    if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc{}) return "0";
    return std::string(buffer, end);
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int16_t toInt16(double value) {
    return clampRound<std::int16_t>(value);
}
std::int32_t toInt32(double value) {
    return clampRound<std::int32_t>(value);
}

std::optional<int> wholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

}  // namespace vk41
