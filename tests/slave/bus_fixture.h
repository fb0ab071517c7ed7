#pragma once

#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/modbus_service.h"
#include "modbus/slave_session.h"
#include "tools/script_driver.h"
#include "ui/numbers.h"

namespace vk41::testing {

// Runs `work` on the master's thread and the event loop here until it is
// done, for at most `boundMs`.
template <typename Work>
auto onBus(Work work, int boundMs = 5000) {
    auto done = std::async(std::launch::async, work);
    QElapsedTimer waited;
    waited.start();
    while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready &&
           waited.elapsed() < boundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(done.wait_for(std::chrono::seconds(0)), std::future_status::ready)
        << "the master got no answer within " << boundMs << " ms";
    return done.get();
}

// The plant paused in virtual time, served on a loopback port, and polled by
// libmodbus, an independent master, from a thread of its own while this
// thread runs the event loop.
class BusTest : public ::testing::Test {
  protected:
    BusTest() {
        driver.app().open("Objectt");
        driver.app().open("ModB_Frm");
    }

    void serveTcp(ModbusService::Limits limits = {}) {
        const QString error = service.listenTcp(QStringLiteral("127.0.0.1"), 0, limits);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    template <typename Work>
    auto onBus(Work work, int boundMs = 5000) {
        return testing::onBus(std::move(work), boundMs);
    }

    // A libmodbus TCP master on the served port.
    using Master = std::unique_ptr<modbus_t, void (*)(modbus_t*)>;
    Master tcpMaster(int unit = 127) {
        Master m(modbus_new_tcp("127.0.0.1", service.tcpPort()), [](modbus_t* c) {
            modbus_close(c);
            modbus_free(c);
        });
        modbus_set_slave(m.get(), unit);
        modbus_set_response_timeout(m.get(), 0, 400000);
        const int connected = onBus([&] { return modbus_connect(m.get()); });
        EXPECT_EQ(connected, 0);
        return m;
    }

    Form& window(const char* name) { return driver.app().form(name); }

    std::ostringstream out;
    ScriptDriver driver{out};
    slave::Session session{driver.app(), 2, false};
    std::vector<std::string> log;
    // The service's clock: TCP deadlines fall due only when a test moves it
    // and calls service.checkDeadlines().
    std::int64_t clockMs{0};
    ModbusService service{session, 127, [this](const std::string& line) { log.push_back(line); },
                          [this] { return clockMs; }};

    // Whether a line of the log holds `text`.
    bool logged(const std::string& text) const {
        for (const std::string& line : log)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    // Runs the event loop until a line holding `text` is logged, for at most `boundMs`.
    bool waitForLog(const std::string& text, int boundMs = 3000) {
        QElapsedTimer waited;
        waited.start();
        while (!logged(text) && waited.elapsed() < boundMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return logged(text);
    }
};

}  // namespace vk41::testing
