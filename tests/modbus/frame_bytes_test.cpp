// The explanation of every byte of a whole frame, RTU or Modbus/TCP, as the
// bus window lists it and the Modbus window's tooltips show it: requests of
// every kind the bus brings, the controller's answers to them, and frames
// that are damaged, cut short or too long.
#include "modbus/frame_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "conditions/program.h"
#include "modbus/controller_image.h"
#include "modbus/rtu_framing.h"
#include "modbus/slave_protocol.h"
#include "modbus/tcp_framing.h"
#include "modbus_fixture.h"

namespace vk41 {
namespace {

using Frame = std::vector<std::uint8_t>;

constexpr std::uint8_t kAddress = 127;

// An RTU frame to the controller: its address, the PDU, a right CRC.
Frame rtu(const Frame& pdu) {
    return slave::rtuFrame(kAddress, pdu);
}

// A Modbus/TCP frame: transaction 0x0102, protocol 0, the right length, unit 127.
Frame tcp(const Frame& pdu) {
    slave::TcpFrame request;
    request.transaction = 0x0102;
    request.unit = kAddress;
    return slave::tcpReply(request, pdu);
}

// What the controller holds in the cases below: outputs 3 and 4 closed,
// flags 1, 2 and 5 raised, input 4 closed, 300 on the flow counter.
ControllerImage image() {
    ControllerImage i;
    i.outputs = 0b1100;
    i.flags = 0b10011;
    i.inputs = 0b1000;
    i.flowCount = 300;
    return i;
}

// The controller's answer to a whole request, framed as the request was.
Frame answerTo(const Frame& request, Framing framing) {
    const bool rtuFramed = framing == Framing::Rtu;
    const std::size_t head = rtuFramed ? 1 : slave::kMbapHeader;
    const std::size_t tail = rtuFramed ? 2 : 0;
    const std::span<const std::uint8_t> pdu(request.data() + head, request.size() - head - tail);
    const auto reply = slave::answer(pdu, image());
    EXPECT_TRUE(reply.has_value());
    if (!reply) return {};
    if (rtuFramed) return slave::rtuFrame(request[0], reply->pdu);
    slave::TcpFrame asked;
    asked.transaction = static_cast<std::uint16_t>(request[0] << 8 | request[1]);
    asked.unit = request[6];
    return slave::tcpReply(asked, reply->pdu);
}

struct ByteCase {
    const char* name;
    Framing framing;
    Frame request;
    bool answer;  // the case reads a byte of the controller's answer to it
    std::size_t at;
    std::vector<std::string> texts;  // what the byte's explanation holds
};

void PrintTo(const ByteCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> explained(const ByteCase& c) {
    if (!c.answer) return requestBytes(c.request, c.framing, factoryProgram());
    return answerBytes(c.request, answerTo(c.request, c.framing), c.framing, factoryProgram());
}

// clang-format off
const ByteCase kRequests[] = {
    // name                 framing        request                                           answer  byte  texts
    {"TcpTransaction",      Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false,  0, {"Идентификатор транзакции, старший байт", "Значение: 1 = 0x01",
                                                                                                         "Транзакция 258: ответ повторяет её номер"}},
    {"TcpProtocol",         Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false,  3, {"Идентификатор протокола, младший байт", "Протокол 0: ModBus"}},
    {"TcpLength",           Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false,  5, {"Длина, младший байт", "Длина 6: столько байт идёт за ней"}},
    {"TcpUnit",             Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false,  6, {"Идентификатор устройства (unit id)", "Значение: 127"}},
    {"TcpFunction",         Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false,  7, {"Функция 1: чтение дискретных выходов (Read Coils)"}},
    {"TcpFlagCount",        Framing::Tcp, tcp({1, 0x00, 0x20, 0x00, 0x20}),                  false, 11, {"Количество, младший байт", "Количество 32: флаги 1–32"}},
    {"RtuAddress",          Framing::Rtu, rtu({1, 0x00, 0x20, 0x00, 0x20}),                  false,  0, {"Адрес контроллера в сети ModBus", "Значение: 127 = 0x7F = 01111111"}},
    {"RtuCrcRight",         Framing::Rtu, rtu({1, 0x00, 0x20, 0x00, 0x20}),                  false,  6, {"CRC, младший байт (идёт первым)", "CRC-16 = 0x0636 по байтам 0–5 запроса"}},
    {"Broadcast",           Framing::Rtu, slave::rtuFrame(0, Frame{5, 0, 0, 0xFF, 0}),       false,  0, {"широковещательный запрос: выполнен без ответа"}},
    {"InputsStart",         Framing::Rtu, rtu({2, 0x27, 0x10, 0x00, 0x08}),                  false,  3, {"Адрес 10000 (0x2710): системные дискретные входы, вход 1"}},
    {"CountersReached",     Framing::Rtu, rtu({3, 0xA4, 0xEE, 0x00, 0x06}),                  false,  5, {"Количество 6: регистры 42222–42227, счётчик 1 (счётчик расхода воды (ИМ-9)), счётчик 2"}},
    {"CoilOn",              Framing::Rtu, rtu({5, 0x00, 0x05, 0xFF, 0x00}),                  false,  4, {"Значение, старший байт", "Значение 0xFF00: включить выход 6"}},
    {"RestartCommand",      Framing::Tcp, tcp({6, 0xEA, 0x60, 0xAA, 0x55}),                  false, 10, {"Значение 0xAA55: перезапуск контроллера"}},
    {"UnknownFunction",     Framing::Rtu, rtu({16, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x05}), false, 1, {"Функция 16: функция не поддерживается", "отвечает исключением 01"}},
    {"UnknownFunctionData", Framing::Rtu, rtu({16, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x05}), false, 7, {"Байт данных 6 функции 16", "данные функции 16, которую контроллер не выполняет"}},
    {"TcpUnknownFunction",  Framing::Tcp, tcp({43, 0x0E, 0x01, 0x00}),                       false,  9, {"данные функции 43, которую контроллер не выполняет"}},
    // The controller's answers.
    {"AnswerTransaction",   Framing::Tcp, tcp({1, 0x00, 0x00, 0x00, 0x08}),                  true,   1, {"Транзакция 258, та же, что в запросе"}},
    {"AnswerLength",        Framing::Tcp, tcp({1, 0x00, 0x00, 0x00, 0x08}),                  true,   5, {"Длина 4: столько байт идёт за ней"}},
    {"AnswerUnit",          Framing::Tcp, tcp({1, 0x00, 0x00, 0x00, 0x08}),                  true,   6, {"тот же, что в запросе"}},
    {"OutputsClosed",       Framing::Tcp, tcp({1, 0x00, 0x00, 0x00, 0x08}),                  true,   9, {"Байт данных 1 из 1", "выходы 1–8: замкнуты 3, 4", "выход 4 — реле насоса"}},
    {"SixtyFourCoils",      Framing::Rtu, rtu({1, 0x00, 0x00, 0x00, 0x40}),                  true,   2, {"Количество байт данных", "За ним идут 8 байт данных"}},
    {"SixtyFourCoilsFlags", Framing::Rtu, rtu({1, 0x00, 0x00, 0x00, 0x40}),                  true,   7, {"Байт данных 5 из 8", "флаги 1–8: подняты 1, 2, 5", "флаг 5 — насос включён: выход 4 замкнут"}},
    {"SixtyFourCoilsLast",  Framing::Rtu, rtu({1, 0x00, 0x00, 0x00, 0x40}),                  true,  10, {"Байт данных 8 из 8", "флаги 25–32: ни один не поднят"}},
    {"TenCoilsPartByte",    Framing::Rtu, rtu({1, 0x00, 0x00, 0x00, 0x0A}),                  true,   4, {"Байт данных 2 из 2", "выходы 9–10: ни один не замкнут", "биты 2–7 не запрошены и равны 0"}},
    {"InputClosed",         Framing::Rtu, rtu({2, 0x27, 0x10, 0x00, 0x04}),                  true,   3, {"входы 1–4: замкнуты 4", "вход 4 — контакт реле дифманометра"}},
    {"CounterLow",          Framing::Rtu, rtu({3, 0xA4, 0xEE, 0x00, 0x06}),                  true,   3, {"Байт данных 1 из 12: младший байт значения счётчика",
                                                                                                         "счётчик 1 (счётчик расхода воды (ИМ-9)): значение 300 = 44 + 1 × 256"}},
    {"SecondCounter",       Framing::Rtu, rtu({3, 0xA4, 0xEE, 0x00, 0x06}),                  true,   9, {"Байт данных 7 из 12: младший байт значения счётчика", "счётчик 2 (счётчик импульсов №2 (не подключён)): значение 0"}},
    {"CounterFromMiddle",   Framing::Rtu, rtu({3, 0xA4, 0xEF, 0x00, 0x01}),                  true,   3, {"старшая часть счётчика, нули", "его значение в регистре 42222, которого в ответе нет"}},
    {"CoilEcho",            Framing::Rtu, rtu({5, 0x00, 0x02, 0x00, 0x00}),                  true,   4, {"Значение 0x0000: выключить выход 3", "(ответ на запись повторяет запрос)"}},
    {"UnknownRefused",      Framing::Rtu, rtu({7}),                                          true,   1, {"Функция запроса + 0x80: контроллер отвечает исключением", "Значение: 135 = 0x87"}},
    {"UnknownRefusalCode",  Framing::Rtu, rtu({7}),                                          true,   2, {"Код исключения", "исключение 01: функция не поддерживается", "контроллер отвечает на функции 1, 2, 3, 5 и 6"}},
    {"TcpUnknownRefused",   Framing::Tcp, tcp({43, 0x0E, 0x01, 0x00}),                       true,   8, {"исключение 01: функция не поддерживается"}},
    {"CountersMissed",      Framing::Rtu, rtu({3, 0xA4, 0xED, 0x00, 0x02}),                  true,   2, {"исключение 02: адрес вне карты памяти", "занимают адреса 42222–42233"}},
    {"CommandMissed",       Framing::Rtu, rtu({6, 0xEA, 0x5F, 0xAA, 0x55}),                  true,   2, {"исключение 02", "возможно, ваш мастер считает адреса с 1"}},
    {"TooManyCoils",        Framing::Rtu, rtu({1, 0x00, 0x00, 0x0B, 0xB8}),                  true,   2, {"исключение 03: недопустимое значение", "количество 3000: функция 1 берёт за запрос от 1 до 2000"}},
    {"NoCoilValue",         Framing::Rtu, rtu({5, 0x00, 0x00, 0x12, 0x34}),                  true,   2, {"исключение 03", "значение 1234: выход включает FF 00 и выключает 00 00"}},
    {"NotACommand",         Framing::Tcp, tcp({6, 0xEA, 0x60, 0x12, 0x34}),                  true,   8, {"исключение 03", "значение 1234 — не команда"}},
    {"AnswerCrc",           Framing::Rtu, rtu({1, 0x00, 0x00, 0x00, 0x08}),                  true,   5, {"CRC, старший байт", "по байтам 0–3 ответа"}},
    // Frames a real master or a bad line may send.
    {"WrongCrc",            Framing::Rtu, {127, 1, 0, 32, 0, 32, 0x12, 0x34},               false,  6, {"CRC-16 = 0x0636", "CRC неверна: получено 12 34, должно быть 36 06"}},
    {"WrongCrcHigh",        Framing::Rtu, {127, 1, 0, 32, 0, 32, 0x36, 0x07},               false,  7, {"CRC неверна: получено 36 07, должно быть 36 06"}},
    {"OtherProtocol",       Framing::Tcp, {0, 1, 0, 1, 0, 6, 127, 1, 0, 32, 0, 32},          false,  3, {"идентификатор протокола 1 ≠ 0"}},
    {"LengthWrong",         Framing::Tcp, {0, 1, 0, 0, 0, 9, 127, 1, 0, 32, 0, 32},          false,  5, {"Длина 9", "а за ней в кадре 6 байт: длина неверна"}},
    {"RequestTooLong",      Framing::Rtu, rtu({1, 0x00, 0x20, 0x00, 0x20, 0x00}),            false,  1, {"длина кадра не соответствует функции 1", "в кадре 5 байт"}},
    {"RequestExtraByte",    Framing::Rtu, rtu({1, 0x00, 0x20, 0x00, 0x20, 0x00}),            false,  6, {"Лишний байт", "длина кадра не соответствует функции 1"}},
    {"RequestTooShort",     Framing::Tcp, tcp({3, 0xA4, 0xEE}),                             false,  9, {"Начальный адрес, младший байт", "Адрес 42222 (0xA4EE)"}},
    {"CutInTheHeader",      Framing::Tcp, {0, 1, 0, 0, 0},                                   false,  4, {"Длина, старший байт", "кадр обрывается: заголовок MBAP — 7 байт, в кадре 5 байт"}},
    {"HeaderOnly",          Framing::Tcp, {0, 1, 0, 0, 0, 1, 127},                           false,  6, {"за заголовком нет PDU"}},
    {"CutInAField",         Framing::Rtu, {127, 1, 0},                                       false,  2, {"младший байт не пришёл", "длина кадра 3, а кадр RTU бывает от 4 до 256 байт"}},
};
// clang-format on

class FrameBytes : public ::testing::TestWithParam<ByteCase> {};

TEST_P(FrameBytes, SayWhatTheByteIsAndMeans) {
    const ByteCase& c = GetParam();
    const std::vector<std::string> texts = explained(c);
    ASSERT_LT(c.at, texts.size());
    for (const std::string& expected : c.texts)
        EXPECT_NE(texts[c.at].find(expected), std::string::npos)
            << "expected\n  " << expected << "\nin byte " << c.at << ":\n"
            << texts[c.at];
}

// A frame cut at every length, and every cut of the answer, gets one text
// per byte, none of them empty.
TEST_P(FrameBytes, ExplainEveryByteOfEveryCut) {
    const ByteCase& c = GetParam();
    const Frame answer = c.answer ? answerTo(c.request, c.framing) : Frame{};
    for (std::size_t n = 0; n <= c.request.size(); ++n) {
        const std::span<const std::uint8_t> cut(c.request.data(), n);
        const auto texts = requestBytes(cut, c.framing, factoryProgram());
        ASSERT_EQ(texts.size(), n) << "a request cut at " << n;
        for (std::size_t i = 0; i < n; ++i) EXPECT_FALSE(texts[i].empty()) << n << ":" << i;
    }
    for (std::size_t n = 0; n <= answer.size(); ++n) {
        const std::span<const std::uint8_t> cut(answer.data(), n);
        const auto texts = answerBytes(c.request, cut, c.framing, factoryProgram());
        ASSERT_EQ(texts.size(), n) << "an answer cut at " << n;
        for (std::size_t i = 0; i < n; ++i) EXPECT_FALSE(texts[i].empty()) << n << ":" << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameBytes, ::testing::ValuesIn(kRequests),
                         [](const auto& c) { return std::string(c.param.name); });

// Only a wrong CRC is called wrong.
TEST(FrameBytesCrc, RightCrcIsNotCalledWrong) {
    for (const Frame& frame : {rtu({1, 0, 32, 0, 32}), rtu({3, 0xA4, 0xEE, 0, 2}), rtu({7})})
        for (const std::string& text : requestBytes(frame, Framing::Rtu, factoryProgram()))
            EXPECT_EQ(text.find("CRC неверна"), std::string::npos) << text;
}

// The bytes of a TCP frame after its header read as the same bytes of an
// RTU frame after its address: one explanation of the PDU, whatever frames it.
TEST(FrameBytesFraming, ThePduReadsTheSameInBothFramings) {
    const Frame pdus[] = {{1, 0, 0, 0, 0x40}, {3, 0xA4, 0xEE, 0, 3}, {5, 0, 1, 0xFF, 0}, {65, 1}};
    for (const Frame& pdu : pdus) {
        const Frame q = rtu(pdu), t = tcp(pdu);
        const auto rtuTexts = requestBytes(q, Framing::Rtu, factoryProgram());
        const auto tcpTexts = requestBytes(t, Framing::Tcp, factoryProgram());
        const auto rtuAnswer =
            answerBytes(q, answerTo(q, Framing::Rtu), Framing::Rtu, factoryProgram());
        const auto tcpAnswer =
            answerBytes(t, answerTo(t, Framing::Tcp), Framing::Tcp, factoryProgram());
        for (std::size_t i = 0; i < pdu.size(); ++i)
            EXPECT_EQ(rtuTexts[1 + i], tcpTexts[slave::kMbapHeader + i]) << "request byte " << i;
        ASSERT_EQ(rtuAnswer.size() - 3, tcpAnswer.size() - slave::kMbapHeader);
        for (std::size_t i = 0; i + 3 < rtuAnswer.size(); ++i)
            EXPECT_EQ(rtuAnswer[1 + i], tcpAnswer[slave::kMbapHeader + i]) << "answer byte " << i;
    }
}

// An echo that is not the request says so.
TEST(FrameBytesEcho, AnEchoThatDiffersSaysSo) {
    const Frame request = rtu({5, 0, 2, 0xFF, 0});
    const auto texts =
        answerBytes(request, rtu({5, 0, 3, 0xFF, 0}), Framing::Rtu, factoryProgram());
    EXPECT_NE(texts[3].find("эхо не совпадает с запросом: в запросе здесь 2"), std::string::npos)
        << texts[3];
    EXPECT_EQ(texts[4].find("эхо не совпадает"), std::string::npos) << texts[4];
}

// The Modbus window's tooltips are these explanations of the exchange the
// controller would have on the bus: the request the window composes, framed
// for RTU, and the controller's answer to it.
struct WindowCase {
    const char* name;
    std::vector<std::string> setup;  // driver lines before the tick
    Frame pdu;                       // the request the window then composes
};

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const WindowCase kWindowCases[] = {
    {"Flags",            {},                                                                           {1, 0x00, 0x20, 0x00, 0x20}},
    {"FlagsRefused",     {"text ModB_Frm.Комбо1(5) 40"},                                              {1, 0x00, 0x28, 0x00, 0x20}},
    {"SixtyFourCoils",   {"click ModB_Frm.Count_Length(3)", "text ModB_Frm.Комбо1(8) 64"},            {1, 0x00, 0x00, 0x00, 0x40}},
    {"TenOutputs",       {"click ModB_Frm.Count_Length(3)", "text ModB_Frm.Комбо1(8) 10"},            {1, 0x00, 0x00, 0x00, 0x0A}},
    {"Inputs",           {"click ModB_Frm.Count_Length(2)"},                                          {2, 0x27, 0x10, 0x00, 0x08}},
    {"Counter",          {"click ModB_Frm.Count_Length(1)"},                                          {3, 0xA4, 0xEE, 0x00, 0x03}},
    {"CoilOn",           {"click ModB_Frm.Count_Length(6)"},                                          {5, 0x00, 0x00, 0xFF, 0x00}},
    {"OutputSeven",      {"click ModB_Frm.Count_Length(6)", "text ModB_Frm.Комбо1(4) 7"},             {5, 0x00, 0x06, 0xFF, 0x00}},
    {"Kvarta",           {"click ModB_Frm.Count_Length(8)"},                                          {6, 0xEA, 0x60, 0x55, 0xAA}},
};
// clang-format on

class WindowByteTips : public testing::ModbusTest,
                       public ::testing::WithParamInterface<WindowCase> {};

TEST_P(WindowByteTips, AreTheBusExplanationsOfTheSameExchange) {
    const WindowCase& c = GetParam();
    driver.execute("click ModB_Frm.Branch(0)");
    for (const std::string& line : c.setup) driver.execute(line);
    tick();
    const Frame request = rtu(c.pdu);
    const Frame answer =
        slave::rtuFrame(kAddress, slave::answer(c.pdu, readController(driver.app()))->pdu);
    const std::string click = "\nЩелчок открывает окно «Расчёт CRC-16» с расчётом по шагам";

    const auto asked = requestBytes(request, Framing::Rtu, factoryProgram());
    for (int cell = 0; cell < 8; ++cell)
        EXPECT_EQ(window().requestTip(cell), asked[cell] + (cell >= 6 ? click : ""))
            << "Q(" << cell << ")";

    const auto answered = answerBytes(request, answer, Framing::Rtu, factoryProgram());
    const int length = static_cast<int>(answer.size()) - 2;
    ASSERT_EQ(window().Ans_Len, length);
    for (int cell = 0; cell < 10 && cell < length; ++cell)
        EXPECT_EQ(window().answerTip(cell), answered[cell]) << "Ans(" << cell << ")";
    for (int cell = length; cell < 10; ++cell)
        EXPECT_EQ(window().answerTip(cell), "") << "Ans(" << cell << ") shows no byte";
    EXPECT_EQ(window().answerTip(10), answered[length] + click);
    EXPECT_EQ(window().answerTip(11), answered[length + 1] + click);
}

INSTANTIATE_TEST_SUITE_P(Exchanges, WindowByteTips, ::testing::ValuesIn(kWindowCases),
                         [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace vk41
