#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk41 {

// Numbers that the windows keep as text. Reading takes the longest numeric
// prefix after leading blanks (sign, digits, a fraction, an exponent); text
// without one, the empty text included, reads as 0. The result is always finite.
double textToNumber(std::string_view text);
// A typed whole number, blanks around it allowed ("  12 "); none when the
// text is anything else.
std::optional<int> wholeNumber(std::string_view text);

// Plain decimal text: no exponent, no leading zeros or blanks, no trailing
// fractional zeros, the shortest digits that read back as the same double.
std::string numberToText(double value);

// Conversion to an integer: to the nearest, halves to even. Values outside
// the target type are clamped to it and NaN gives 0, so no input is undefined.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
double roundHalfEven(double value);

}  // namespace vk41
