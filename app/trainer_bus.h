#pragma once

#include <string>
#include <vector>

#include "app/modbus_service.h"
#include "modbus/bus_service.h"
#include "modbus/slave_session.h"

namespace vk41 {

class App;

// The controller's slave port in the trainer: the plant on the screen
// served on Modbus TCP and RTU, as the window "Шина ModBus" starts and stops
// it. The run controls, modes and Restart stay the user's.
class TrainerBus : public BusService {
  public:
    // `clock` gives the TCP deadlines their time; by default the system's.
    explicit TrainerBus(App& app, ModbusService::Clock clock = {});
    ~TrainerBus() override;

    std::string start(const BusSettings& settings) override;
    void stop() override;
    bool serving() const override { return service_.serving(); }
    int tcpPort() const override { return service_.tcpPort(); }
    int masters() const override { return service_.masters(); }
    std::vector<std::string> serialPorts() const override;
    BusTraffic& traffic() override { return service_.traffic(); }

    ModbusService& service() { return service_; }

  private:
    App* app_;
    slave::Session session_;
    ModbusService service_;
};

}  // namespace vk41
