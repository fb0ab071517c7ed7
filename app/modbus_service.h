#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/frame_handler.h"
#include "app/rtu_link.h"
#include "app/tcp_link.h"

namespace vk41 {

namespace slave {
class Session;
}

// Serves the simulated controller to real Modbus masters: Modbus TCP on a
// listening socket and Modbus RTU on a serial device, both on the event loop
// the program already runs. Every request is answered by the session, from
// the plant as it stands at that moment, the same on either link.
class ModbusService : public QObject, private FrameHandler {
  public:
    using Limits = TcpLink::Limits;
    using Serial = RtuLink::Serial;
    using Clock = TcpLink::Clock;
    // One line per exchange: the request and the answer in hex, what they
    // mean; and one per frame that gets no answer, with the reason.
    using Log = std::function<void(const std::string& line)>;

    // `clock` gives the TCP deadlines their time; by default the monotonic
    // clock of the system.
    ModbusService(slave::Session& session, int address, Log log, Clock clock = {});
    ~ModbusService() override;

    // Each returns an empty string, or why it could not start.
    QString listenTcp(const QString& host, quint16 port, Limits limits);
    QString openRtu(const QString& device, Serial serial);

    // The port TCP listens on (useful when asked for port 0).
    quint16 tcpPort() const;

    // Closes the TCP connections whose deadline the clock has passed, as
    // the service does by itself when the next deadline falls due.
    void checkDeadlines();

  private:
    std::optional<std::vector<std::uint8_t>> request(const char* link, int unit,
                                                     std::span<const std::uint8_t> pdu,
                                                     bool broadcast) override;
    void dropped(const char* link, std::span<const std::uint8_t> bytes,
                 const std::string& why) override;
    void write(const std::string& line) const;

    slave::Session* session_;
    int address_;
    Log log_;
    Clock clock_;
    std::unique_ptr<TcpLink> tcp_;
    std::unique_ptr<RtuLink> rtu_;
};

// "[HOST:]PORT" as the options give it, an IPv6 host in brackets
// ("[::1]:1502"); false when it is not one.
bool parseHostPort(const QString& text, QString& host, quint16& port);

}  // namespace vk41
