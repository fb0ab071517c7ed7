// The bus's traffic as the controller keeps it: the last ten thousand
// exchanges, each one row that the slave's log writes as one line.
#include "modbus/bus_traffic.h"

#include <gtest/gtest.h>

#include <string>

namespace vk41 {
namespace {

BusExchange tcpRead(std::uint16_t transaction) {
    BusExchange e;
    e.link = "TCP";
    e.master = *capture::endpointOf("10.0.0.7", 40500);
    e.controller = *capture::endpointOf("127.0.0.1", 1502);
    const auto t = static_cast<std::uint8_t>(transaction);
    e.request = {0, t, 0, 0, 0, 6, 0x7F, 0x01, 0x00, 0x20, 0x00, 0x08};
    e.unit = 127;
    e.function = 1;
    e.meaning = "FC1 флаги 1–8 → 13";
    return e;
}

TEST(BusTraffic, KeepsTheLastTenThousandExchangesAndCountsThemAll) {
    BusTraffic traffic;
    for (std::uint32_t i = 0; i < BusTraffic::kKept + 250; ++i) {
        traffic.add(tcpRead(static_cast<std::uint16_t>(i)));
        if (i % 2 == 0) traffic.answer({0, 1, 0, 0, 0, 4, 0x7F, 0x01, 0x01, 0x13});
    }
    EXPECT_EQ(traffic.size(), BusTraffic::kKept);
    EXPECT_EQ(traffic.received(), BusTraffic::kKept + 250);
    EXPECT_EQ(traffic.answered(), (BusTraffic::kKept + 250) / 2);
    EXPECT_EQ(traffic.at(0).request[1], static_cast<std::uint8_t>(250)) << "the oldest went first";
    const std::uint64_t revision = traffic.revision();
    traffic.clear();
    EXPECT_EQ(traffic.size(), 0u);
    EXPECT_GT(traffic.revision(), revision);
    EXPECT_EQ(traffic.received(), BusTraffic::kKept + 250) << "the count is of the whole session";
}

TEST(BusTraffic, AnExchangeFailsWithoutAnAnswerOrWithAnException) {
    BusExchange e = tcpRead(1);
    EXPECT_TRUE(e.failed());
    e.answer = {0, 1, 0, 0, 0, 4, 0x7F, 0x01, 0x01, 0x13};
    EXPECT_FALSE(e.failed());
    e.answer = {0, 1, 0, 0, 0, 3, 0x7F, 0x81, 0x02};
    EXPECT_TRUE(e.failed());
    BusExchange rtu;
    rtu.link = "RTU";
    rtu.request = {0x7F, 0x01, 0x00, 0x20, 0x00, 0x08, 0x00, 0x00};
    rtu.answer = {0x7F, 0x81, 0x02, 0x00, 0x00};
    EXPECT_TRUE(rtu.failed());
    rtu.answer = {0x7F, 0x01, 0x01, 0x13, 0x00, 0x00};
    EXPECT_FALSE(rtu.failed());
}

TEST(BusTraffic, RowsReadAsTheSlavesLogLines) {
    BusExchange e = tcpRead(1);
    EXPECT_EQ(masterText(e), "10.0.0.7:40500");
    EXPECT_EQ(logLine(e),
              "TCP 00 01 00 00 00 06 7F 01 00 20 00 08  →  (без ответа)  FC1 флаги 1–8 → 13");
    e.answer = {0, 1, 0, 0, 0, 3, 0x7F, 0x81, 0x02};
    e.meaning = "FC1 адреса 70–77 → исключение 02 (адрес вне карты памяти)";
    e.why = "адреса 70–77 вне карты: выходы и флаги — адреса 0–63";
    EXPECT_EQ(logLine(e),
              "TCP 00 01 00 00 00 06 7F 01 00 20 00 08  →  00 01 00 00 00 03 7F 81 02  FC1 адреса "
              "70–77 → исключение 02 (адрес вне карты памяти)  — адреса 70–77 вне карты: выходы "
              "и флаги — адреса 0–63");
    BusExchange dropped;
    dropped.link = "RTU";
    dropped.request = {0x05, 0x01};
    dropped.why = "длина кадра 2, а кадр RTU бывает от 4 до 256 байт";
    EXPECT_EQ(masterText(dropped), "RTU");
    EXPECT_EQ(logLine(dropped),
              "RTU 05 01  →  (без ответа)  длина кадра 2, а кадр RTU бывает от 4 до 256 байт");
    BusExchange closed;
    closed.link = "TCP";
    closed.why = "соединение молчало 60 с: закрыто";
    EXPECT_EQ(logLine(closed), "TCP соединение молчало 60 с: закрыто");
}

TEST(BusTraffic, TimesOfDayHaveMilliseconds) {
    const std::string t = timeOfDay(1'700'000'000'123'456);
    ASSERT_EQ(t.size(), 12u) << t;
    EXPECT_EQ(t.substr(8), ".123");
    EXPECT_EQ(t[2], ':');
    EXPECT_EQ(t[5], ':');
}

}  // namespace
}  // namespace vk41
