#pragma once

#include <cstdint>

namespace vk41 {

// A colour as 0xRRGGBB.
struct Colour {
    std::uint32_t rgb{0};

    constexpr int red() const { return static_cast<int>((rgb >> 16) & 0xFF); }
    constexpr int green() const { return static_cast<int>((rgb >> 8) & 0xFF); }
    constexpr int blue() const { return static_cast<int>(rgb & 0xFF); }
    friend constexpr bool operator==(Colour, Colour) = default;
};

constexpr Colour rgb(std::uint32_t value) {
    return Colour{value & 0xFFFFFFu};
}

// The classic colour number, blue * 65536 + green * 256 + red, that handlers
// compare and do arithmetic on.
constexpr std::uint32_t colourNumber(Colour c) {
    return static_cast<std::uint32_t>(c.blue()) << 16 | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.red());
}
constexpr Colour fromColourNumber(std::uint32_t n) {
    return rgb((n & 0xFF) << 16 | (n & 0xFF00) | ((n >> 16) & 0xFF));
}

// The system colours the windows name. Fixed values, so that every machine
// shows the same picture.
inline constexpr Colour kButtonFace = rgb(0xF0F0F0);
inline constexpr Colour kWindowColour = rgb(0xFFFFFF);
inline constexpr Colour kWindowText = rgb(0x000000);
inline constexpr Colour kBlack = rgb(0x000000);
inline constexpr Colour kWhite = rgb(0xFFFFFF);

}  // namespace vk41
