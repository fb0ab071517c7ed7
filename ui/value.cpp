#include "ui/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "ui/numbers.h"

namespace vk41 {
namespace {

std::string shortestNumber(double value) {
    if (value == 0) return "0";
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc{}) return "0";
    return std::string(buffer, end);
}

struct Formatter {
    std::string operator()(Empty) const { return "Empty"; }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(double d) const { return shortestNumber(d); }
    std::string operator()(const std::string& s) const { return quoted(s); }
    std::string operator()(Colour c) const {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(c.rgb));
        return buffer;
    }
    std::string operator()(Twips t) const { return shortestNumber(std::round(t.value)); }
};

}  // namespace

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string formatValue(const Value& value) {
    return std::visit(Formatter{}, value);
}

double asNumber(const Value& value) {
    struct Number {
        double operator()(Empty) const { return 0; }
        double operator()(bool b) const { return b ? -1 : 0; }
        double operator()(double d) const { return d; }
        double operator()(const std::string& s) const { return textToNumber(s); }
        double operator()(Colour c) const { return colourNumber(c); }
        double operator()(Twips t) const { return t.value; }
    };
    return std::visit(Number{}, value);
}

bool asBool(const Value& value) {
    return asNumber(value) != 0;
}

}  // namespace vk41
