#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/colour.h"
#include "ui/control.h"
#include "ui/form.h"

namespace vk41 {

// Design values as a `.form` file writes them. Each returns false, and
// leaves the value as it was, when the text is no value of its type: a
// design never falls back to a default for a word it does not know.
bool readValue(std::string_view text, float& value);   // 1500, -7.5
bool readValue(std::string_view text, int& value);     // read as above, the whole part kept
bool readValue(std::string_view text, double& value);  // read as a float, as a design holds it
bool readValue(std::string_view text, Colour& value);  // #RRGGBB, buttonface, window
bool readValue(std::string_view text, std::string& value);
bool readValue(std::string_view text, std::vector<std::string>& value);  // "a|b||c"
bool readValue(std::string_view text, ShapeKind& value);   // rect square oval circle rrect rsquare
bool readValue(std::string_view text, Align& value);       // left center right
bool readValue(std::string_view text, ScrollBars& value);  // none horizontal vertical both
bool readValue(std::string_view text, Border& value);      // sizable dialog

}  // namespace vk41
