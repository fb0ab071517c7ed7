#pragma once

#include <optional>
#include <string_view>

#include "ui/control.h"
#include "ui/value.h"

namespace vk41 {

// Properties by their designer names (`Caption`, `FillColor`, `X1` …): one
// registration each, the same names for every window.
enum class PropertyError { None, Unknown, NotOfThisKind, WrongType };

struct PropertyResult {
    Value value;
    PropertyError error{PropertyError::None};
};

// Whether a control of this kind has the property (None) and, if not, why.
PropertyError checkProperty(ControlKind kind, std::string_view name);
PropertyResult getProperty(const Control& control, std::string_view name);
PropertyError setProperty(Control& control, std::string_view name, const Value& value);

}  // namespace vk41
