#include "modbus/pcap_capture.h"

#include <charconv>
#include <vector>

namespace vk41::capture {
namespace {

constexpr std::uint32_t kPcapMagic = 0xA1B2C3D4;  // microsecond time stamps
constexpr std::uint32_t kRawIp = 101;             // the packets begin with their IP header
constexpr std::uint32_t kSnapLength = 65535;
constexpr std::size_t kIpHeader = 20;
constexpr std::size_t kTcpHeader = 20;
constexpr std::uint8_t kTcp = 6;
constexpr std::uint8_t kPushAck = 0x18;

using Bytes = std::vector<std::uint8_t>;

void little(std::ostream& out, std::uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(v >> (8 * i) & 0xFF));
}

void big16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void big32(Bytes& b, std::uint32_t v) {
    big16(b, v >> 16);
    big16(b, v & 0xFFFF);
}

// The internet checksum: the ones' complement of the ones' complement sum of
// 16-bit words, over `sum` already added and `bytes`.
std::uint16_t checksum(std::span<const std::uint8_t> bytes, std::uint32_t sum = 0) {
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        sum +=
            static_cast<std::uint32_t>(bytes[i] << 8 | (i + 1 < bytes.size() ? bytes[i + 1] : 0));
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::uint32_t wordsOf(const std::array<std::uint8_t, 4>& a) {
    return static_cast<std::uint32_t>(a[0] << 8 | a[1]) +
           static_cast<std::uint32_t>(a[2] << 8 | a[3]);
}

}  // namespace

std::optional<Endpoint> endpointOf(std::string_view address, std::uint16_t port) {
    Endpoint e{{}, port};
    for (std::size_t part = 0; part < 4; ++part) {
        unsigned value = 256;
        const auto [end, error] =
            std::from_chars(address.data(), address.data() + address.size(), value);
        const std::size_t used = static_cast<std::size_t>(end - address.data());
        if (error != std::errc{} || used == 0 || used > 3 || value > 255) return std::nullopt;
        e.address[part] = static_cast<std::uint8_t>(value);
        address.remove_prefix(used);
        if (part < 3) {
            if (address.empty() || address.front() != '.') return std::nullopt;
            address.remove_prefix(1);
        }
    }
    if (!address.empty()) return std::nullopt;
    return e;
}

Endpoint rtuMaster() {
    return {{192, 0, 2, 1}, 50200};
}

Endpoint rtuController() {
    return {{192, 0, 2, 2}, kModbusPort};
}

PcapWriter::PcapWriter(std::ostream& out) : out_(&out) {
    little(out, kPcapMagic);
    little(out, 2, 2);  // version 2.4
    little(out, 4, 2);
    little(out, 0);  // time zone: UTC
    little(out, 0);  // accuracy of the time stamps
    little(out, kSnapLength);
    little(out, kRawIp);
}

void PcapWriter::segment(const Endpoint& from, const Endpoint& to,
                         std::span<const std::uint8_t> payload, std::int64_t microseconds) {
    std::uint32_t& seq = next_.try_emplace({from, to}, 1).first->second;
    const auto back = next_.find({to, from});
    const std::uint32_t ack = back == next_.end() ? 1 : back->second;
    const std::size_t length = kIpHeader + kTcpHeader + payload.size();

    Bytes packet;
    packet.reserve(length);
    packet.push_back(0x45);  // IPv4, a header of five words
    packet.push_back(0);
    big16(packet, static_cast<std::uint32_t>(length));
    big16(packet, ++packetId_);
    big16(packet, 0x4000);  // do not fragment
    packet.push_back(64);   // time to live
    packet.push_back(kTcp);
    big16(packet, 0);  // the header's checksum, below
    packet.insert(packet.end(), from.address.begin(), from.address.end());
    packet.insert(packet.end(), to.address.begin(), to.address.end());
    const std::uint16_t ipSum = checksum(std::span(packet).first(kIpHeader));
    packet[10] = static_cast<std::uint8_t>(ipSum >> 8);
    packet[11] = static_cast<std::uint8_t>(ipSum & 0xFF);

    big16(packet, from.port);
    big16(packet, to.port);
    big32(packet, seq);
    big32(packet, ack);
    packet.push_back(0x50);  // a header of five words
    packet.push_back(kPushAck);
    big16(packet, 65535);  // the window
    big16(packet, 0);      // the checksum, below
    big16(packet, 0);      // nothing urgent
    packet.insert(packet.end(), payload.begin(), payload.end());
    // The TCP checksum covers a pseudo-header of the addresses, the protocol and the length.
    const std::uint32_t tcpLength = static_cast<std::uint32_t>(kTcpHeader + payload.size());
    const std::uint16_t tcpSum =
        checksum(std::span(packet).subspan(kIpHeader),
                 wordsOf(from.address) + wordsOf(to.address) + kTcp + tcpLength);
    packet[kIpHeader + 16] = static_cast<std::uint8_t>(tcpSum >> 8);
    packet[kIpHeader + 17] = static_cast<std::uint8_t>(tcpSum & 0xFF);
    seq += static_cast<std::uint32_t>(payload.size());

    little(*out_, static_cast<std::uint32_t>(microseconds / 1'000'000));
    little(*out_, static_cast<std::uint32_t>(microseconds % 1'000'000));
    little(*out_, static_cast<std::uint32_t>(packet.size()));
    little(*out_, static_cast<std::uint32_t>(packet.size()));
    out_->write(reinterpret_cast<const char*>(packet.data()),
                static_cast<std::streamsize>(packet.size()));
    // Each frame is in the file at once: a capture being written reads as it grows.
    out_->flush();
}

}  // namespace vk41::capture
