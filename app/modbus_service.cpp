#include "app/modbus_service.h"

#include <chrono>

#include "app/host_port.h"
#include "app/line_log.h"
#include "modbus/silence.h"
#include "modbus/slave_session.h"

namespace vk41 {
namespace {

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t wallMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

BusExchange exchangeOf(const Arrival& from) {
    BusExchange e;
    e.microseconds = wallMicroseconds();
    e.link = from.link;
    e.master = from.master;
    e.controller = from.controller;
    e.request.assign(from.frame.begin(), from.frame.end());
    // What the frame says of its unit and function, even when it gets no answer.
    const std::size_t unitAt = e.link == "TCP" ? 6 : 0;
    if (e.request.size() > unitAt + 1) {
        e.unit = e.request[unitAt];
        e.function = e.request[unitAt + 1];
    }
    return e;
}

}  // namespace

ModbusService::ModbusService(slave::Session& session, int address, Log log, Clock clock)
    : session_(&session),
      address_(address),
      log_(std::move(log)),
      clock_(clock ? std::move(clock) : Clock(steadyMs)) {}

ModbusService::~ModbusService() {
    close();
}

void ModbusService::close() {
    finish();
    const bool wasServing = serving();
    tcp_.reset();
    rtu_.reset();
    if (wasServing) session_->serving(false);
}

int ModbusService::masters() const {
    return tcp_ ? tcp_->connections() : 0;
}

std::optional<std::vector<std::uint8_t>> ModbusService::request(const Arrival& from, int unit,
                                                                std::span<const std::uint8_t> pdu,
                                                                bool broadcast) {
    BusExchange e = exchangeOf(from);
    e.unit = unit;
    e.function = pdu[0];
    const auto reply = session_->handle(pdu);
    if (!reply) {
        e.why = slave::silence::lengthForFunction(pdu[0]);
    } else {
        e.meaning = reply->meaning;
        // Every slave on the line carries a broadcast out, and none answers it.
        e.why = broadcast ? slave::silence::broadcast() : reply->cause;
    }
    const bool answering = reply && !broadcast;
    record(std::move(e), answering);
    if (!answering) return std::nullopt;
    return reply->pdu;
}

void ModbusService::answered(std::span<const std::uint8_t> frame) {
    traffic_.answer({frame.begin(), frame.end()});
    finish();
    session_->answered();
}

void ModbusService::dropped(const Arrival& from, const std::string& why) {
    BusExchange e = exchangeOf(from);
    e.why = why;
    record(std::move(e), false);
}

// An exchange is logged and captured once it is whole: at once when it
// gets no answer, else as its answer goes out.
void ModbusService::record(BusExchange e, bool answerFollows) {
    finish();
    traffic_.add(std::move(e));
    pending_ = true;
    if (!answerFollows) finish();
}

void ModbusService::finish() {
    if (!pending_) return;
    pending_ = false;
    const BusExchange* e = traffic_.last();
    if (!e) return;
    if (capture_) addToCapture(*capture_, *e);
    write(logLine(*e));
}

void ModbusService::captureTo(std::ostream* out) {
    capture_ = out ? std::make_unique<capture::PcapWriter>(*out) : nullptr;
}

void ModbusService::write(const std::string& line) const {
    if (log_) log_(logStamp() + " " + line);
}

QString ModbusService::listenTcp(const QString& host, quint16 port, Limits limits) {
    FrameHandler& handler = *this;
    tcp_ = std::make_unique<TcpLink>(handler, address_, limits, clock_);
    const QString error = tcp_->listen(host, port);
    if (error.isEmpty())
        session_->serving(true);
    else
        tcp_.reset();
    return error;
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
    const QString error = rtu_->open(device, serial);
    if (error.isEmpty())
        session_->serving(true);
    else
        rtu_.reset();
    return error;
}

bool parseHostPort(const QString& text, QString& host, quint16& port) {
    const auto parsed = splitHostPort(text.toStdString());
    if (!parsed) return false;
    host = QString::fromStdString(parsed->host);
    port = parsed->port;
    return true;
}

}  // namespace vk41
