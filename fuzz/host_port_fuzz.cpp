// The "[HOST:]PORT" parser of the command lines and the dotted address of a
// capture's ends fed with arbitrary text: what they accept they write back
// to a text that reads the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/host_port.h"
#include "modbus/bus_traffic.h"
#include "modbus/pcap_capture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto end = vk41::capture::endpointOf(text, 502)) {
        vk41::BusExchange e;
        e.link = "TCP";
        e.master = *end;
        const std::string written = vk41::masterText(e);
        if (vk41::capture::endpointOf(written.substr(0, written.rfind(':')), 502) != end)
            std::abort();
    }
    const auto parsed = vk41::splitHostPort(text);
    if (!parsed) return 0;
    if (parsed->host.empty()) std::abort();
    const auto again = vk41::splitHostPort(vk41::joinHostPort(parsed->host, parsed->port));
    if (!again || again->host != parsed->host || again->port != parsed->port) std::abort();
    return 0;
}
