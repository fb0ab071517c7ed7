// The "[HOST:]PORT" parser of the command lines fed with arbitrary text: what
// it accepts it writes back to a text that reads the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/host_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = vk41::splitHostPort(text);
    if (!parsed) return 0;
    if (parsed->host.empty()) std::abort();
    const auto again = vk41::splitHostPort(vk41::joinHostPort(parsed->host, parsed->port));
    if (!again || again->host != parsed->host || again->port != parsed->port) std::abort();
    return 0;
}
