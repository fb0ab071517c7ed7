#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vk41::pictures {

// CRC-16/MODBUS (reflected polynomial 0xA001, start 0xFFFF), computed here
// on its own so that the pictures check the window's routine rather than
// repeat it. The frame carries the low byte first.
constexpr std::uint16_t crc16(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

// The request the window shows at start, 127 1 0 32 0 32, has the CRC cells
// 54 and 6.
static_assert(crc16(std::array<std::uint8_t, 6>{127, 1, 0, 32, 0, 32}) == (6 << 8 | 54));

}  // namespace vk41::pictures
