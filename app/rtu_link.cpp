#include "app/rtu_link.h"

#include <chrono>

#include "app/frame_handler.h"
#include "modbus/rtu_framing.h"

namespace vk41 {
namespace {

constexpr const char* kLink = "RTU";

// The line has no addresses of its own: a capture shows it between two.
Arrival arrival(std::span<const std::uint8_t> frame) {
    return {kLink, capture::rtuMaster(), capture::rtuController(), frame};
}

// Why a device did not open, in the user's words where the reason is a usual one.
QString openError(const QString& device, const QSerialPort& port) {
    const QString where = QStringLiteral("RTU %1: ").arg(device);
    switch (port.error()) {
        case QSerialPort::DeviceNotFoundError:
            return where + QStringLiteral("нет такого устройства");
        case QSerialPort::PermissionError:
            return where + QStringLiteral(
                               "нет доступа: устройство занято другой программой, или "
                               "у пользователя нет прав (группа dialout)");
        case QSerialPort::OpenError:
            return where + QStringLiteral("устройство уже открыто");
        default:
            return where + port.errorString();
    }
}

}  // namespace

RtuLink::RtuLink(FrameHandler& handler, int address)
    : handler_(&handler), address_(static_cast<std::uint8_t>(address)) {
    silence_.setSingleShot(true);
    silence_.setTimerType(Qt::PreciseTimer);
    connect(&silence_, &QTimer::timeout, this, &RtuLink::lineFellSilent);
    connect(&port_, &QSerialPort::readyRead, this, &RtuLink::read);
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::ResourceError) return;
        handler_->dropped(arrival({}), "линия потеряна: " + port_.errorString().toStdString());
        port_.close();
    });
}

QString RtuLink::open(const QString& device, Serial serial) {
    port_.setPortName(device);
    port_.setBaudRate(serial.baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(serial.parity == 'E'   ? QSerialPort::EvenParity
                    : serial.parity == 'O' ? QSerialPort::OddParity
                                           : QSerialPort::NoParity);
    port_.setStopBits(serial.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) return openError(device, port_);
    const auto silence = slave::frameSilence(serial.baud);
    // The timer counts whole milliseconds: the silence rounds up.
    silence_.setInterval(
        static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(silence).count()));
    return {};
}

void RtuLink::read() {
    const QByteArray data = port_.readAll();
    silence_.start();
    if (overlong_) return;
    frame_.insert(frame_.end(), data.begin(), data.end());
    // A request whose function tells its length is answered once it is whole
    // and its CRC holds, without waiting for the silence after it.
    while (const auto length = slave::wholeRequest(frame_)) {
        const std::vector<std::uint8_t> whole(
            frame_.begin(), frame_.begin() + static_cast<std::ptrdiff_t>(*length));
        frame_.erase(frame_.begin(), frame_.begin() + static_cast<std::ptrdiff_t>(*length));
        take(whole);
    }
    if (frame_.size() > slave::kMaxRtuFrame) {
        take(frame_);  // dropped for its length
        frame_.clear();
        overlong_ = true;
    }
}

void RtuLink::lineFellSilent() {
    overlong_ = false;
    if (frame_.empty()) return;
    const std::vector<std::uint8_t> frame = std::move(frame_);
    frame_.clear();
    take(frame);
}

void RtuLink::take(std::span<const std::uint8_t> frame) {
    const slave::RtuFrame f = slave::readRtuFrame(frame, address_);
    switch (f.status) {
        case slave::RtuFrame::Status::kRequest:
            if (const auto reply = handler_->request(arrival(frame), f.address, f.pdu, false)) {
                const auto out = slave::rtuFrame(address_, *reply);
                port_.write(reinterpret_cast<const char*>(out.data()),
                            static_cast<qint64>(out.size()));
                handler_->answered(out);
            }
            return;
        case slave::RtuFrame::Status::kBroadcast:
            handler_->request(arrival(frame), f.address, f.pdu, true);
            return;
        default:
            handler_->dropped(arrival(frame), slave::whyDropped(f, frame, address_));
    }
}

}  // namespace vk41
