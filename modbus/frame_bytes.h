#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vk41 {

struct Program;

// How a whole frame wraps its PDU.
enum class Framing {
    Rtu,  // the address, the PDU, the CRC-16 low byte, its high byte
    Tcp,  // the 7-byte MBAP header, then the PDU
};

// What every byte of a frame is and holds: which field it is, its value in
// decimal, hex and bits, and what the controller's memory map says it means
// while `program` is loaded. The Modbus window's byte tooltips and the bus
// window's byte list both read these texts. A frame may be anything a line
// carries: too short, too long, a wrong CRC or header; every byte still gets
// its text, never an empty one.

// One text per byte of `frame`, a whole request as it was received.
std::vector<std::string> requestBytes(std::span<const std::uint8_t> frame, Framing framing,
                                      const Program& program);

// One text per byte of `answer`, a whole answer frame, read against the
// request it answers.
std::vector<std::string> answerBytes(std::span<const std::uint8_t> request,
                                     std::span<const std::uint8_t> answer, Framing framing,
                                     const Program& program);

}  // namespace vk41
