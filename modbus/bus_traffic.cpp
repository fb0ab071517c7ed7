#include "modbus/bus_traffic.h"

#include <cstdio>
#include <ctime>

#include "modbus/slave_protocol.h"

namespace vk41 {
namespace {

constexpr std::uint8_t kExceptionBit = 0x80;
constexpr std::size_t kMbapHeader = 7;  // transaction, protocol, length, unit

// Where the function code stands in the frame.
std::size_t functionAt(const BusExchange& e) {
    return e.link == "TCP" ? kMbapHeader : 1;
}

std::string addressText(const capture::Endpoint& end) {
    std::string text;
    for (const std::uint8_t part : end.address) {
        if (!text.empty()) text += '.';
        text += std::to_string(part);
    }
    return text + ":" + std::to_string(end.port);
}

}  // namespace

bool BusExchange::failed() const {
    const std::size_t at = functionAt(*this);
    return !answered() || (answer.size() > at && (answer[at] & kExceptionBit) != 0);
}

std::string masterText(const BusExchange& e) {
    return e.link == "TCP" ? addressText(e.master) : e.link;
}

std::string logLine(const BusExchange& e) {
    // What happened to the connection or the line itself.
    if (e.request.empty()) return e.link + " " + e.why;
    std::string line = e.link + " " + slave::hex(e.request) + "  →  ";
    line += e.answered() ? slave::hex(e.answer) : "(без ответа)";
    const std::string what = outcomeText(e);
    return what.empty() ? line : line + "  " + what;
}

std::string outcomeText(const BusExchange& e) {
    if (e.meaning.empty() || e.why.empty()) return e.meaning + e.why;
    return e.meaning + "  — " + e.why;
}

std::string timeOfDay(std::int64_t microseconds) {
    const std::time_t seconds = static_cast<std::time_t>(microseconds / 1'000'000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(microseconds / 1000 % 1000));
    return text;
}

void BusTraffic::add(BusExchange e) {
    if (kept_.size() == kKept) kept_.pop_front();
    if (!e.request.empty()) ++received_;
    ++added_;
    kept_.push_back(std::move(e));
    ++revision_;
}

void BusTraffic::answer(std::vector<std::uint8_t> frame) {
    if (kept_.empty()) return;
    kept_.back().answer = std::move(frame);
    ++answered_;
    ++revision_;
}

void BusTraffic::clear() {
    kept_.clear();
    ++revision_;
}

void addToCapture(capture::PcapWriter& writer, const BusExchange& e) {
    if (e.request.empty()) return;
    capture::Endpoint controller = e.controller;
    controller.port = capture::kModbusPort;
    writer.segment(e.master, controller, e.request, e.microseconds);
    if (e.answered()) writer.segment(controller, e.master, e.answer, e.microseconds + 1);
}

}  // namespace vk41
