// The CRC worked out step by step: the known vectors end in their CRCs, every
// step agrees with the checksum the frames use, and the window CRC_Steps
// opens from the CRC cells and follows its row.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "modbus/crc_steps.h"
#include "modbus/crc_steps_frm.h"
#include "modbus/main_mod_modbus.h"
#include "modbus_fixture.h"

namespace vk41 {
namespace {

using testing::ModbusTest;

struct Vector {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint16_t crc;
};

// clang-format off
const Vector kVectors[] = {
    {"Digits1To9",     {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0x4B37},
    {"Empty",          {},                                           0xFFFF},
    {"ReadOneRegister",{1, 3, 0, 0, 0, 1},                           0x0A84},
    {"CounterRequest", {127, 3, 164, 238, 0, 2},                     0x108D},
    {"ResetRequest",   {127, 6, 234, 96, 170, 85},                   0x4D09},
    {"FlagsRequest",   {127, 1, 0, 32, 0, 32},                       0x0636},
    {"FlagsAnswer",    {127, 1, 4, 7, 0, 0, 0},                      0xA264},
    {"ResetAnswer",    {1, 6, 234, 96, 170, 85},                     0x5303},
};
// clang-format on

void PrintTo(const Vector& v, std::ostream* os) {
    *os << v.name;
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

class CrcVectors : public ModbusTest, public ::testing::WithParamInterface<Vector> {};

TEST_P(CrcVectors, EndInTheirCrc) {
    const std::vector<CrcByteStep> steps = crcSteps(GetParam().bytes);
    EXPECT_EQ(crcResult(steps), GetParam().crc);
}

TEST_P(CrcVectors, AgreeByteByByteWithTheFramesChecksum) {
    const std::vector<CrcByteStep> steps = crcSteps(GetParam().bytes);
    ASSERT_EQ(steps.size(), GetParam().bytes.size());
    CrcRegister frames;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        frames.add(GetParam().bytes[i]);
        EXPECT_EQ(steps[i].after(), frames.hi << 8 | frames.lo) << "after byte " << i;
    }
}

TEST_P(CrcVectors, ShownInTheWindowEndInTheirCrc) {
    driver.app().open("CRC_Steps");
    auto& steps = driver.app().form<CrcStepsFrm>("CRC_Steps");
    const Vector& v = GetParam();
    steps.showRow("Проверка", v.bytes);
    const std::string crc = hex4(v.crc);
    if (v.bytes.empty()) {
        EXPECT_FALSE(steps.control("After", 0).visible());
        return;
    }
    const int last = static_cast<int>(v.bytes.size()) - 1;
    EXPECT_EQ(steps.control("After", last).caption(), crc);
    EXPECT_EQ(steps.control("Shift", 8 * last + 7).caption().substr(0, 4), crc);
    EXPECT_TRUE(steps.control("After", last).visible());
    if (last + 1 < CrcStepsFrm::kRows) {
        EXPECT_FALSE(steps.control("After", last + 1).visible());
    }
    // The frame carries the low byte first.
    EXPECT_NE(steps.control("Result").caption().find(
                  "CRC-16 = 0x" + crc + ". В кадре младший байт идёт первым: " + crc.substr(2) +
                  " " + crc.substr(0, 2)),
              std::string::npos)
        << steps.control("Result").caption();
}

INSTANTIATE_TEST_SUITE_P(Known, CrcVectors, ::testing::ValuesIn(kVectors),
                         [](const auto& instance) { return std::string(instance.param.name); });

// One byte worked by hand: 01 into FFFF.
TEST(CrcSteps, ShowEveryShiftWithItsCarry) {
    const std::vector<std::uint8_t> one = {0x01};
    const CrcByteStep step = crcSteps(one).front();
    EXPECT_EQ(step.afterXor, 0xFFFE);
    // clang-format off
    const CrcShift expected[8] = {
        {false, 0x7FFF}, {true, 0x9FFE}, {false, 0x4FFF}, {true, 0x87FE},
        {false, 0x43FF}, {true, 0x81FE}, {false, 0x40FF}, {true, 0x807E},
    };
    // clang-format on
    for (std::size_t s = 0; s < 8; ++s) {
        EXPECT_EQ(step.shifts[s].carry, expected[s].carry) << "shift " << s + 1;
        EXPECT_EQ(step.shifts[s].reg, expected[s].reg) << "shift " << s + 1;
    }
}

TEST_F(ModbusTest, ClickingTheRequestCrcOpensItsStepsWindow) {
    tick();
    EXPECT_TRUE(window().click(c("Q", 6)));
    Form& steps = driver.app().form("CRC_Steps");
    EXPECT_TRUE(steps.visible());
    EXPECT_EQ(steps.caption(), "Расчёт CRC-16");
    EXPECT_EQ(steps.control("Row_Lab").caption(), "Запрос ведущего, байты 0–5: 127 1 0 32 0 32");
    EXPECT_EQ(steps.control("Byte", 0).caption(), "127 (7F)");
    EXPECT_EQ(steps.control("Xor", 0).caption(), "FF80");
    EXPECT_EQ(steps.control("Shift", 0).caption(), "7FC0, перенос 0");
    EXPECT_EQ(steps.control("After", 5).caption(), "0636");
    EXPECT_FALSE(steps.control("After", 6).visible());
}

TEST_F(ModbusTest, ClickingTheAnswerCrcShowsTheAnswer) {
    tick();
    window().click(c("Ans", 11));
    Form& steps = driver.app().form("CRC_Steps");
    EXPECT_EQ(steps.control("Row_Lab").caption(),
              "Ответ контроллера ВК-41, байты 0–6: 127 1 4 7 0 0 0");
    EXPECT_EQ(steps.control("After", 6).caption(), "A264");
    EXPECT_NE(steps.control("Result").caption().find("64 A2 (100, 162)"), std::string::npos);
}

TEST_F(ModbusTest, TheStepsWindowFollowsItsRowOnEveryTick) {
    tick();
    window().click(c("Q", 7));
    Form& steps = driver.app().form("CRC_Steps");
    window().typeText(c("ContNum"), "1");
    EXPECT_EQ(steps.control("Byte", 0).caption(), "127 (7F)") << "until the tick";
    tick();
    EXPECT_EQ(steps.control("Byte", 0).caption(), "1 (01)");
    EXPECT_EQ(steps.control("After", 5).caption(),
              hex4(static_cast<unsigned>(std::stoi(c("Qq", 7).caption()) << 8 |
                                         std::stoi(c("Qq", 6).caption()))));
}

TEST_F(ModbusTest, AClosedStepsWindowIsLeftAloneUntilClickedAgain) {
    tick();
    window().click(c("Ans", 10));
    driver.app().close("CRC_Steps");
    tick();
    EXPECT_FALSE(driver.app().existing("CRC_Steps")->loaded()) << "a tick does not reopen it";
    window().click(c("Q", 6));
    Form& steps = driver.app().form("CRC_Steps");
    EXPECT_TRUE(steps.visible());
    EXPECT_EQ(steps.control("Row_Lab").caption().rfind("Запрос ведущего", 0), 0u);
}

TEST_F(ModbusTest, ReopenedOnTheSameRowTheStepsWindowShowsItAgain) {
    tick();
    window().click(c("Q", 6));
    driver.app().close("CRC_Steps");
    window().click(c("Q", 6));
    Form& steps = driver.app().form("CRC_Steps");
    EXPECT_EQ(steps.control("After", 5).caption(), "0636");
    EXPECT_TRUE(steps.control("After", 5).visible());
}

TEST_F(ModbusTest, OnlyTheCrcCellsOpenTheStepsWindow) {
    tick();
    for (int i = 0; i <= 5; ++i) window().click(c("Q", i));
    for (int i = 0; i <= 9; ++i) window().click(c("Ans", i));
    EXPECT_EQ(driver.app().existing("CRC_Steps"), nullptr);
}

TEST_F(ModbusTest, TheStepsWindowIsASingleInstance) {
    tick();
    window().click(c("Q", 6));
    Form* first = driver.app().existing("CRC_Steps");
    window().click(c("Ans", 10));
    EXPECT_EQ(driver.app().existing("CRC_Steps"), first);
    EXPECT_EQ(first->control("Row_Lab").caption().rfind("Ответ", 0), 0u);
}

TEST_F(ModbusTest, BeforeTheFirstTickTheStepsWindowSaysTheRowIsEmpty) {
    window().click(c("Q", 6));
    Form& steps = driver.app().form("CRC_Steps");
    EXPECT_EQ(steps.control("Row_Lab").caption(), "Запрос ведущего: байтов ещё нет");
    EXPECT_FALSE(steps.control("Num", 0).visible());
}

// What the canvas calls on a mouse press: the label under the mouse is clicked.
TEST_F(ModbusTest, APressOnACrcCellOpensTheStepsWindow) {
    tick();
    const Control& header = c("Метка1", 3);
    window().clickAt(header.windowLeft() + 5, header.windowTop() + 5);
    EXPECT_EQ(driver.app().existing("CRC_Steps"), nullptr);
    const Control& cell = c("Ans", 11);
    EXPECT_TRUE(window().clickAt(cell.windowLeft() + 5, cell.windowTop() + 5));
    EXPECT_TRUE(driver.app().form("CRC_Steps").visible());
}

TEST_F(ModbusTest, APressOnAHiddenWindowDoesNothing) {
    tick();
    window().hide();
    const Control& cell = c("Q", 6);
    EXPECT_FALSE(window().clickAt(cell.windowLeft() + 5, cell.windowTop() + 5));
    EXPECT_FALSE(window().click(c("Q", 6)));
    EXPECT_EQ(driver.app().existing("CRC_Steps"), nullptr);
}

}  // namespace
}  // namespace vk41
