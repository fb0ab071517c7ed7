#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vk41 {

// The CRC-16/MODBUS computation written out step by step, the way a learner
// follows it by hand: the register is one 16-bit value, Hi << 8 | Lo.
inline constexpr std::uint16_t kCrcStart = 0xFFFF;
inline constexpr std::uint16_t kCrcPolynomial = 0xA001;  // 0x8005 reflected

// One shift of the register to the right.
struct CrcShift {
    bool carry;         // the bit that fell out; 1: the polynomial was applied
    std::uint16_t reg;  // the register after the shift and the XOR, if any
};

// One byte added to the register.
struct CrcByteStep {
    std::uint8_t byte;
    std::uint16_t afterXor;  // the register once the byte is XORed into its low byte
    std::array<CrcShift, 8> shifts;
    std::uint16_t after() const { return shifts.back().reg; }
};

std::vector<CrcByteStep> crcSteps(std::span<const std::uint8_t> bytes);

// The CRC the steps end in: the start value when there are none.
std::uint16_t crcResult(std::span<const CrcByteStep> steps);

}  // namespace vk41
