#include "modbus/tcp_framing.h"

#include "modbus/silence.h"

namespace vk41::slave {

TcpFrame takeFrame(std::span<const std::uint8_t> stream) {
    TcpFrame frame;
    if (stream.size() < kMbapHeader) return frame;
    const auto protocol = static_cast<std::uint16_t>(stream[2] << 8 | stream[3]);
    const std::size_t length = stream[4] << 8 | stream[5];  // the unit identifier and the PDU
    frame.protocol = protocol;
    frame.length = length;
    if (length < 2 || length > kMaxTcpPdu + 1) {
        frame.status = TcpFrame::Status::kBroken;
        return frame;
    }
    frame.size = kMbapHeader - 1 + length;
    if (stream.size() < frame.size) return frame;
    frame.status = protocol == 0 ? TcpFrame::Status::kFrame : TcpFrame::Status::kDropped;
    frame.transaction = static_cast<std::uint16_t>(stream[0] << 8 | stream[1]);
    frame.unit = stream[6];
    frame.pdu = stream.subspan(kMbapHeader, length - 1);
    return frame;
}

std::string whyDropped(const TcpFrame& frame) {
    switch (frame.status) {
        case TcpFrame::Status::kDropped:
            return silence::protocolId(frame.protocol);
        case TcpFrame::Status::kBroken:
            return "длина " + std::to_string(frame.length) + " в заголовке: кадр бывает от 2 до " +
                   std::to_string(kMaxTcpPdu + 1) +
                   ", границ кадров больше нет, соединение закрыто";
        case TcpFrame::Status::kIncomplete:
        case TcpFrame::Status::kFrame:
            break;
    }
    return "";
}

std::vector<std::uint8_t> tcpReply(const TcpFrame& request, std::span<const std::uint8_t> pdu) {
    const std::size_t length = pdu.size() + 1;
    std::vector<std::uint8_t> out;
    out.reserve(kMbapHeader + pdu.size());
    out.push_back(static_cast<std::uint8_t>(request.transaction >> 8));
    out.push_back(static_cast<std::uint8_t>(request.transaction & 0xFF));
    out.push_back(0);  // the protocol: Modbus
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(request.unit);
    for (const std::uint8_t b : pdu) out.push_back(b);
    return out;
}

}  // namespace vk41::slave
