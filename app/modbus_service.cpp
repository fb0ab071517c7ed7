#include "app/modbus_service.h"

#include <QByteArray>
#include <QDateTime>
#include <QHostAddress>
#include <QModbusExceptionResponse>
#include <QModbusRtuSerialServer>
#include <QPointer>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <span>
#include <vector>

#include "app/host_port.h"
#include "modbus/slave_session.h"
#include "modbus/tcp_framing.h"

namespace vk41 {
namespace {

// Unit identifiers a TCP slave answers besides its own address: 0 and 255
// both stand for "the device behind this connection".
constexpr int kAnyUnit0 = 0;
constexpr int kAnyUnit255 = 255;
// A connection is read a little at a time, so that a flooding master is held
// back by TCP's own flow control and never keeps the others waiting.
constexpr qint64 kReadChunk = 1024;
constexpr int kFramesPerTurn = 32;
// A master that does not read its answers is dropped before they pile up.
constexpr qint64 kMaxUnsent = 64 * 1024;

std::string stamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString();
}

std::string logLine(const char* link, int unit, std::span<const std::uint8_t> request,
                    std::span<const std::uint8_t> reply, const std::string& meaning) {
    std::vector<std::uint8_t> asked{static_cast<std::uint8_t>(unit)};
    asked.insert(asked.end(), request.begin(), request.end());
    std::string line = stamp() + " " + link + " " + slave::hex(asked) + "  →  ";
    if (reply.empty()) return line + "(без ответа)  " + meaning;
    std::vector<std::uint8_t> answered{static_cast<std::uint8_t>(unit)};
    answered.insert(answered.end(), reply.begin(), reply.end());
    return line + slave::hex(answered) + "  " + meaning;
}

}  // namespace

// Modbus TCP over the program's own socket handling: the header is small,
// and owning it keeps every limit in one place (unit identifiers, the number
// of connections, idle masters, bounded buffers).
class ModbusService::TcpServer : public QObject {
  public:
    TcpServer(ModbusService& service, Limits limits) : service_(&service), limits_(limits) {
        connect(&server_, &QTcpServer::newConnection, this, &TcpServer::accept);
    }

    QString listen(const QString& host, quint16 port) {
        QHostAddress address;
        if (host == QLatin1String("localhost"))
            address = QHostAddress::LocalHost;
        else if (!address.setAddress(host))
            return QStringLiteral("не адрес: %1").arg(host);
        if (!server_.listen(address, port))
            return QStringLiteral("TCP %1:%2: %3").arg(host).arg(port).arg(server_.errorString());
        return {};
    }

    // The sockets go with the server; their last signals must not reach a
    // server that is half gone.
    ~TcpServer() override {
        for (const auto& connection : connections_)
            if (connection->socket) QObject::disconnect(connection->socket, nullptr, this, nullptr);
    }

    quint16 port() const { return server_.serverPort(); }

  private:
    struct Connection {
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
        QTimer idle;
        bool turnQueued{false};
    };

    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            if (static_cast<int>(connections_.size()) >= limits_.maxConnections) {
                socket->abort();  // past the limit: refused
                socket->deleteLater();
                continue;
            }
            auto connection = std::make_shared<Connection>();
            connection->socket = socket;
            socket->setReadBufferSize(4 * kReadChunk);
            connection->idle.setSingleShot(true);
            connection->idle.setInterval(limits_.idleMs);
            connect(&connection->idle, &QTimer::timeout, socket, &QTcpSocket::abort);
            connect(socket, &QTcpSocket::readyRead, this, [this, connection] { read(connection); });
            connect(socket, &QTcpSocket::disconnected, this,
                    [this, connection] { drop(connection); });
            connect(socket, &QTcpSocket::errorOccurred, this,
                    [this, connection] { drop(connection); });
            connections_.push_back(connection);
            connection->idle.start();
        }
    }

    void drop(const std::shared_ptr<Connection>& connection) {
        std::erase(connections_, connection);
        connection->idle.stop();
        if (connection->socket) connection->socket->deleteLater();
    }

    void read(const std::shared_ptr<Connection>& c) {
        if (!c->socket) return;
        c->idle.start();
        if (c->buffer.size() < kReadChunk) c->buffer += c->socket->read(kReadChunk);
        int frames = 0;
        bool more = true;
        while (c->socket && more && frames++ < kFramesPerTurn) more = frame(*c);
        // What is left waits its turn behind the other connections.
        if (c->socket && (c->socket->bytesAvailable() > 0 || (more && !c->buffer.isEmpty())) &&
            !c->turnQueued) {
            c->turnQueued = true;
            QTimer::singleShot(0, this, [this, c] {
                c->turnQueued = false;
                read(c);
            });
        }
    }

    // Takes one frame off the buffer; false once the connection is closed or
    // there is no whole frame yet.
    bool frame(Connection& c) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(c.buffer.constData());
        const slave::TcpFrame f =
            slave::takeFrame({data, static_cast<std::size_t>(c.buffer.size())});
        switch (f.status) {
            case slave::TcpFrame::Status::kIncomplete:
                return false;
            case slave::TcpFrame::Status::kBroken:
                // No frame boundary can be trusted after this: the stream is dropped.
                c.socket->abort();
                return false;
            case slave::TcpFrame::Status::kDropped:
                c.buffer.remove(0, static_cast<qsizetype>(f.size));
                return true;
            case slave::TcpFrame::Status::kFrame:
                break;
        }
        const std::vector<std::uint8_t> request(f.pdu.begin(), f.pdu.end());
        const slave::TcpFrame header = f;
        c.buffer.remove(0, static_cast<qsizetype>(f.size));
        if (header.unit != service_->address_ && header.unit != kAnyUnit0 &&
            header.unit != kAnyUnit255)
            return true;  // another device's frame
        const auto reply = service_->session_->handle(request);
        if (!reply) return true;
        const auto out = slave::tcpReply(header, reply->pdu);
        c.socket->write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size()));
        if (c.socket->bytesToWrite() > kMaxUnsent) {
            c.socket->abort();
            return false;
        }
        service_->served("TCP", header.unit, request, reply->pdu, reply->meaning);
        return true;
    }

    ModbusService* service_;
    Limits limits_;
    QTcpServer server_;
    std::vector<std::shared_ptr<Connection>> connections_;
};

// Modbus RTU through Qt SerialBus, which keeps the line's inter-frame timing,
// checks the CRC and the address, and answers no broadcast.
class ModbusService::RtuServer : public QModbusRtuSerialServer {
  public:
    explicit RtuServer(ModbusService& service) : service_(&service) {}

  protected:
    QModbusResponse processRequest(const QModbusPdu& request) override {
        std::vector<std::uint8_t> pdu{static_cast<std::uint8_t>(request.functionCode())};
        const QByteArray data = request.data();
        pdu.insert(pdu.end(), data.begin(), data.end());
        const auto reply = service_->session_->handle(pdu);
        if (!reply)
            return QModbusExceptionResponse(request.functionCode(),
                                            QModbusExceptionResponse::IllegalDataValue);
        service_->served("RTU", serverAddress(), pdu, reply->pdu, reply->meaning);
        const auto function = static_cast<QModbusPdu::FunctionCode>(reply->pdu[0]);
        QByteArray payload;
        for (std::size_t i = 1; i < reply->pdu.size(); ++i)
            payload.append(static_cast<char>(reply->pdu[i]));
        return QModbusResponse(function, payload);
    }

  private:
    ModbusService* service_;
};

ModbusService::ModbusService(slave::Session& session, int address, Log log)
    : session_(&session), address_(address), log_(std::move(log)) {}

ModbusService::~ModbusService() {
    if (rtu_) rtu_->disconnectDevice();
}

void ModbusService::served(const char* link, int unit, std::span<const std::uint8_t> request,
                           std::span<const std::uint8_t> reply, const std::string& meaning) {
    if (log_) log_(logLine(link, unit, request, reply, meaning));
}

QString ModbusService::listenTcp(const QString& host, quint16 port, Limits limits) {
    tcp_ = std::make_unique<TcpServer>(*this, limits);
    return tcp_->listen(host, port);
}

quint16 ModbusService::tcpPort() const {
    return tcp_ ? tcp_->port() : 0;
}

QString ModbusService::openRtu(const QString& device, Serial serial) {
    rtu_ = std::make_unique<RtuServer>(*this);
    const auto parity = serial.parity == 'E'   ? QSerialPort::EvenParity
                        : serial.parity == 'O' ? QSerialPort::OddParity
                                               : QSerialPort::NoParity;
    rtu_->setConnectionParameter(QModbusDevice::SerialPortNameParameter, device);
    rtu_->setConnectionParameter(QModbusDevice::SerialBaudRateParameter, serial.baud);
    rtu_->setConnectionParameter(QModbusDevice::SerialParityParameter, parity);
    rtu_->setConnectionParameter(QModbusDevice::SerialDataBitsParameter, QSerialPort::Data8);
    rtu_->setConnectionParameter(
        QModbusDevice::SerialStopBitsParameter,
        serial.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    rtu_->setServerAddress(address_);
    if (!rtu_->connectDevice() || rtu_->state() != QModbusDevice::ConnectedState)
        return QStringLiteral("RTU %1: %2").arg(device, rtu_->errorString());
    return {};
}

bool parseHostPort(const QString& text, QString& host, quint16& port) {
    const auto parsed = splitHostPort(text.toStdString());
    if (!parsed) return false;
    host = QString::fromStdString(parsed->host);
    port = parsed->port;
    return true;
}

}  // namespace vk41
