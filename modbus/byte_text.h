#pragma once

#include <cstdio>
#include <string>

namespace vk41 {

// A byte's eight bits, most significant first ("10000011").
inline std::string bitText(unsigned byte) {
    std::string text;
    for (int k = 7; k >= 0; --k) text += (byte >> k & 1) ? '1' : '0';
    return text;
}

// A value in upper-case hexadecimal, at least `digits` long ("0A", "AA55").
inline std::string hexText(unsigned value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace vk41
