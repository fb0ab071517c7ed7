// The window "Шина ModBus" serving the plant to independent masters: driven
// through the script driver as a person would, while libmodbus and a raw
// socket talk to the port it opened.
#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/trainer_bus.h"
#include "bus_fixture.h"
#include "modbus/bus_frm.h"
#include "raw_socket.h"
#include "tools/script_driver.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BusWindow : public ::testing::Test {
  protected:
    BusWindow() {
        driver.execute("menu Texttt Имитация");
        driver.execute("menu Objectt \"Шина ModBus\"");
    }

    BusFrm& window() { return driver.app().form<BusFrm>(kBusFrm); }
    std::string get(const std::string& path) {
        out.str("");
        driver.execute("get " + path);
        return out.str();
    }
    // Serves on a port the system picks, from the window's own fields.
    void connect() {
        driver.execute("text Bus_Frm.Bus_Port 0");
        driver.execute("click Bus_Frm.Bus_Connect");
        ASSERT_TRUE(bus.serving()) << get("Bus_Frm.Bus_Message.Caption");
    }
    void tick() { driver.execute("tick Bus_Frm.Bus_Clock"); }

    template <typename Work>
    auto onBus(Work work) {
        return testing::onBus(std::move(work));
    }
    // The event loop runs until the window lists `rows` frames, for at most a few seconds.
    bool waitForRows(int rows) {
        QElapsedTimer waited;
        waited.start();
        for (tick(); window().rows() < rows && waited.elapsed() < 3000; tick())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return window().rows() >= rows;
    }
    // One raw frame to the port, what comes back within a short bound.
    Bytes sendRaw(const Bytes& frame) {
        return onBus([&, port = bus.tcpPort()] {
            const int fd = testing::rawConnect(static_cast<std::uint16_t>(port));
            Bytes got(300);
            ssize_t n = testing::kNothingCame;
            if (fd >= 0 && testing::sendAll(fd, frame))
                n = testing::readWithin(fd, got.data(), got.size(), 300);
            if (fd >= 0) ::close(fd);
            got.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
            return got;
        });
    }

    std::ostringstream out;
    ScriptDriver driver{out};
    std::int64_t clockMs{0};
    TrainerBus bus{driver.app(), [this] { return clockMs; }};
};

TEST_F(BusWindow, ServesFromItsFieldsAndStopsAgainWithTheStateInViewAndInTheSchemesTitle) {
    EXPECT_EQ(get("Bus_Frm.Bus_State.Caption"),
              "Bus_Frm.Bus_State.Caption = \"ModBus: не подключено\"\n");
    connect();
    const std::string state =
        "ModBus TCP 127.0.0.1:" + std::to_string(bus.tcpPort()) + " · мастеров: 0 · запросов: 0";
    EXPECT_EQ(window().stateText(), state);
    EXPECT_EQ(driver.app().form(kObjectt).caption(), "Схема установки — " + state);
    EXPECT_EQ(get("Bus_Frm.Bus_Connect.Enabled"), "Bus_Frm.Bus_Connect.Enabled = False\n");
    driver.execute("click Bus_Frm.Bus_Disconnect");
    EXPECT_FALSE(bus.serving());
    EXPECT_EQ(driver.app().form(kObjectt).caption(), "Схема установки");
    EXPECT_EQ(get("Bus_Frm.Bus_Connect.Enabled"), "Bus_Frm.Bus_Connect.Enabled = True\n");
}

TEST_F(BusWindow, APortInUseOrAFieldThatIsNoNumberIsAMessageAndNothingServes) {
    connect();
    const int taken = bus.tcpPort();
    TrainerBus other{driver.app()};  // a second trainer wants the same port
    BusSettings same;
    same.port = taken;
    const std::string refused = other.start(same);
    EXPECT_NE(refused.find("порт занят"), std::string::npos) << refused;
    EXPECT_FALSE(other.serving());
    driver.app().provide<BusService>(&bus);

    driver.execute("click Bus_Frm.Bus_Disconnect");
    driver.execute("text Bus_Frm.Bus_Address 300");
    driver.execute("click Bus_Frm.Bus_Connect");
    EXPECT_EQ(get("Bus_Frm.Bus_Message.Caption"),
              "Bus_Frm.Bus_Message.Caption = \"Адрес контроллера — целое число от 1 до 247\"\n");
    driver.execute("text Bus_Frm.Bus_Address 127");
    driver.execute("text Bus_Frm.Bus_Host 127.0.0.x");
    driver.execute("click Bus_Frm.Bus_Connect");
    EXPECT_NE(get("Bus_Frm.Bus_Message.Caption").find("не адрес: 127.0.0.x"), std::string::npos);
    EXPECT_FALSE(bus.serving());
}

TEST_F(BusWindow, ListsEveryFrameWithItsMeaningOrTheReasonForSilenceAndExplainsTheSelectedOne) {
    connect();
    // libmodbus reads the outputs; a raw master sends a bad protocol id and
    // asks another address. The Modbus window was never opened: the bytes
    // are decimal, as it starts.
    const int read = onBus([port = bus.tcpPort()] {
        modbus_t* m = modbus_new_tcp("127.0.0.1", port);
        modbus_set_slave(m, 127);
        std::uint8_t bits[8];
        const int n = modbus_connect(m) == 0 ? modbus_read_bits(m, 0, 8, bits) : -1;
        modbus_close(m);
        modbus_free(m);
        return n;
    });
    EXPECT_EQ(read, 8);
    EXPECT_TRUE(sendRaw({0, 9, 0, 1, 0, 6, 127, 1, 0, 0, 0, 8}).empty());
    ASSERT_TRUE(waitForRows(2));
    const Bytes otherUnit = {0, 10, 0, 0, 0, 6, 5, 1, 0, 0, 0, 8};
    EXPECT_TRUE(sendRaw(otherUnit).empty());
    ASSERT_TRUE(waitForRows(3));

    BusFrm& w = window();
    EXPECT_EQ(w.cell(0, BusFrm::kFunction), "1");
    EXPECT_EQ(w.cell(0, BusFrm::kUnit), "127");
    EXPECT_EQ(w.cell(0, BusFrm::kLink).rfind("127.0.0.1:", 0), 0u);
    EXPECT_EQ(w.cell(0, BusFrm::kRequest).substr(12), "00 06 127 01 00 00 00 08");
    EXPECT_NE(w.cell(0, BusFrm::kMeaning).find("FC1"), std::string::npos);
    EXPECT_EQ(w.cell(1, BusFrm::kAnswer), "—");
    EXPECT_EQ(w.cell(1, BusFrm::kMeaning), "идентификатор протокола 1 ≠ 0");

    // Only errors; then back to all.
    EXPECT_EQ(w.cell(2, BusFrm::kMeaning), "адрес 5 — не этот контроллер (127)");
    driver.execute("pick Bus_Frm.Bus_Show \"только ошибки\"");
    EXPECT_EQ(w.rows(), 2);
    driver.execute("pick Bus_Frm.Bus_Show \"все кадры\"");
    driver.execute("text Bus_Frm.Bus_Unit 5");
    EXPECT_EQ(w.rows(), 1);
    driver.execute("pick Bus_Frm.Bus_Unit все");
    EXPECT_EQ(w.rows(), 3);

    driver.execute("select Bus_Frm.Bus_Rows 0");
    EXPECT_EQ(get("Bus_Frm.Bus_Rows.ListIndex"), "Bus_Frm.Bus_Rows.ListIndex = 0\n");
    const std::string bytes = driver.app().form(kBusFrm).control("Bus_Bytes").text();
    EXPECT_NE(bytes.find("[0] 00  Идентификатор транзакции"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("Ответ:"), std::string::npos);
    EXPECT_NE(bytes.find("[8] 01  "), std::string::npos) << "the answer's byte count";
    driver.execute("select Bus_Frm.Bus_Rows 1");
    EXPECT_NE(driver.app()
                  .form(kBusFrm)
                  .control("Bus_Bytes")
                  .text()
                  .find("Ответа нет: идентификатор протокола 1 ≠ 0"),
              std::string::npos);

    // Paused, a new frame waits; cleared, the list is empty.
    driver.execute("click Bus_Frm.Bus_Pause");
    sendRaw({0, 11, 0, 0, 0, 6, 127, 3, 0, 0, 0, 1});
    tick();
    EXPECT_EQ(w.rows(), 3);
    driver.execute("click Bus_Frm.Bus_Pause");
    EXPECT_EQ(w.rows(), 4);
    driver.execute("click Bus_Frm.Bus_Clear");
    EXPECT_EQ(w.rows(), 0);
    EXPECT_EQ(get("Bus_Frm.Bus_Rows.ListIndex"), "Bus_Frm.Bus_Rows.ListIndex = -1\n");
}

TEST_F(BusWindow, KeepsTenThousandRowsAndNoMoreOverAHundredThousandExchanges) {
    BusTraffic& traffic = bus.traffic();
    for (int i = 0; i < 100'000; ++i) {
        BusExchange e;
        e.link = "RTU";
        e.request = {127, 3, 0, 0, 0, 1, 0x8F, 0xD2};
        e.unit = 127;
        e.function = i % 2 ? 3 : 1;
        traffic.add(std::move(e));
        if (i % 1000 == 0) tick();
    }
    tick();
    EXPECT_EQ(window().rows(), static_cast<int>(BusTraffic::kKept));
    driver.execute("text Bus_Frm.Bus_Function 3");
    EXPECT_EQ(window().rows(), static_cast<int>(BusTraffic::kKept / 2));
    EXPECT_EQ(traffic.first(), 90'000u);
}

TEST_F(BusWindow, SavesTheRowsShownAsAJournalWithTabSeparatedColumns) {
    BusExchange e;
    e.link = "RTU";
    e.request = {5, 1, 0, 0, 0, 8};
    e.unit = 5;
    e.function = 1;
    e.why = "адрес 5 — не этот контроллер (127)";
    bus.traffic().add(e);
    tick();
    const std::string file = ::testing::TempDir() + "bus_journal.tsv";
    driver.execute("answer " + file);
    driver.execute("click Bus_Frm.Bus_Save_Log");
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().substr(text.str().find('\n') + 1).substr(12),
              "\tRTU\t5\t1\t05 01 00 00 00 08\t—\tадрес 5 — не этот контроллер (127)\n");
    EXPECT_EQ(text.str().rfind("Время\tСвязь\tАдрес\tФункция\tЗапрос\tОтвет\tСмысл\n", 0), 0u);
}

}  // namespace
}  // namespace vk41
