#pragma once

#include "ui/control.h"

namespace vk41 {

// The scheme's LEDs and lamps are filled circles; lit or dark is told by the
// fill, and lighting one sets its fill and border alike.
inline constexpr Colour kLit = rgb(0xFF0000);
inline constexpr Colour kDark = rgb(0x808080);

inline void light(Control& led, Colour colour) {
    led.setFillColor(colour);
    led.setBorderColor(colour);
}

}  // namespace vk41
