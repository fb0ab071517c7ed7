#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "modbus/main_mod_modbus.h"
#include "modbus_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

using testing::Bytes;
using testing::ModbusTest;

int crcOf(const std::vector<int>& bytes) {
    CrcRegister crc;
    for (int b : bytes) crc.add(b);
    return crc.hi << 8 | crc.lo;
}

TEST(Crc16Modbus, GivesTheStandardCheckValue) {
    EXPECT_EQ(crcOf({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0x4B37);
    EXPECT_EQ(crcOf({}), 0xFFFF);
}

struct FrameCase {
    Bytes frame;
    const char* low;
    const char* high;
};

class RequestCrc : public ModbusTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(RequestCrc, IsPlacedAfterTheFrameLowByteFirst) {
    const Bytes& frame = GetParam().frame;
    for (std::size_t i = 0; i < frame.size(); ++i)
        c("Qq", static_cast<int>(i)).setCaption(frame[i]);
    c("Req_Len_L").setCaption(numberToText(static_cast<double>(frame.size())));
    window().CRC_Click();
    const int n = static_cast<int>(frame.size());
    EXPECT_EQ(c("Qq", n).caption(), GetParam().low);
    EXPECT_EQ(c("Qq", n + 1).caption(), GetParam().high);
    EXPECT_EQ(c("C_Byte_L_Q").caption(), GetParam().low);
    EXPECT_EQ(c("QA").caption(), "Q");
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RequestCrc,
    ::testing::Values(FrameCase{{}, "255", "255"},
                      FrameCase{{"1", "3", "0", "0", "0", "1"}, "132", "10"},
                      FrameCase{{"127", "3", "164", "238", "0", "2"}, "141", "16"},
                      FrameCase{{"127", "6", "234", "96", "170", "85"}, "9", "77"},
                      FrameCase{{"127", "1", "0", "32", "0", "32"}, "54", "6"},
                      FrameCase{{"127", "1", "4", "7", "0", "0", "0"}, "100", "162"}),
    [](const ::testing::TestParamInfo<FrameCase>& row) {
        std::string name = "Frame";
        for (const std::string& byte : row.param.frame) name += "_" + byte;
        return row.param.frame.empty() ? std::string("EmptyFrame") : name;
    });

TEST_F(ModbusTest, TheAnswerCrcGoesToTheAnswerRow) {
    for (int i = 0; i < 6; ++i) c("Aa", i).setCaption(Bytes{"1", "6", "234", "96", "170", "85"}[i]);
    c("Req_Len_L").setCaption("6");
    window().CRC_ANSW_Click();
    EXPECT_EQ(row("Aa", 6, 7), (Bytes{"3", "83"}));
    EXPECT_EQ(c("QA").caption(), "A");
}

TEST_F(ModbusTest, AnEmptyOrNonNumericLengthChecksumsNothing) {
    c("Req_Len_L").setCaption("abc");
    window().CRC_Click();
    EXPECT_EQ(row("Qq", 0, 1), (Bytes{"255", "255"}));
}

TEST_F(ModbusTest, LengthsBeyondTheRowsAreHarmless) {
    for (const char* length : {"17", "40", "-3", "1e9", "99999"}) {
        c("Req_Len_L").setCaption(length);
        window().CRC_Click();
        window().CRC_ANSW_Click();
    }
    c("Qq", 0).setCaption("70000");
    c("Qq", 1).setCaption("-5");
    c("Req_Len_L").setCaption("2");
    window().CRC_Click();
    EXPECT_FALSE(c("Qq", 2).caption().empty());
}

TEST_F(ModbusTest, ConvertIntToBinGivesTheEightBits) {
    Value a = std::string();
    int b[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    window().Convert_Int_To_Bin(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
    EXPECT_EQ(a, Value{0.0});
    for (int bit : b) EXPECT_EQ(bit, 0);
    a = 131.0;
    window().Convert_Int_To_Bin(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
    EXPECT_EQ((std::vector<int>(b, b + 8)), (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 1}));
    a = 258.0;  // above a byte: its low bits
    window().Convert_Int_To_Bin(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
    EXPECT_EQ((std::vector<int>(b, b + 8)), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ModbusTest, StringBinToIntReadsBaseTwo) {
    double z = -1;
    window().String_Bin_To_Int("10000011", z);
    EXPECT_EQ(z, 131);
    window().String_Bin_To_Int("00000000", z);
    EXPECT_EQ(z, 0);
    window().String_Bin_To_Int("1x1", z);
    EXPECT_EQ(z, 5);
    window().String_Bin_To_Int(std::string(40, '1'), z);  // past 14 characters: stops
    EXPECT_EQ(z, 32767);
}

struct MaskCase {
    const char* x;
    int beg;
    const char* y;
};

class ByteMasker : public ModbusTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(ByteMasker, KeepsTheLeastSignificantBits) {
    std::string y;
    window().Byte_Masker(GetParam().x, GetParam().beg, y);
    EXPECT_EQ(y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ByteMasker,
    ::testing::Values(MaskCase{"10110111", 3, "00000111"}, MaskCase{"10110111", 0, "00000000"},
                      MaskCase{"10110111", -4, "00000000"}, MaskCase{"10110111", 8, "10110111"},
                      MaskCase{"10110111", 99, "10110111"}, MaskCase{"", 5, "00000000"},
                      MaskCase{"101", 2, "00100000"}, MaskCase{"1111111111", 9, "01111111"}),
    [](const ::testing::TestParamInfo<MaskCase>& row) {
        const MaskCase& m = row.param;
        const std::string bits = *m.x ? std::string("Bits") + m.x : "NoBits";
        return bits + (m.beg < 0 ? "_KeepMinus" : "_Keep") + std::to_string(std::abs(m.beg));
    });

TEST_F(ModbusTest, StringShiftMovesOneBitTowardsTheEnd) {
    std::string y = "10000011", carried;
    int k = 1;
    window().String_Shift(k, y, "0", carried);
    EXPECT_EQ(y, "01000001");
    EXPECT_EQ(carried, "1");
    EXPECT_EQ(k, 0);
    k = 0;
    window().String_Shift(k, y, "1", carried);  // no shift, the first character still replaced
    EXPECT_EQ(y, "11000001");
    std::string empty;
    k = 3;
    window().String_Shift(k, empty, "", carried);
    EXPECT_EQ(empty, "");
    EXPECT_EQ(carried, "");
}

TEST_F(ModbusTest, HexerWritesOneDigitAndIgnoresTheRest) {
    Control& b = c("Temp_H");
    window().Hexer(b, 11);
    EXPECT_EQ(b.caption(), "B");
    window().Hexer(b, 16);
    EXPECT_EQ(b.caption(), "B");
    window().Hexer(b, -1);
    window().Hexer(b, 2.5);
    EXPECT_EQ(b.caption(), "B");
    window().Hexer(b, 0);
    EXPECT_EQ(b.caption(), "0");
}

TEST_F(ModbusTest, RedixRecountSplitsOnlyInHexMode) {
    window().Hex_Mode = true;
    Value num = 238.0;
    window().Redix_Recount(num);
    EXPECT_EQ(window().Hi_Digit, 14);
    EXPECT_EQ(window().Lo_Digit, 14);
    EXPECT_EQ(num, Value{14.0});
    Value empty = std::string();
    window().Redix_Recount(empty);
    EXPECT_EQ(window().Hi_Digit, 14);
    window().Hex_Mode = false;
    Value other = 17.0;
    window().Redix_Recount(other);
    EXPECT_EQ(window().Lo_Digit, 14);
}

}  // namespace
}  // namespace vk41
