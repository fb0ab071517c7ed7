#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk41 {

// Where a TCP service listens.
struct HostPort {
    std::string host;  // an address or a name, without brackets
    std::uint16_t port{0};
};

// "[HOST:]PORT" as the command lines give it: "1502", "127.0.0.1:1502",
// "localhost:1502", or an IPv6 address in brackets as every network tool
// writes it, "[::1]:1502". Without a host it is 127.0.0.1; nothing when the
// text is none of these.
std::optional<HostPort> splitHostPort(std::string_view text);

// The same address written back: an IPv6 address in brackets.
std::string joinHostPort(std::string_view host, std::uint16_t port);

}  // namespace vk41
