// vk41-slave: the simulated ВК-41 on a real bus. It runs the program's
// windows headless, plays the demonstration without end and answers any
// Modbus master over TCP and RTU from the running plant.
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/headless_clock.h"
#include "app/host_port.h"
#include "app/line_log.h"
#include "app/modbus_service.h"
#include "app/windows.h"
#include "conditions/program_file.h"
#include "modbus/slave_session.h"
#include "plant/objectt.h"
#include "tools/slave/slave_options.h"
#include "ui/app.h"
#include "ui/scheduler.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

int fail(const std::string& message) {
    std::cerr << "vk41-slave: " << message.c_str() << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const vk41::slave::Parsed parsed = vk41::slave::parseOptions(args);
    if (!parsed.options) return fail(parsed.error + vk41::slave::kHelpHint);
    const vk41::slave::Options& options = *parsed.options;
    if (options.help) {
        std::cout << vk41::slave::kUsage;
        return 0;
    }
    QCoreApplication application(argc, argv);

    // Ctrl+C and SIGTERM end the event loop, so everything closes cleanly.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return fail("no signal pipe");
    QSocketNotifier quitting(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitting, &QSocketNotifier::activated, &application, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    vk41::Trainer program;
    vk41::App& app = program.app;
    app.start();
    app.open(vk41::kObjectt);
    if (!options.program.empty()) {
        const vk41::ProgramRead read = vk41::readProgramFile(options.program);
        if (!read.program) return fail(read.error);
        app.form<vk41::Objectt>(vk41::kObjectt).controller().load(*read.program);
    }
    vk41::slave::Session session(app, options.mode, true, options.valve);
    session.keepRunning();

    // The log never holds up serving: when standard output takes no more
    // (a pipe nobody reads), lines are dropped and counted.
    vk41::LineLog output(STDOUT_FILENO);
    vk41::ModbusService::Log log;
    if (!options.quiet) log = [&output](const std::string& line) { output.write(line); };
    vk41::ModbusService service(session, options.address, log);
    // Each exchange goes into the capture as it is whole, so the file reads
    // in Wireshark while the slave serves, and after it is stopped.
    std::ofstream capture;
    if (!options.pcap.empty()) {
        capture.open(options.pcap, std::ios::binary | std::ios::trunc);
        if (!capture) return fail("cannot write --pcap " + options.pcap);
        service.captureTo(&capture);
    }
    if (!options.tcp.empty()) {
        QString host;
        quint16 port = 0;
        if (!vk41::parseHostPort(QString::fromStdString(options.tcp), host, port))
            return fail("bad --tcp: " + options.tcp + vk41::slave::kHelpHint);
        vk41::ModbusService::Limits limits;
        limits.maxConnections = options.maxConnections;
        const QString error = service.listenTcp(host, port, limits);
        if (!error.isEmpty()) return fail(error.toStdString());
        std::cerr << "vk41-slave: Modbus TCP "
                  << vk41::joinHostPort(host.toStdString(), service.tcpPort()) << ", address "
                  << options.address << std::endl;
    }
    if (!options.rtu.empty()) {
        const QString error = service.openRtu(QString::fromStdString(options.rtu),
                                              {options.baud, options.parity, options.stopBits});
        if (!error.isEmpty()) return fail(error.toStdString());
        std::cerr << "vk41-slave: Modbus RTU " << options.rtu << ' ' << options.baud << ' '
                  << options.parity << ' ' << options.stopBits << ", address " << options.address
                  << std::endl;
    }

    vk41::HeadlessClock clock(program.scheduler, options.speed, [&] { session.keepRunning(); });
    return QCoreApplication::exec();
}
