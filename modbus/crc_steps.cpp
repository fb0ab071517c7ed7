#include "modbus/crc_steps.h"

namespace vk41 {

std::vector<CrcByteStep> crcSteps(std::span<const std::uint8_t> bytes) {
    std::vector<CrcByteStep> steps;
    steps.reserve(bytes.size());
    std::uint16_t reg = kCrcStart;
    for (const std::uint8_t byte : bytes) {
        CrcByteStep step{byte, static_cast<std::uint16_t>(reg ^ byte), {}};
        reg = step.afterXor;
        for (CrcShift& shift : step.shifts) {
            shift.carry = (reg & 1) != 0;
            reg = static_cast<std::uint16_t>(reg >> 1);
            if (shift.carry) reg ^= kCrcPolynomial;
            shift.reg = reg;
        }
        steps.push_back(step);
    }
    return steps;
}

std::uint16_t crcResult(std::span<const CrcByteStep> steps) {
    return steps.empty() ? kCrcStart : steps.back().after();
}

}  // namespace vk41
