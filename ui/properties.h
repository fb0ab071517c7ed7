#pragma once

#include <string_view>

#include "ui/control.h"
#include "ui/value.h"

namespace vk41 {

// Properties by their designer names (`Caption`, `FillColor`, `X1` …): one
// registration each, the same names for every window. The same row says how
// a `.form` line writes the property, so the design parser and `get` share
// one vocabulary.
enum class PropertyError { None, Unknown, NotOfThisKind, WrongType };

struct PropertyResult {
    Value value;
    PropertyError error{PropertyError::None};
};

// Whether a control of this kind has the property (None) and, if not, why.
PropertyError checkProperty(ControlKind kind, std::string_view name);
PropertyResult getProperty(const Control& control, std::string_view name);
PropertyError setProperty(Control& control, std::string_view name, const Value& value);

// Setting a design row from the words of its `.form` line.
enum class FormOptionError {
    None,
    Unknown,   // no property is written so
    BadValue,  // the text is no value of that property
};

// `key=text`, or, with an empty key, a bare word such as `hidden`.
FormOptionError setFormOption(ControlDesign& row, std::string_view key, std::string_view text);

// The numbers that follow a control's name: a line's ends, any other
// control's rectangle, none for a timer.
int formPositionCount(ControlKind kind);
FormOptionError setFormPosition(ControlDesign& row, int position, std::string_view text);

}  // namespace vk41
