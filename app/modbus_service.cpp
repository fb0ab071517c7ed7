#include "app/modbus_service.h"

#include <chrono>

#include "app/host_port.h"
#include "app/line_log.h"
#include "modbus/silence.h"
#include "modbus/slave_session.h"

namespace vk41 {
namespace {

// The unit (the address) and the PDU, as the log shows a frame.
std::string frameText(int unit, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(unit)};
    bytes.insert(bytes.end(), pdu.begin(), pdu.end());
    return slave::hex(bytes);
}

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ModbusService::ModbusService(slave::Session& session, int address, Log log, Clock clock)
    : session_(&session),
      address_(address),
      log_(std::move(log)),
      clock_(clock ? std::move(clock) : Clock(steadyMs)) {}

ModbusService::~ModbusService() = default;

std::optional<std::vector<std::uint8_t>> ModbusService::request(const char* link, int unit,
                                                                std::span<const std::uint8_t> pdu,
                                                                bool broadcast) {
    const std::string asked = std::string(link) + " " + frameText(unit, pdu) + "  →  ";
    const auto reply = session_->handle(pdu);
    if (!reply) {
        write(asked + "(без ответа)  " + slave::silence::lengthForFunction(pdu[0]));
        return std::nullopt;
    }
    if (broadcast) {
        // Every slave on the line carries a broadcast out, and none answers it.
        write(asked + "(без ответа)  " + reply->meaning + "  — " + slave::silence::broadcast());
        return std::nullopt;
    }
    write(asked + frameText(unit, reply->pdu) + "  " + reply->meaning +
          (reply->cause.empty() ? "" : "  — " + reply->cause));
    return reply->pdu;
}

void ModbusService::dropped(const char* link, std::span<const std::uint8_t> bytes,
                            const std::string& why) {
    if (bytes.empty())
        write(std::string(link) + " " + why);
    else
        write(std::string(link) + " " + slave::hex(bytes) + "  →  (без ответа)  " + why);
}

void ModbusService::write(const std::string& line) const {
    if (log_) log_(logStamp() + " " + line);
}

QString ModbusService::listenTcp(const QString& host, quint16 port, Limits limits) {
    FrameHandler& handler = *this;
    tcp_ = std::make_unique<TcpLink>(handler, address_, limits, clock_);
    return tcp_->listen(host, port);
}

quint16 ModbusService::tcpPort() const {
    return tcp_ ? tcp_->port() : 0;
}

void ModbusService::checkDeadlines() {
    if (tcp_) tcp_->checkDeadlines();
}

QString ModbusService::openRtu(const QString& device, Serial serial) {
    FrameHandler& handler = *this;
    rtu_ = std::make_unique<RtuLink>(handler, address_);
    return rtu_->open(device, serial);
}

bool parseHostPort(const QString& text, QString& host, quint16& port) {
    const auto parsed = splitHostPort(text.toStdString());
    if (!parsed) return false;
    host = QString::fromStdString(parsed->host);
    port = parsed->port;
    return true;
}

}  // namespace vk41
