#include <QApplication>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/modbus_service.h"
#include "app/trainer_bus.h"
#include "app/windows.h"
#include "modbus/bus_frm.h"
#include "tools/slave/slave_options.h"
#include "ui/qt/shell.h"

namespace {

bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int fail(const QString& message) {
    std::fprintf(stderr, "vk41-demo: %s\n", message.toLocal8Bit().constData());
    return 2;
}

// --modbus-tcp [HOST:]PORT and --modbus-rtu DEVICE serve the plant on the
// screen to real Modbus masters, with --address, --baud, --parity and --stop
// as vk41-slave takes them, and the same defaults; without the first two the
// program serves nothing.
struct Serving {
    bool any{false};
    vk41::slave::Options options;
};

bool parseArguments(const QStringList& args, Serving& serving, QString& error) {
    static const std::map<std::string, std::string> kSlaveNames = {
        {"--modbus-tcp", "--tcp"}, {"--modbus-rtu", "--rtu"}, {"--address", "--address"},
        {"--baud", "--baud"},      {"--parity", "--parity"},  {"--stop", "--stop"},
    };
    std::vector<std::string> slave;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const std::string arg = args[i].toStdString();
        const auto name = kSlaveNames.find(arg);
        if (name == kSlaveNames.end()) {
            error = QStringLiteral("unknown option %1").arg(args[i]);
            return false;
        }
        if (i + 1 == args.size()) {
            error = QStringLiteral("%1 needs a value").arg(args[i]);
            return false;
        }
        serving.any = serving.any || arg == "--modbus-tcp" || arg == "--modbus-rtu";
        slave.push_back(name->second);
        slave.push_back(args[++i].toStdString());
    }
    const vk41::slave::Parsed parsed = vk41::slave::parseOptions(slave);
    if (!parsed.options) {
        // The slave's words, with the trainer's names of its options.
        std::string said = parsed.error;
        for (const auto& [ours, theirs] : kSlaveNames)
            if (ours != theirs && said.find(theirs) != std::string::npos)
                said.replace(said.find(theirs), theirs.size(), ours);
        error = QString::fromStdString(said);
        return false;
    }
    serving.options = *parsed.options;
    if (std::find(slave.begin(), slave.end(), "--tcp") == slave.end()) serving.options.tcp.clear();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!haveDisplay()) {
        std::fputs("vk41-demo: no display to show the windows on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the shell decides when the program ends
    Serving serving;
    QString error;
    if (!parseArguments(QApplication::arguments(), serving, error)) return fail(error);

    vk41::Trainer program;
    vk41::qt::Shell shell(program.app);
    // The window "Шина ModBus" serves the plant on the screen; the command
    // line starts it as its "Подключить" does.
    vk41::TrainerBus bus(shell.app());
    if (serving.any) {
        const vk41::slave::Options& o = serving.options;
        vk41::BusSettings settings;
        settings.tcp = !o.tcp.empty();
        settings.rtu = !o.rtu.empty();
        settings.device = o.rtu;
        settings.baud = o.baud;
        settings.parity = o.parity;
        settings.stopBits = o.stopBits;
        settings.address = o.address;
        QString host;
        quint16 port = 0;
        if (settings.tcp && !vk41::parseHostPort(QString::fromStdString(o.tcp), host, port))
            return fail(QStringLiteral("bad --modbus-tcp: %1").arg(QString::fromStdString(o.tcp)));
        settings.host = host.toStdString();
        settings.port = port;
        const std::string refused = shell.app().form<vk41::BusFrm>(vk41::kBusFrm).connect(settings);
        if (!refused.empty()) return fail(QString::fromStdString(refused));
    }
    shell.start();
    return QApplication::exec();
}
