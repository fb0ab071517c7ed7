// The slave over Modbus TCP, polled by libmodbus.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "../modbus/catalogue.h"
#include "bus_fixture.h"
#include "plant/leds.h"
#include "plant/objectt.h"
#include "raw_socket.h"

namespace vk41 {
namespace {

using testing::BusTest;
using testing::rawConnect;

class Tcp : public BusTest {
  protected:
    // Composes a catalogue request in the Modbus window, as a person would,
    // and returns the PDU of the window's answer.
    std::vector<std::uint8_t> windowAnswer(const testing::CatalogueRequest& r,
                                           std::vector<std::uint8_t>& request) {
        Form& m = window("ModB_Frm");
        m.control("Branch", 0).setValue(true);
        m.control("Count_Length", r.kind).setValue(true);
        for (const auto& [combo, text] : r.combos) m.typeText(m.control("Комбо1", combo), text);
        m.fireTimer(m.control("Часы1"));
        const auto cells = [&](const char* row, int first, int last) {
            std::vector<std::uint8_t> bytes;
            for (int i = first; i <= last; ++i)
                bytes.push_back(
                    static_cast<std::uint8_t>(textToNumber(m.control(row, i).caption())));
            return bytes;
        };
        request = cells("Qq", 0, 5);
        const int length = static_cast<int>(textToNumber(m.control("Req_Len_L").caption()));
        return cells("Aa", 1, length - 1);
    }
};

TEST_F(Tcp, EveryCatalogueRequestGetsTheWindowsAnswer) {
    serveTcp();
    Master master = tcpMaster();
    Form& scheme = window("Objectt");
    scheme.click(scheme.control("Radix", 2));
    scheme.click(scheme.control("Vis", 0));
    for (int at : {5000, 95000, 205000}) {
        driver.scheduler().advanceBy(at - driver.scheduler().now());
        scheme.click(scheme.control("Vis", 1));  // paused
        for (const testing::CatalogueRequest& r : testing::catalogue()) {
            if (r.kind == 7 || r.kind == 8) continue;  // restarts: below
            std::vector<std::uint8_t> request;
            const auto expected = windowAnswer(r, request);
            std::vector<std::uint8_t> reply(MODBUS_TCP_MAX_ADU_LENGTH);
            const int n = onBus([&] {
                if (modbus_send_raw_request(master.get(), request.data(), 6) < 0) return -1;
                return modbus_receive_confirmation(master.get(), reply.data());
            });
            ASSERT_GT(n, 7) << "kind " << r.kind;
            const std::vector<std::uint8_t> pdu(reply.begin() + 7, reply.begin() + n);
            EXPECT_EQ(slave::hex(pdu), slave::hex(expected)) << "at " << at << ", kind " << r.kind;
            if (HasFailure()) return;
        }
        scheme.click(scheme.control("Vis", 0));
    }
}

TEST_F(Tcp, TypedReadsOfAnIndependentMasterSeeThePlant) {
    serveTcp();
    Master master = tcpMaster();
    window("Objectt").control("Itog").setCaption("300");
    window("ModB_Frm").control("Status_Lab").setCaption("3");
    std::uint16_t registers[3] = {};
    EXPECT_EQ(onBus([&] { return modbus_read_registers(master.get(), 42222, 3, registers); }), 3);
    EXPECT_EQ(registers[0], 44 << 8 | 1);  // the low byte first, as the window shows it
    EXPECT_EQ(registers[1], 0);
    std::uint8_t flags[16] = {};
    EXPECT_EQ(onBus([&] { return modbus_read_bits(master.get(), 32, 16, flags); }), 16);
    for (int k = 1; k <= 16; ++k) EXPECT_EQ(flags[k - 1], k == 8 || k == 11) << "flag " << k;
    EXPECT_EQ(onBus([&] { return modbus_write_bit(master.get(), 3, 1); }), 1);
}

struct ExceptionCase {
    const char* name;
    int (*call)(modbus_t*);
    int error;
};

class Exceptions : public Tcp, public ::testing::WithParamInterface<ExceptionCase> {};

TEST_P(Exceptions, AreTheProtocolsCodes) {
    serveTcp();
    Master master = tcpMaster();
    // errno belongs to the master's thread: it comes back with the result.
    const auto [result, error] = onBus([&] {
        errno = 0;
        const int r = GetParam().call(master.get());
        return std::pair(r, errno);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, GetParam().error) << modbus_strerror(error);
}

// A request libmodbus would refuse to send itself.
int rawRequest(modbus_t* m, std::vector<std::uint8_t> request) {
    std::uint8_t reply[MODBUS_TCP_MAX_ADU_LENGTH];
    if (modbus_send_raw_request(m, request.data(), static_cast<int>(request.size())) < 0) return -2;
    if (modbus_receive_confirmation(m, reply) != 9 || !(reply[7] & 0x80)) return -3;
    errno = MODBUS_ENOBASE + reply[8];  // as libmodbus reports an exception
    return -1;
}

std::uint8_t bits[2000];
std::uint16_t words[200];

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, Exceptions, ::testing::Values(
    ExceptionCase{"InputRegisters",    [](modbus_t* m) { return modbus_read_input_registers(m, 0, 1, words); }, EMBXILFUN},
    ExceptionCase{"WriteManyCoils",    [](modbus_t* m) { return modbus_write_bits(m, 0, 2, bits); },            EMBXILFUN},
    ExceptionCase{"FlagsPastTheMap",   [](modbus_t* m) { return modbus_read_bits(m, 56, 32, bits); },           EMBXILADD},
    ExceptionCase{"InputsPastTheMap",  [](modbus_t* m) { return modbus_read_input_bits(m, 10030, 4, bits); },   EMBXILADD},
    ExceptionCase{"RegisterBelow",     [](modbus_t* m) { return modbus_read_registers(m, 0, 2, words); },       EMBXILADD},
    ExceptionCase{"FlagNotWritable",   [](modbus_t* m) { return modbus_write_bit(m, 40, 1); },                  EMBXILADD},
    ExceptionCase{"OutputSeven",       [](modbus_t* m) { return modbus_write_bit(m, 6, 0); },                   EMBXILADD},
    ExceptionCase{"OtherRegister",     [](modbus_t* m) { return modbus_write_register(m, 42222, 1); },          EMBXILADD},
    ExceptionCase{"UnknownCommand",    [](modbus_t* m) { return modbus_write_register(m, 60000, 0x1234); },     EMBXILVAL},
    ExceptionCase{"TooManyRegisters",  [](modbus_t* m) { return rawRequest(m, {127, 3, 0xA4, 0xEE, 0, 126}); }, EMBXILVAL}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST_F(Tcp, ACoilValueOtherThanOnOrOffIsRefused) {
    serveTcp();
    Master master = tcpMaster();
    const std::uint8_t raw[] = {127, 5, 0, 0, 0x12, 0x34};
    std::vector<std::uint8_t> reply(MODBUS_TCP_MAX_ADU_LENGTH);
    const int n = onBus([&] {
        modbus_send_raw_request(master.get(), raw, sizeof raw);
        return modbus_receive_confirmation(master.get(), reply.data());
    });
    ASSERT_EQ(n, 9);
    EXPECT_EQ(reply[7], 0x85);
    EXPECT_EQ(reply[8], 0x03);
}

TEST_F(Tcp, AnswersItsAddressAndUnitsZeroAndTwoFiftyFiveOnly) {
    serveTcp();
    for (int unit : {127, 0, 255, 5}) {
        Master master = tcpMaster(unit);
        std::uint8_t flags[8] = {};
        const int n = onBus([&] { return modbus_read_bits(master.get(), 32, 8, flags); });
        EXPECT_EQ(n, unit == 5 ? -1 : 8) << "unit " << unit;
    }
    EXPECT_TRUE(logged(
        " 00 00 00 06 05 01 00 20 00 08  →  (без ответа)  адрес 5 — не этот контроллер (127)"));
}

TEST_F(Tcp, ARestartCommandRestartsThePlantAsTheButtonDoes) {
    serveTcp();
    Master master = tcpMaster();
    Form& scheme = window("Objectt");
    scheme.click(scheme.control("Radix", 2));
    scheme.click(scheme.control("Vis", 0));
    driver.scheduler().advanceBy(60000);
    ASSERT_NE(scheme.control("Itog").caption(), "0");
    EXPECT_EQ(onBus([&] { return modbus_write_register(master.get(), 60000, 0xAA55); }), 1);
    EXPECT_EQ(scheme.control("Itog").caption(), "0");
    EXPECT_EQ(scheme.control("Time").caption(), "0");
    EXPECT_FALSE(scheme.control("Часы2").enabled());  // the trainer leaves RUN to its user
}

TEST_F(Tcp, AFrameOfAnotherProtocolIsDroppedAndTheConnectionServesOn) {
    serveTcp();
    const int fd = rawConnect(service.tcpPort());
    ASSERT_GE(fd, 0);
    const std::uint8_t frames[] = {0, 1, 0, 7, 0, 6, 127, 1, 0, 32, 0, 8,   // protocol 7
                                   0, 2, 0, 0, 0, 6, 127, 1, 0, 32, 0, 8};  // Modbus
    ASSERT_EQ(::write(fd, frames, sizeof frames), static_cast<ssize_t>(sizeof frames));
    std::uint8_t reply[64] = {};
    const ssize_t n = onBus([&] { return testing::readWithin(fd, reply, sizeof reply, 3000); });
    ASSERT_EQ(n, 10);
    EXPECT_EQ(reply[1], 2);  // the answer is the second frame's
    EXPECT_TRUE(
        logged("TCP 00 01 00 07 00 06 7F 01 00 20 00 08  →  (без ответа)  идентификатор "
               "протокола 7 ≠ 0"));
    ::close(fd);
}

TEST_F(Tcp, ALengthNoFrameCanHaveClosesTheConnection) {
    serveTcp();
    const int fd = rawConnect(service.tcpPort());
    const std::uint8_t broken[] = {0, 1, 0, 0, 0x7F, 0xFF, 127, 1, 0, 32, 0, 8};
    ASSERT_EQ(::write(fd, broken, sizeof broken), static_cast<ssize_t>(sizeof broken));
    std::uint8_t reply[16];
    EXPECT_EQ(onBus([&] { return testing::readWithin(fd, reply, sizeof reply, 3000); }), 0);
    EXPECT_TRUE(logged("TCP 00 01 00 00 7F FF 7F  →  (без ответа)  длина 32767 в заголовке"));
    ::close(fd);
}

// The slave port's LED flashes for an answer sent, and for nothing else.
TEST_F(Tcp, TheSlavePortsLedLightsForAnAnsweredRequestOnly) {
    const Control& led = window("Objectt").control("Led_S");
    serveTcp();
    EXPECT_EQ(led.fillColor(), kDark) << "serving, the demonstration's blink stops";
    Master other = tcpMaster(5);
    std::uint8_t flags[8] = {};
    EXPECT_EQ(onBus([&] { return modbus_read_bits(other.get(), 32, 8, flags); }), -1);
    EXPECT_EQ(led.fillColor(), kDark) << "a frame to another controller is dropped";
    Master master = tcpMaster();
    ASSERT_EQ(onBus([&] { return modbus_read_bits(master.get(), 32, 8, flags); }), 8);
    EXPECT_EQ(led.fillColor(), kLit);
    driver.execute("run 60");
    EXPECT_EQ(led.fillColor(), kDark) << "the flash is over";
    // The demonstration blinks it once in 11 of its ticks, but not while serving.
    driver.execute("click Objectt.Radix(2)");
    driver.execute("click Objectt.Vis(0)");
    driver.execute("run 20000");
    ASSERT_EQ(driver.app().form<Objectt>("Objectt").Process_On, true);
    for (int tick = 0; tick < 30; ++tick) {
        driver.execute("run 100");
        ASSERT_EQ(led.fillColor(), kDark) << "tick " << tick;
    }
}

TEST_F(Tcp, EveryExchangeIsLoggedInOneLine) {
    serveTcp();
    Master master = tcpMaster();
    window("ModB_Frm").control("Status_Lab").setCaption("2");
    std::uint8_t flags[32];
    onBus([&] { return modbus_read_bits(master.get(), 32, 32, flags); });
    ASSERT_EQ(log.size(), 1u);
    // The frames whole, the answer with the request's transaction id.
    const std::string& line = log[0];
    const std::size_t asked = line.find("TCP ");
    ASSERT_NE(asked, std::string::npos) << line;
    const std::string transaction = line.substr(asked + 4, 5);
    EXPECT_NE(line.find("TCP " + transaction + " 00 00 00 06 7F 01 00 20 00 20  →  " + transaction +
                        " 00 00 00 07 7F 01 04 83 00 00 00  FC1 флаги 1–32 → 83 00 00 00"),
              std::string::npos)
        << line;
}

}  // namespace
}  // namespace vk41
