// The slave over Modbus RTU at 19200 baud on a pseudo-terminal pair, polled
// by libmodbus on the other end.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "bus_fixture.h"
#include "serial_pair.h"

namespace vk41 {
namespace {

class Rtu : public testing::BusTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(line.ready()) << "socat made no serial pair";
        const QString error = service.openRtu(QString::fromStdString(line.slaveEnd()), {});
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    Master rtuMaster(int unit) {
        Master m(modbus_new_rtu(line.masterEnd().c_str(), 19200, 'N', 8, 1), [](modbus_t* c) {
            modbus_close(c);
            modbus_free(c);
        });
        modbus_set_slave(m.get(), unit);
        modbus_set_response_timeout(m.get(), 0, 500000);
        EXPECT_EQ(modbus_connect(m.get()), 0);
        return m;
    }

    testing::SerialPair line;
};

TEST_F(Rtu, AnswersItsAddressWithCorrectFraming) {
    window("ModB_Frm").control("Status_Lab").setCaption("3");
    window("Objectt").control("Itog").setCaption("36");
    Master master = rtuMaster(127);
    std::uint8_t flags[16] = {};
    const auto [n, error] = onBus([&] {
        const int r = modbus_read_bits(master.get(), 32, 16, flags);
        return std::pair(r, errno);
    });
    ASSERT_EQ(n, 16) << modbus_strerror(error);
    for (int k = 1; k <= 16; ++k) EXPECT_EQ(flags[k - 1], k == 8 || k == 11) << "flag " << k;
    std::uint16_t counter[2] = {};
    EXPECT_EQ(onBus([&] { return modbus_read_registers(master.get(), 42222, 2, counter); }), 2);
    EXPECT_EQ(counter[0], 36 << 8);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("RTU 7F 01 00 20 00 10"), std::string::npos) << log[0];
}

TEST_F(Rtu, AWrongAddressIsAnsweredBySilence) {
    Master master = rtuMaster(5);
    std::uint8_t flags[8];
    const auto [n, error] = onBus([&] {
        const int r = modbus_read_bits(master.get(), 32, 8, flags);
        return std::pair(r, errno);
    });
    EXPECT_EQ(n, -1);
    EXPECT_EQ(error, ETIMEDOUT);
    // The log says why the line stayed silent.
    EXPECT_TRUE(waitForLog("RTU 05 01 00 20 00 08"));
    EXPECT_TRUE(logged("(без ответа)  адрес 5 — не этот контроллер (127)")) << log.front();
}

TEST_F(Rtu, ABroadcastRestartTakesEffectWithoutAnAnswer) {
    Form& scheme = window("Objectt");
    scheme.click(scheme.control("Radix", 2));
    scheme.click(scheme.control("Vis", 0));
    driver.scheduler().advanceBy(60000);
    ASSERT_NE(scheme.control("Itog").caption(), "0");
    Master master = rtuMaster(0);
    onBus([&] { return modbus_write_register(master.get(), 60000, 0xAA55); });
    // The restart lands when the slave has read the frame; wait for it.
    QElapsedTimer waited;
    waited.start();
    while (scheme.control("Itog").caption() != "0" && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(scheme.control("Itog").caption(), "0");
    // Logged as the broadcast it is, not as a request to this slave with an echo.
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].find("RTU 00 06 EA 60 AA 55 "), log[0].find("RTU ")) << log[0];
    EXPECT_NE(log[0].find("  →  (без ответа)  FC6 регистр 60000 ← AA55 (перезапуск контроллера) "
                          "→ эхо  — широковещательный запрос: выполнен без ответа"),
              std::string::npos)
        << log[0];
    // Nothing came back on the line.
    Master listener = rtuMaster(127);
    std::uint8_t stray[16];
    modbus_set_response_timeout(listener.get(), 0, 200000);
    EXPECT_EQ(onBus([&] { return modbus_receive_confirmation(listener.get(), stray); }), -1);
}

// The line's far end, raw, for what no master library sends.
int rawLine(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B19200);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

struct DroppedFrame {
    const char* name;
    std::vector<std::uint8_t> frame;
    const char* logged;
};

void PrintTo(const DroppedFrame& d, std::ostream* os) {
    *os << d.name;
}

class DroppedFrames : public Rtu, public ::testing::WithParamInterface<DroppedFrame> {};

TEST_P(DroppedFrames, GetNoAnswerAndTheLogSaysWhy) {
    const int fd = rawLine(line.masterEnd());
    ASSERT_GE(fd, 0);
    const auto& frame = GetParam().frame;
    ASSERT_EQ(::write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_TRUE(waitForLog(GetParam().logged)) << ::testing::PrintToString(log);
    const auto got = onBus([&] {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 200);
    });
    EXPECT_EQ(got, 0) << "the frame got an answer";
    ::close(fd);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rtu, DroppedFrames, ::testing::Values(
    //           name             frame                                       what the log says
    DroppedFrame{"BadCrc",        {127, 1, 0, 32, 0, 8, 0x00, 0x00},          "RTU 7F 01 00 20 00 08 00 00  →  (без ответа)  CRC неверна: получено 00 00, должно быть 36 18"},
    DroppedFrame{"TooShort",      {127, 1, 0},                                "RTU 7F 01 00  →  (без ответа)  длина кадра 3, а кадр RTU бывает от 4 до 256 байт"},
    DroppedFrame{"OtherAddress",  {5, 1, 0, 32, 0, 8, 0x3D, 0x82},            "RTU 05 01 00 20 00 08 3D 82  →  (без ответа)  адрес 5 — не этот контроллер (127)"},
    DroppedFrame{"ShortField",    {127, 1, 0, 32, 0, 0x29, 0xF6},             "RTU 7F 01 00 20 00 29 F6  →  (без ответа)  длина кадра не соответствует функции 1"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41
