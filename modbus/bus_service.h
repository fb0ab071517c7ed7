#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modbus/bus_traffic.h"

namespace vk41 {

// How the controller is put on a bus: Modbus TCP, RTU or both, and the
// address it answers to. The defaults are the slave program's.
struct BusSettings {
    bool tcp{true};
    std::string host{"127.0.0.1"};
    int port{1502};
    bool rtu{false};
    std::string device;
    int baud{19200};
    char parity{'N'};  // N, E or O
    int stopBits{1};
    int address{127};
};

// The controller's slave port as the windows see it. The program provides
// one over real sockets and serial lines; a window without one cannot serve.
class BusService {
  public:
    virtual ~BusService() = default;

    // Starts serving as `settings` say, after stopping what served before:
    // an empty string, or why it could not, in the user's words. When one
    // link of two fails, neither serves.
    virtual std::string start(const BusSettings& settings) = 0;
    virtual void stop() = 0;
    virtual bool serving() const = 0;

    // The TCP port it listens on (useful when asked for port 0); 0 when none.
    virtual int tcpPort() const = 0;
    // The Modbus TCP masters connected now.
    virtual int masters() const = 0;
    // The serial devices the system lists, by name ("/dev/ttyUSB0").
    virtual std::vector<std::string> serialPorts() const = 0;

    // Every frame received on either link, the last BusTraffic::kKept of them.
    virtual BusTraffic& traffic() = 0;
};

}  // namespace vk41
