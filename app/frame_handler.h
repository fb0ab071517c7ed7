#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "modbus/pcap_capture.h"

namespace vk41 {

// Where a frame came from: the link and the two ends it went between.
struct Arrival {
    const char* link{""};          // "TCP" or "RTU"
    capture::Endpoint master;      // the TCP peer; for RTU, capture::rtuMaster()
    capture::Endpoint controller;  // the TCP end it came to; for RTU, capture::rtuController()
    // The frame as received, header or CRC included; empty for what befell
    // the connection or the line itself.
    std::span<const std::uint8_t> frame;
};

// What a link (TCP or RTU) hands on once it has a frame: the requests it
// takes for the controller, why it drops what it does not take, and the
// answers it sends. Both links answer through one handler, so a request gets
// the same answer and the same log line on either.
class FrameHandler {
  public:
    virtual ~FrameHandler() = default;

    // The answer PDU to a request for `unit`, or none: a broadcast is carried
    // out unanswered, and a request the controller cannot read is dropped.
    virtual std::optional<std::vector<std::uint8_t>> request(const Arrival& from, int unit,
                                                             std::span<const std::uint8_t> pdu,
                                                             bool broadcast) = 0;

    // The link sent `frame`, the answer to the request handed on last.
    virtual void answered(std::span<const std::uint8_t> frame) = 0;

    // The link answers nothing to what came `from`, for the reason `why`.
    virtual void dropped(const Arrival& from, const std::string& why) = 0;
};

}  // namespace vk41
