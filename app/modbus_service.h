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
#include "modbus/bus_traffic.h"
#include "modbus/pcap_capture.h"

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
    // mean; and one per frame that gets no answer, with the reason. The
    // lines are the rows of `traffic()`, as the log writes them.
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
    // The TCP masters connected now.
    int masters() const;
    bool serving() const { return tcp_ || rtu_; }
    // Stops serving on both links; the traffic stays.
    void close();
    // The address the links opened from now on answer to.
    void setAddress(int address) { address_ = address; }

    // Closes the TCP connections whose deadline the clock has passed, as
    // the service does by itself when the next deadline falls due.
    void checkDeadlines();

    // Every exchange on either link, the last BusTraffic::kKept of them.
    const BusTraffic& traffic() const { return traffic_; }
    BusTraffic& traffic() { return traffic_; }
    // Writes each exchange to `out` as a pcap capture from now on, or no
    // longer with null; `out` must outlive the service or the next call.
    void captureTo(std::ostream* out);

  private:
    std::optional<std::vector<std::uint8_t>> request(const Arrival& from, int unit,
                                                     std::span<const std::uint8_t> pdu,
                                                     bool broadcast) override;
    void answered(std::span<const std::uint8_t> frame) override;
    void dropped(const Arrival& from, const std::string& why) override;
    void record(BusExchange e, bool answerFollows);
    void finish();
    void write(const std::string& line) const;

    slave::Session* session_;
    int address_;
    Log log_;
    Clock clock_;
    std::unique_ptr<TcpLink> tcp_;
    std::unique_ptr<RtuLink> rtu_;
    BusTraffic traffic_;
    bool pending_{false};  // the last exchange waits for its answer to be sent
    std::unique_ptr<capture::PcapWriter> capture_;
};

// "[HOST:]PORT" as the options give it, an IPv6 host in brackets
// ("[::1]:1502"); false when it is not one.
bool parseHostPort(const QString& text, QString& host, quint16& port);

}  // namespace vk41
