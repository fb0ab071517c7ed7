#include "app/host_port.h"

#include <charconv>

namespace vk41 {
namespace {

constexpr std::string_view kLoopback = "127.0.0.1";

std::optional<std::uint16_t> toPort(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<HostPort> splitHostPort(std::string_view text) {
    std::string_view host = kLoopback;
    std::string_view port = text;
    if (text.starts_with('[')) {
        // "[v6]:PORT": the brackets keep the address's own colons apart.
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return std::nullopt;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    const auto number = toPort(port);
    if (!number || host.empty() || host.find_first_of("[]") != std::string_view::npos)
        return std::nullopt;
    return HostPort{std::string(host), *number};
}

std::string joinHostPort(std::string_view host, std::uint16_t port) {
    const bool v6 = host.find(':') != std::string_view::npos;
    std::string text = v6 ? "[" + std::string(host) + "]" : std::string(host);
    return text + ":" + std::to_string(port);
}

}  // namespace vk41
