// The RTU framing fed with arbitrary line traffic, cut as the link cuts it:
// whole requests off the front, the rest as one frame at the silence. Every
// frame it reads is one the bytes hold, every request framed again is the
// very frame, and every dropped frame says why.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "modbus/rtu_framing.h"

namespace {

namespace s = vk41::slave;

void read(std::span<const std::uint8_t> frame, std::uint8_t address) {
    const s::RtuFrame f = s::readRtuFrame(frame, address);
    using Status = s::RtuFrame::Status;
    if (f.status != Status::kRequest && f.status != Status::kBroadcast) {
        if (s::whyDropped(f, frame, address).empty()) std::abort();
        return;
    }
    if (f.pdu.empty() || f.pdu.data() != frame.data() + 1) std::abort();
    const auto again = s::rtuFrame(f.address, f.pdu);
    if (!std::equal(again.begin(), again.end(), frame.begin(), frame.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t address = data[0];
    std::span<const std::uint8_t> line(data + 1, size - 1);
    while (const auto length = s::wholeRequest(line)) {
        if (*length < s::kMinRtuFrame || *length > line.size() || !s::crcHolds(line.first(*length)))
            std::abort();
        read(line.first(*length), address);
        line = line.subspan(*length);
    }
    if (!line.empty()) read(line, address);
    if (s::frameSilence(address * 1200).count() <= 0) std::abort();
    return 0;
}
