// A request gets the same answer over TCP and over RTU: the protocol's
// exception for a function the controller does not serve, whatever its
// length, and silence, with the reason logged, for a request whose length
// does not fit its function.
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "bus_fixture.h"
#include "serial_pair.h"

namespace vk41 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RequestCase {
    const char* name;
    Bytes pdu;
    Bytes answer;        // empty: silence
    const char* logged;  // what the log says of it
};

void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.name;
}

class BothLinks : public testing::BusTest, public ::testing::WithParamInterface<RequestCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(line.ready()) << "socat made no serial pair";
        ASSERT_TRUE(service.openRtu(QString::fromStdString(line.slaveEnd()), {}).isEmpty());
        serveTcp();
    }

    Master rtuMaster() {
        Master m(modbus_new_rtu(line.masterEnd().c_str(), 19200, 'N', 8, 1), [](modbus_t* c) {
            modbus_close(c);
            modbus_free(c);
        });
        modbus_set_slave(m.get(), 127);
        modbus_set_response_timeout(m.get(), 0, 400000);
        EXPECT_EQ(modbus_connect(m.get()), 0);
        return m;
    }

    // The PDU of the answer to `pdu` for unit 127, or none when the slave is silent.
    std::optional<Bytes> ask(modbus_t* master, const Bytes& pdu) {
        Bytes request{127};
        request.insert(request.end(), pdu.begin(), pdu.end());
        std::uint8_t reply[MODBUS_TCP_MAX_ADU_LENGTH];
        const int n = onBus([&] {
            if (modbus_send_raw_request(master, request.data(), static_cast<int>(request.size())) <
                0)
                return -1;
            return modbus_receive_confirmation(master, reply);
        });
        if (n < 0) return std::nullopt;
        // TCP's header ends with the unit, RTU's is the address; RTU ends with the CRC.
        const int header = modbus_get_header_length(master);
        const int crc = header == 1 ? 2 : 0;
        return Bytes(reply + header, reply + n - crc);
    }

    testing::SerialPair line;
};

TEST_P(BothLinks, AnswerARequestAlike) {
    const RequestCase& c = GetParam();
    Master tcp = tcpMaster();
    Master rtu = rtuMaster();
    for (auto* master : {tcp.get(), rtu.get()}) {
        const char* link = master == tcp.get() ? "TCP" : "RTU";
        const auto got = ask(master, c.pdu);
        if (c.answer.empty()) {
            EXPECT_FALSE(got) << link << " answered " << slave::hex(*got);
        } else {
            ASSERT_TRUE(got) << link << " is silent";
            EXPECT_EQ(slave::hex(*got), slave::hex(c.answer)) << link;
        }
        // The line shows the whole frame: TCP's header ends with the unit, RTU's is it.
        EXPECT_TRUE(waitForLog(" 7F " + slave::hex(c.pdu)))
            << link << ": " << ::testing::PrintToString(log);
        EXPECT_TRUE(logged(std::string(link) + " ")) << link;
        EXPECT_TRUE(logged(c.logged)) << link << ": " << ::testing::PrintToString(log);
        log.clear();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, BothLinks, ::testing::Values(
    //          name                          request PDU                           answer        logged
    RequestCase{"UnknownFunction0",           {0x00, 0, 0, 0, 1},                   {0x80, 0x01}, "→ исключение 01"},
    RequestCase{"UnknownFunction9",           {0x09, 0, 0, 0, 1},                   {0x89, 0x01}, "→ исключение 01"},
    RequestCase{"UnknownFunction41",          {0x41, 1, 2},                         {0xC1, 0x01}, "→ исключение 01"},
    RequestCase{"Function15Whole",            {0x0F, 0, 0, 0, 8, 1, 0xFF},          {0x8F, 0x01}, "→ исключение 01"},
    RequestCase{"Function15CountDisagrees",   {0x0F, 0, 0, 0, 8, 5, 0xFF},          {0x8F, 0x01}, "→ исключение 01"},
    RequestCase{"Function16Whole",            {0x10, 0, 0, 0, 1, 2, 0, 1},          {0x90, 0x01}, "→ исключение 01"},
    RequestCase{"Function16CountDisagrees",   {0x10, 0, 0, 0, 1, 4, 0, 1},          {0x90, 0x01}, "→ исключение 01"},
    RequestCase{"ReadFlags",                  {0x01, 0, 32, 0, 8},                  {0x01, 1, 0}, "FC1 флаги 1–8 → 00"},
    RequestCase{"CountersCountedFromOne",     {0x03, 0xA4, 0xED, 0, 2},             {0x83, 0x02}, "→ исключение 02 (адрес вне карты памяти)  — адрес 42221 вне карты: счётчики начинаются с 42222 — возможно, ваш мастер считает адреса с 1"},
    RequestCase{"ReadWithAShortField",        {0x01, 0, 32, 0},                     {},           "(без ответа)  длина кадра не соответствует функции 1"},
    RequestCase{"WriteWithALongField",        {0x06, 0xEA, 0x60, 0xAA, 0x55, 0},    {},           "(без ответа)  длина кадра не соответствует функции 6"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41
