// Any text read as a number: finite, written back and read again the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = vk41::textToNumber(text);
    if (!std::isfinite(value)) std::abort();
    if (vk41::textToNumber(vk41::numberToText(value)) != value) std::abort();
    (void)vk41::toInt16(value);
    (void)vk41::toInt32(value);
    return 0;
}
