#pragma once

#include <string>
#include <variant>

#include "ui/colour.h"

namespace vk41 {

// A value read through the name-based interface: a property or a window
// variable. Empty is a variable never assigned.
struct Empty {
    friend constexpr bool operator==(Empty, Empty) = default;
};

// A position or size in twips; prints rounded to whole twips.
struct Twips {
    double value{0};
    friend constexpr bool operator==(Twips, Twips) = default;
};

using Value = std::variant<Empty, bool, double, std::string, Colour, Twips>;

// The driver's printed form: text in double quotes with `"` and `\` escaped,
// True / False, #RRGGBB, whole twips, the shortest decimal that reads back
// the same, Empty.
std::string formatValue(const Value& value);

// Text in double quotes with `"` and `\` escaped.
std::string quoted(const std::string& text);

// A variant as a number: Empty is 0, True is -1, text reads by its numeric prefix.
double asNumber(const Value& value);
// A variant as a condition: anything but 0, False and Empty is true.
bool asBool(const Value& value);

}  // namespace vk41
