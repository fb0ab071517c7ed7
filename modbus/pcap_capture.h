#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>
#include <utility>

namespace vk41::capture {

// One end of a TCP connection: an IPv4 address and a port.
struct Endpoint {
    std::array<std::uint8_t, 4> address{};
    std::uint16_t port{0};
    auto operator<=>(const Endpoint&) const = default;
};

// "127.0.0.1" and a port; none for a text that is not a dotted IPv4 address.
std::optional<Endpoint> endpointOf(std::string_view address, std::uint16_t port);

// Modbus's own TCP port: Wireshark dissects what it carries as Modbus.
inline constexpr std::uint16_t kModbusPort = 502;

// The ends an RTU line's frames are carried between: RTU has no addresses
// of its own, so its master and the controller stand at two addresses of
// the documentation network, the controller on port 502.
Endpoint rtuMaster();
Endpoint rtuController();

// A capture in the pcap format that Wireshark and tshark open: each frame
// is one TCP segment of an IPv4 packet (link type "raw IP"), its payload
// the frame's bytes as they went over the link. Each direction of a
// connection numbers its bytes on from the last segment, so the stream
// reads as one conversation.
class PcapWriter {
  public:
    // Writes the file's header.
    explicit PcapWriter(std::ostream& out);

    // One frame from `from` to `to`, at `microseconds` since the epoch.
    void segment(const Endpoint& from, const Endpoint& to, std::span<const std::uint8_t> payload,
                 std::int64_t microseconds);

  private:
    std::ostream* out_;
    std::uint16_t packetId_{0};
    // The next sequence number of each direction.
    std::map<std::pair<Endpoint, Endpoint>, std::uint32_t> next_;
};

}  // namespace vk41::capture
