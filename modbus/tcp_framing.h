#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vk41::slave {

// Modbus TCP frames: a 7-byte MBAP header (transaction identifier, protocol
// identifier 0, the length of what follows, the unit identifier) in front of
// the PDU. A PDU is at most 253 bytes.
inline constexpr std::size_t kMbapHeader = 7;
inline constexpr std::size_t kMaxTcpPdu = 253;

struct TcpFrame {
    enum class Status {
        kIncomplete,  // wait for more bytes
        kFrame,       // a frame: `pdu`, `unit` and `transaction` are set
        kDropped,     // not a Modbus frame (protocol identifier not 0): skipped
        kBroken,      // a length no frame can have: the stream is lost
    };
    Status status{Status::kIncomplete};
    std::size_t size{0};  // bytes the frame takes off the stream
    std::uint16_t transaction{0};
    std::uint16_t protocol{0};
    std::size_t length{0};  // the header's length field, once the header is in
    std::uint8_t unit{0};
    std::span<const std::uint8_t> pdu;
};

// The first frame at the start of `stream`.
TcpFrame takeFrame(std::span<const std::uint8_t> stream);

// Why a frame that was dropped or broke the stream gets no answer, in a few
// Russian words.
std::string whyDropped(const TcpFrame& frame);

// The answer to a frame: its header with the new length, then the PDU.
std::vector<std::uint8_t> tcpReply(const TcpFrame& request, std::span<const std::uint8_t> pdu);

}  // namespace vk41::slave
