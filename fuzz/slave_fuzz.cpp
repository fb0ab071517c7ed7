// The slave's request handling fed with arbitrary Modbus TCP streams: every
// frame it takes is one the stream holds, every answer is a well-formed PDU
// that fits a frame, and every byte of both frames, RTU or TCP, is explained.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "conditions/program.h"
#include "modbus/frame_bytes.h"
#include "modbus/memory_map.h"
#include "modbus/rtu_framing.h"
#include "modbus/slave_protocol.h"
#include "modbus/tcp_framing.h"

namespace {

// One text for each byte, none of them empty.
void checkExplained(const std::vector<std::string>& texts, std::size_t bytes) {
    if (texts.size() != bytes) std::abort();
    for (const std::string& text : texts)
        if (text.empty()) std::abort();
}

// The request and its answer, whatever they hold, explained byte by byte.
void checkBytes(std::span<const std::uint8_t> request, std::span<const std::uint8_t> answer,
                vk41::Framing framing) {
    const vk41::Program& program = vk41::factoryProgram();
    checkExplained(vk41::requestBytes(request, framing, program), request.size());
    checkExplained(vk41::answerBytes(request, answer, framing, program), answer.size());
}

void checkAnswer(std::span<const std::uint8_t> pdu, const vk41::ControllerImage& image) {
    const auto reply = vk41::slave::answer(pdu, image);
    if (!reply) return;
    if (reply->command == vk41::slave::Command::kWriteOutput &&
        (reply->output < 1 || reply->output > vk41::memory_map::kWritableOutputs))
        std::abort();
    const auto& out = reply->pdu;
    if (out.empty() || out.size() > vk41::slave::kMaxTcpPdu) std::abort();
    if (out[0] & 0x80) {
        // A function code with its top bit set is no request: it gets the
        // exception of an unknown function, whose code it already is.
        if (out.size() != 2 || out[1] < 1 || out[1] > 3 || out[0] != (pdu[0] | 0x80)) std::abort();
        return;
    }
    if (out[0] != pdu[0]) std::abort();
    // Reads carry their byte count, writes echo the request.
    if (out[0] <= 3 && (out.size() < 2 || out[1] != out.size() - 2)) std::abort();
    if (out[0] >= 5 && !std::equal(out.begin(), out.end(), pdu.begin(), pdu.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    vk41::ControllerImage image;
    image.outputs = data[0] * 0x01010101u;
    image.flags = data[1] * 0x00010001u;
    image.inputs = data[2];
    image.flowCount = data[3] * 257;
    std::span<const std::uint8_t> stream(data + 4, size - 4);
    const auto head = stream.subspan(0, std::min<std::size_t>(stream.size(), 260));
    checkAnswer(head, image);
    // The same bytes as one RTU frame, answered as the line would have it,
    // and read against themselves as an answer of any shape.
    if (const auto rtu = vk41::slave::readRtuFrame(head, head.empty() ? 0 : head[0]);
        rtu.status == vk41::slave::RtuFrame::Status::kRequest) {
        if (const auto reply = vk41::slave::answer(rtu.pdu, image))
            checkBytes(head, vk41::slave::rtuFrame(rtu.address, reply->pdu), vk41::Framing::Rtu);
    }
    checkBytes(head, head, vk41::Framing::Rtu);
    checkBytes(head, head, vk41::Framing::Tcp);
    while (!stream.empty()) {
        const vk41::slave::TcpFrame frame = vk41::slave::takeFrame(stream);
        using Status = vk41::slave::TcpFrame::Status;
        if (frame.status == Status::kBroken && vk41::slave::whyDropped(frame).empty()) std::abort();
        if (frame.status == Status::kIncomplete || frame.status == Status::kBroken) break;
        if (frame.status == Status::kDropped && vk41::slave::whyDropped(frame).empty())
            std::abort();
        if (frame.size > stream.size() || frame.size < vk41::slave::kMbapHeader) std::abort();
        if (frame.status == Status::kFrame) {
            checkAnswer(frame.pdu, image);
            const auto reply = vk41::slave::tcpReply(frame, frame.pdu);
            if (reply.size() != frame.size) std::abort();
            const auto whole = stream.first(frame.size);
            if (const auto answer = vk41::slave::answer(frame.pdu, image))
                checkBytes(whole, vk41::slave::tcpReply(frame, answer->pdu), vk41::Framing::Tcp);
            else
                checkBytes(whole, {}, vk41::Framing::Tcp);
        }
        stream = stream.subspan(frame.size);
    }
    return 0;
}
