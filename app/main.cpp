#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/modbus_service.h"
#include "app/windows.h"
#include "modbus/slave_session.h"
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
// screen to real Modbus masters; without them the program serves nothing.
struct Serving {
    QString tcp, rtu;
};

bool parseArguments(const QStringList& args, Serving& serving, QString& error) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString* target = args[i] == QLatin1String("--modbus-tcp")   ? &serving.tcp
                          : args[i] == QLatin1String("--modbus-rtu") ? &serving.rtu
                                                                     : nullptr;
        if (!target) {
            error = QStringLiteral("unknown option %1").arg(args[i]);
            return false;
        }
        if (i + 1 == args.size()) {
            error = QStringLiteral("%1 needs a value").arg(args[i]);
            return false;
        }
        *target = args[++i];
    }
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
    // The run controls, modes and Restart stay the user's.
    vk41::slave::Session session(shell.app(), 0, false);
    std::unique_ptr<vk41::ModbusService> service;
    if (!serving.tcp.isEmpty() || !serving.rtu.isEmpty())
        service = std::make_unique<vk41::ModbusService>(session, 127, vk41::ModbusService::Log{});
    if (!serving.tcp.isEmpty()) {
        QString host;
        quint16 port = 0;
        if (!vk41::parseHostPort(serving.tcp, host, port))
            return fail(QStringLiteral("bad --modbus-tcp: %1").arg(serving.tcp));
        if (const QString e = service->listenTcp(host, port, {}); !e.isEmpty()) return fail(e);
    }
    if (!serving.rtu.isEmpty())
        if (const QString e = service->openRtu(serving.rtu, {}); !e.isEmpty()) return fail(e);
    shell.start();
    return QApplication::exec();
}
