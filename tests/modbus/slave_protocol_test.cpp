// Raw request PDUs beside the answers the controller gives, from a fixed
// memory image: the shape of a real slave's conformance tests.
#include "modbus/slave_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vk41::slave {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Outputs 3 and 4 on, the flags of the pump running (1, 2, 5, 13), inputs 5
// and 6 closed, a flow count of 300.
ControllerImage image() {
    ControllerImage i;
    i.outputs = 0b1100;
    i.flags = 0b0001'0000'0001'0011;
    i.inputs = 0b11'0000;
    i.flowCount = 300;
    return i;
}

struct FrameCase {
    const char* name;
    Bytes request;
    Bytes reply;  // empty: no answer at all
    Command command;
};

class Frames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(Frames, AreAnsweredAsTheProtocolSays) {
    const FrameCase& f = GetParam();
    const auto reply = answer(f.request, image());
    if (f.reply.empty()) {
        EXPECT_FALSE(reply) << "a frame of a bad length is dropped";
        return;
    }
    ASSERT_TRUE(reply);
    EXPECT_EQ(hex(reply->pdu), hex(f.reply)) << reply->meaning;
    EXPECT_EQ(reply->command, f.command);
    EXPECT_FALSE(reply->meaning.empty());
}

constexpr auto kNone = Command::kNone;
constexpr auto kRestart = Command::kRestart;
constexpr auto kWrite = Command::kWriteOutput;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, Frames, ::testing::Values(
    //        name                       request                          reply                               command
    FrameCase{"FlagsOneTo32",            {1, 0x00, 0x20, 0x00, 0x20},     {1, 4, 0x13, 0x10, 0x00, 0x00},      kNone},
    FrameCase{"FlagsFrom40Count8",       {1, 0x00, 0x28, 0x00, 0x08},     {1, 1, 0x10},                        kNone},
    FrameCase{"Outputs1To32",            {1, 0x00, 0x00, 0x00, 0x20},     {1, 4, 0x0C, 0x00, 0x00, 0x00},      kNone},
    FrameCase{"OutputsIntoFlags",        {1, 0x00, 0x1E, 0x00, 0x04},     {1, 1, 0x0C},                        kNone},
    FrameCase{"AllSixtyFourCoils",       {1, 0x00, 0x00, 0x00, 0x40},     {1, 8, 0x0C, 0, 0, 0, 0x13, 0x10, 0, 0}, kNone},
    FrameCase{"Inputs1To8",              {2, 0x27, 0x10, 0x00, 0x08},     {2, 1, 0x30},                        kNone},
    FrameCase{"InputsFrom10003",         {2, 0x27, 0x13, 0x00, 0x19},     {2, 4, 0x06, 0x00, 0x00, 0x00},      kNone},
    FrameCase{"CounterLowFourBytes",     {3, 0xA4, 0xEE, 0x00, 0x02},     {3, 4, 44, 1, 0, 0},                 kNone},
    FrameCase{"CounterAllSixBytes",      {3, 0xA4, 0xEE, 0x00, 0x03},     {3, 6, 44, 1, 0, 0, 0, 0},           kNone},
    FrameCase{"CounterTwo",              {3, 0xA4, 0xF1, 0x00, 0x02},     {3, 4, 0, 0, 0, 0},                  kNone},
    FrameCase{"AllCounters",             {3, 0xA4, 0xEE, 0x00, 0x0C},     {3, 24, 44, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kNone},
    FrameCase{"WriteOutputOneOn",        {5, 0x00, 0x00, 0xFF, 0x00},     {5, 0x00, 0x00, 0xFF, 0x00},         kWrite},
    FrameCase{"WriteOutputSixOff",       {5, 0x00, 0x05, 0x00, 0x00},     {5, 0x00, 0x05, 0x00, 0x00},         kWrite},
    FrameCase{"Restart",                 {6, 0xEA, 0x60, 0xAA, 0x55},     {6, 0xEA, 0x60, 0xAA, 0x55},         kRestart},
    FrameCase{"KvartaRestart",           {6, 0xEA, 0x60, 0x55, 0xAA},     {6, 0xEA, 0x60, 0x55, 0xAA},         kRestart},
    // Exceptions: 01 function, 02 address, 03 value or quantity.
    FrameCase{"UnservedFunction4",       {4, 0x00, 0x00, 0x00, 0x01},     {0x84, 0x01},                        kNone},
    FrameCase{"UnservedFunction16",      {0x10, 0, 0, 0, 1, 2, 0, 0},     {0x90, 0x01},                        kNone},
    FrameCase{"FunctionWithTopBitSet",   {0xEA, 0x06, 0x60, 0xAA, 0x55},  {0xEA, 0x01},                        kNone},
    FrameCase{"CoilsPastTheMap",         {1, 0x00, 0x38, 0x00, 0x20},     {0x81, 0x02},                        kNone},
    FrameCase{"InputsBelowTheMap",       {2, 0x00, 0x00, 0x00, 0x08},     {0x82, 0x02},                        kNone},
    FrameCase{"InputsPastTheMap",        {2, 0x27, 0x2F, 0x00, 0x02},     {0x82, 0x02},                        kNone},
    FrameCase{"RegisterBeforeCounters",  {3, 0xA4, 0xED, 0x00, 0x02},     {0x83, 0x02},                        kNone},
    FrameCase{"RegistersPastCounters",   {3, 0xA4, 0xF7, 0x00, 0x04},     {0x83, 0x02},                        kNone},
    FrameCase{"ZeroCoils",               {1, 0x00, 0x00, 0x00, 0x00},     {0x81, 0x03},                        kNone},
    FrameCase{"TooManyCoils",            {1, 0x00, 0x00, 0x07, 0xD1},     {0x81, 0x03},                        kNone},
    FrameCase{"TooManyRegisters",        {3, 0xA4, 0xEE, 0x00, 0x7E},     {0x83, 0x03},                        kNone},
    FrameCase{"CoilValueNotOnOrOff",     {5, 0x00, 0x00, 0x12, 0x34},     {0x85, 0x03},                        kNone},
    FrameCase{"CoilNotWritable",         {5, 0x00, 0x06, 0xFF, 0x00},     {0x85, 0x02},                        kNone},
    FrameCase{"FlagNotWritable",         {5, 0x00, 0x20, 0xFF, 0x00},     {0x85, 0x02},                        kNone},
    FrameCase{"RegisterNotTheCommand",   {6, 0xA4, 0xEE, 0x00, 0x01},     {0x86, 0x02},                        kNone},
    FrameCase{"CommandUnknown",          {6, 0xEA, 0x60, 0x12, 0x34},     {0x86, 0x03},                        kNone},
    // Frames of a length their function does not have are dropped.
    FrameCase{"ShortRead",               {1, 0x00, 0x20, 0x00},           {},                                  kNone},
    FrameCase{"LongWrite",               {6, 0xEA, 0x60, 0xAA, 0x55, 0},  {},                                  kNone},
    FrameCase{"FunctionAlone",           {3},                             {},                                  kNone}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(SlaveAnswers, SayWhatTheyMeanInOneLine) {
    const Bytes flags = {1, 0x00, 0x20, 0x00, 0x20};
    EXPECT_EQ(answer(flags, image())->meaning, "FC1 флаги 1–32 → 13 10 00 00");
    const Bytes mixed = {1, 0x00, 0x1E, 0x00, 0x04};
    EXPECT_EQ(answer(mixed, image())->meaning, "FC1 выходы 31–32, флаги 1–2 → 0C");
    const Bytes counter = {3, 0xA4, 0xEE, 0x00, 0x02};
    EXPECT_EQ(answer(counter, image())->meaning,
              "FC3 счётчик 1, регистры 42222–42223 → 2C 01 00 00");
    const Bytes bad = {1, 0x00, 0x38, 0x00, 0x20};
    EXPECT_EQ(answer(bad, image())->meaning,
              "FC1 адреса 56–87 → исключение 02 (адрес вне карты памяти)");
    EXPECT_FALSE(answer(Bytes{}, image()));
}

struct CauseCase {
    const char* name;
    Bytes request;
    const char* cause;
};

class ExceptionCauses : public ::testing::TestWithParam<CauseCase> {};

TEST_P(ExceptionCauses, SayWhatInTheRequestTheMapDoesNotTake) {
    const auto reply = answer(GetParam().request, image());
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->pdu.size(), 2u);
    EXPECT_EQ(reply->cause, GetParam().cause);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(All, ExceptionCauses, ::testing::Values(
    CauseCase{"CountersCountedFromOne", {3, 0xA4, 0xED, 0x00, 0x02},       "адрес 42221 вне карты: счётчики начинаются с 42222 — возможно, ваш мастер считает адреса с 1"},
    CauseCase{"InputsCountedFromOne",   {2, 0x27, 0x0F, 0x00, 0x08},       "адрес 9999 вне карты: входы начинаются с 10000 — возможно, ваш мастер считает адреса с 1"},
    CauseCase{"PastTheLastCounter",     {3, 0xA4, 0xF8, 0x00, 0x04},       "адрес 42234 вне карты: счётчики кончаются на 42233, запрос просит 2 лишних"},
    CauseCase{"FarFromTheCoils",        {1, 0x01, 0x00, 0x00, 0x02},       "адреса 256–257 вне карты: выходы и флаги — адреса 0–63"},
    CauseCase{"HoldingRegisterZero",    {3, 0x00, 0x00, 0x00, 0x01},       "адрес 0 вне карты: счётчики — адреса 42222–42233"},
    CauseCase{"NoCount",                {1, 0x00, 0x00, 0x00, 0x00},       "количество 0: функция 1 берёт за запрос от 1 до 2000"},
    CauseCase{"TooManyRegisters",       {3, 0xA4, 0xEE, 0x00, 0x7E},       "количество 126: функция 3 берёт за запрос от 1 до 125"},
    CauseCase{"UnservedFunction",       {4, 0x00, 0x00, 0x00, 0x01},       "функция 4 не поддерживается: контроллер отвечает на функции 1, 2, 3, 5 и 6"},
    CauseCase{"CoilPastTheSixth",       {5, 0x00, 0x06, 0xFF, 0x00},       "адрес 6: мастер записывает только выходы 1–6 (адреса 0–5)"},
    CauseCase{"CoilValueNeitherOnNorOff",{5, 0x00, 0x02, 0x12, 0x34},      "значение 1234: выход включает FF 00 и выключает 00 00"},
    CauseCase{"CommandRegisterFromOne", {6, 0xEA, 0x5F, 0xAA, 0x55},       "регистр 59999 не записывается: запись принимает только командный регистр 60000 — возможно, ваш мастер считает адреса с 1"},
    CauseCase{"UnknownCommand",         {6, 0xEA, 0x60, 0x00, 0x01},       "значение 0001 — не команда: регистр принимает AA55 (перезапуск контроллера), 55AA (переход на протокол «Кварта» и перезапуск)"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41::slave
