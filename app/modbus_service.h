#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace vk41 {

class App;

namespace slave {
class Session;
}

// Serves the simulated controller to real Modbus masters: Modbus TCP on a
// listening socket and Modbus RTU on a serial device, both on the event loop
// the program already runs. Every request is answered by the session, from
// the plant as it stands at that moment.
class ModbusService : public QObject {
  public:
    struct Limits {
        int maxConnections{16};
        int idleMs{60000};  // a connection silent this long is closed
    };
    struct Serial {
        int baud{19200};
        char parity{'N'};  // N, E or O
        int stopBits{1};
    };
    // One line per exchange: the request and the answer in hex, what they mean.
    using Log = std::function<void(const std::string& line)>;

    ModbusService(slave::Session& session, int address, Log log);
    ~ModbusService() override;

    // Each returns an empty string, or why it could not start.
    QString listenTcp(const QString& host, quint16 port, Limits limits);
    QString openRtu(const QString& device, Serial serial);

    // The port TCP listens on (useful when asked for port 0).
    quint16 tcpPort() const;

  private:
    class TcpServer;
    class RtuServer;
    void served(const char* link, int unit, std::span<const std::uint8_t> request,
                std::span<const std::uint8_t> reply, const std::string& meaning);

    slave::Session* session_;
    int address_;
    Log log_;
    std::unique_ptr<TcpServer> tcp_;
    std::unique_ptr<RtuServer> rtu_;
};

// "[HOST:]PORT" as the options give it, an IPv6 host in brackets
// ("[::1]:1502"); false when it is not one.
bool parseHostPort(const QString& text, QString& host, quint16& port);

}  // namespace vk41
