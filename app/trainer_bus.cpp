#include "app/trainer_bus.h"

#include <QSerialPortInfo>
#include <algorithm>

#include "ui/app.h"

namespace vk41 {

TrainerBus::TrainerBus(App& app, ModbusService::Clock clock)
    : app_(&app), session_(app, 0, false), service_(session_, 127, {}, std::move(clock)) {
    app.provide<BusService>(this);
}

TrainerBus::~TrainerBus() {
    if (app_->service<BusService>() == this) app_->provide<BusService>(nullptr);
}

std::string TrainerBus::start(const BusSettings& settings) {
    service_.close();
    service_.setAddress(settings.address);
    if (settings.tcp) {
        const QString error = service_.listenTcp(QString::fromStdString(settings.host),
                                                 static_cast<quint16>(settings.port), {});
        if (!error.isEmpty()) return error.toStdString();
    }
    if (settings.rtu) {
        const QString error = service_.openRtu(QString::fromStdString(settings.device),
                                               {settings.baud, settings.parity, settings.stopBits});
        if (!error.isEmpty()) {
            service_.close();
            return error.toStdString();
        }
    }
    return {};
}

void TrainerBus::stop() {
    service_.close();
}

std::vector<std::string> TrainerBus::serialPorts() const {
    std::vector<std::string> names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        names.push_back(port.systemLocation().toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vk41
