#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vk41::slave {

// Modbus RTU frames: the address, the PDU, then the CRC-16/MODBUS, its low
// byte first. A frame is what the line carries between two silences of 3.5
// characters; a request whose function tells its length also ends there.
inline constexpr std::size_t kMinRtuFrame = 4;    // address, function, CRC
inline constexpr std::size_t kMaxRtuFrame = 256;  // address, 253 bytes of PDU, CRC
inline constexpr std::uint8_t kBroadcastAddress = 0;

struct RtuFrame {
    enum class Status {
        kRequest,       // to this slave: `pdu` is set
        kBroadcast,     // to every slave, answered by none: `pdu` is set
        kOtherAddress,  // to another slave on the line
        kBadCrc,        // damaged on the line
        kBadLength,     // shorter than a frame can be, or longer
    };
    Status status{Status::kBadLength};
    std::uint8_t address{0};
    std::span<const std::uint8_t> pdu;
};

// The frame the line carried between two silences, for the slave at `address`.
RtuFrame readRtuFrame(std::span<const std::uint8_t> frame, std::uint8_t address);

// Why a frame that is no request gets no answer, in a few Russian words.
std::string whyDropped(const RtuFrame& frame, std::span<const std::uint8_t> bytes,
                       std::uint8_t address);

// The length of the request at the start of `bytes`, when its function tells
// it: 8 bytes for functions 1 to 6, 9 and the byte count for 15 and 16.
// Nothing for the other functions, or while the byte count has not come:
// then only the line's silence ends the frame.
std::optional<std::size_t> requestLength(std::span<const std::uint8_t> bytes);

// The length of a request whole at the start of `bytes`: its function tells
// its length, and the CRC of that many bytes holds. Nothing otherwise.
std::optional<std::size_t> wholeRequest(std::span<const std::uint8_t> bytes);

// Whether the last two bytes are the CRC of those before them.
bool crcHolds(std::span<const std::uint8_t> frame);

// A frame to send: the address, the PDU and their CRC.
std::vector<std::uint8_t> rtuFrame(std::uint8_t address, std::span<const std::uint8_t> pdu);

// The silence that ends a frame at `baud`: 3.5 characters of 11 bits, and a
// fixed 1750 µs above 19200 baud, where the line's timers cannot tell less.
std::chrono::microseconds frameSilence(int baud);

}  // namespace vk41::slave
