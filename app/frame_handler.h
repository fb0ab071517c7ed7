#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vk41 {

// What a link (TCP or RTU) hands on once it has a frame: the requests it
// takes for the controller, and why it drops what it does not take. Both
// links answer through one handler, so a request gets the same answer and the
// same log line on either.
class FrameHandler {
  public:
    virtual ~FrameHandler() = default;

    // The answer PDU to a request for `unit`, or none: a broadcast is carried
    // out unanswered, and a request the controller cannot read is dropped.
    virtual std::optional<std::vector<std::uint8_t>> request(const char* link, int unit,
                                                             std::span<const std::uint8_t> pdu,
                                                             bool broadcast) = 0;

    // The link got `bytes` and answers nothing, for the reason `why`; with
    // no bytes, `why` is about the connection or the line itself.
    virtual void dropped(const char* link, std::span<const std::uint8_t> bytes,
                         const std::string& why) = 0;
};

}  // namespace vk41
