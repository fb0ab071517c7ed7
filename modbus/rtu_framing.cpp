#include "modbus/rtu_framing.h"

#include <cmath>

#include "modbus/byte_text.h"
#include "modbus/main_mod_modbus.h"
#include "modbus/silence.h"

namespace vk41::slave {
namespace {

constexpr std::size_t kCrcBytes = 2;
constexpr std::size_t kFixedRequest = 8;  // address, function, two words, CRC
constexpr std::size_t kByteCountAt = 6;   // functions 15 and 16: address, function, two words
constexpr int kBitsPerCharacter = 11;     // start, 8 data, parity or a second stop, stop
constexpr int kFastLine = 19200;
constexpr std::chrono::microseconds kFastLineSilence{1750};

std::uint16_t crcOf(std::span<const std::uint8_t> bytes) {
    CrcRegister crc;
    for (const std::uint8_t b : bytes) crc.add(b);
    return static_cast<std::uint16_t>(crc.hi << 8 | (crc.lo & 0xFF));
}

}  // namespace

bool crcHolds(std::span<const std::uint8_t> frame) {
    if (frame.size() < kCrcBytes + 1) return false;
    const std::uint16_t crc = crcOf(frame.first(frame.size() - kCrcBytes));
    // The low byte of the CRC comes first in the RTU message.
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == crc >> 8;
}

RtuFrame readRtuFrame(std::span<const std::uint8_t> frame, std::uint8_t address) {
    RtuFrame f;
    if (frame.size() < kMinRtuFrame || frame.size() > kMaxRtuFrame) return f;
    f.address = frame[0];
    if (!crcHolds(frame)) {
        f.status = RtuFrame::Status::kBadCrc;
        return f;
    }
    f.pdu = frame.subspan(1, frame.size() - 1 - kCrcBytes);
    f.status = f.address == address             ? RtuFrame::Status::kRequest
               : f.address == kBroadcastAddress ? RtuFrame::Status::kBroadcast
                                                : RtuFrame::Status::kOtherAddress;
    return f;
}

std::string whyDropped(const RtuFrame& frame, std::span<const std::uint8_t> bytes,
                       std::uint8_t address) {
    switch (frame.status) {
        case RtuFrame::Status::kBadCrc: {
            const std::uint16_t crc = crcOf(bytes.first(bytes.size() - kCrcBytes));
            return silence::badCrc(bytes[bytes.size() - 2], bytes[bytes.size() - 1], crc);
        }
        case RtuFrame::Status::kOtherAddress:
            return silence::otherController(frame.address, address);
        case RtuFrame::Status::kBadLength:
            return "длина кадра " + std::to_string(bytes.size()) + ", а кадр RTU бывает от " +
                   std::to_string(kMinRtuFrame) + " до " + std::to_string(kMaxRtuFrame) + " байт";
        case RtuFrame::Status::kRequest:
        case RtuFrame::Status::kBroadcast:
            break;
    }
    return "";
}

std::optional<std::size_t> requestLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return std::nullopt;
    const std::uint8_t function = bytes[1];
    if (function >= 1 && function <= 6) return kFixedRequest;
    if ((function == 15 || function == 16) && bytes.size() > kByteCountAt)
        return kByteCountAt + 1 + bytes[kByteCountAt] + kCrcBytes;
    return std::nullopt;
}

std::optional<std::size_t> wholeRequest(std::span<const std::uint8_t> bytes) {
    const auto length = requestLength(bytes);
    if (!length || bytes.size() < *length || !crcHolds(bytes.first(*length))) return std::nullopt;
    return length;
}

std::vector<std::uint8_t> rtuFrame(std::uint8_t address, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> frame;
    frame.reserve(1 + pdu.size() + kCrcBytes);
    frame.push_back(address);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    const std::uint16_t crc = crcOf(frame);
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

std::chrono::microseconds frameSilence(int baud) {
    if (baud <= 0 || baud > kFastLine) return kFastLineSilence;
    return std::chrono::microseconds(
        static_cast<long long>(std::ceil(3.5 * kBitsPerCharacter * 1e6 / baud)));
}

}  // namespace vk41::slave
