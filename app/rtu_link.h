#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <span>
#include <vector>

namespace vk41 {

class FrameHandler;

// Modbus RTU on a serial line, framed by the program itself as TCP is: a
// frame ends with the line's silence, or as soon as a request whose function
// tells its length is whole. Every frame that reaches the controller gets the
// answer TCP gives; a frame that does not says why in the log.
class RtuLink : public QObject {
  public:
    struct Serial {
        int baud{19200};
        char parity{'N'};  // N, E or O
        int stopBits{1};
    };

    RtuLink(FrameHandler& handler, int address);

    // An empty string, or why the device cannot be opened.
    QString open(const QString& device, Serial serial);

  private:
    void read();
    void lineFellSilent();
    void take(std::span<const std::uint8_t> frame);

    FrameHandler* handler_;
    std::uint8_t address_;
    QSerialPort port_;
    QTimer silence_;
    std::vector<std::uint8_t> frame_;  // what came since the last silence
    bool overlong_{false};  // more came than a frame holds: the rest waits for the silence
};

}  // namespace vk41
