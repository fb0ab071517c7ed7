#include "ui/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vk41 {
namespace {

struct TextCase {
    const char* text;
    double number;
};

class TextToNumber : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToNumber, ReadsTheLongestNumericPrefix) {
    EXPECT_EQ(textToNumber(GetParam().text), GetParam().number)
        << "text \"" << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToNumber,
    ::testing::Values(TextCase{"", 0}, TextCase{"abc", 0}, TextCase{"05", 5}, TextCase{"-12", -12},
                      TextCase{"1075x", 1075}, TextCase{"3.5", 3.5}, TextCase{" 7", 7},
                      TextCase{"\t7", 7}, TextCase{"+8", 8}, TextCase{"-", 0}, TextCase{".5", 0.5},
                      TextCase{"5.", 5}, TextCase{".", 0}, TextCase{"1e3", 1000}, TextCase{"1e", 1},
                      TextCase{"2E-1x", 0.2}, TextCase{"12 34", 12}, TextCase{"497", 497},
                      TextCase{"-0", 0}, TextCase{"0x1F", 0}, TextCase{"1e-400", 0},
                      TextCase{"--5", 0}));

TEST(TextToNumber, HugeTextStaysFinite) {
    EXPECT_EQ(textToNumber("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(textToNumber("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_TRUE(std::isfinite(textToNumber(std::string(5000, '9'))));
    EXPECT_FALSE(std::signbit(textToNumber("-0.0")));
}

struct NumberCase {
    double number;
    const char* text;
};

class NumberToText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberToText, WritesPlainDecimal) {
    EXPECT_EQ(numberToText(GetParam().number), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberToText,
                         ::testing::Values(NumberCase{0, "0"}, NumberCase{-0.0, "0"},
                                           NumberCase{36, "36"}, NumberCase{-12, "-12"},
                                           NumberCase{3.5, "3.5"}, NumberCase{0.1, "0.1"},
                                           NumberCase{1e21, "1000000000000000000000"},
                                           NumberCase{1e-5, "0.00001"}, NumberCase{1075, "1075"}));

TEST(NumberToText, ReadsBackTheSame) {
    for (double v : {0.1, 1.0 / 3, 2.35619446275, -7.25, 123456.789, 6.283185307 / 21})
        EXPECT_EQ(textToNumber(numberToText(v)), v) << numberToText(v);
    EXPECT_EQ(numberToText(std::nan("")), "0");
    EXPECT_EQ(textToNumber(numberToText(std::numeric_limits<double>::infinity())),
              std::numeric_limits<double>::max());
}

struct RoundCase {
    double value;
    int rounded;
};

class ToInteger : public ::testing::TestWithParam<RoundCase> {};

TEST_P(ToInteger, RoundsToNearestHalvesToEven) {
    EXPECT_EQ(toInt32(GetParam().value), GetParam().rounded) << GetParam().value;
    EXPECT_EQ(toInt16(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, ToInteger,
                         ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                                           RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                                           RoundCase{-2.5, -2}, RoundCase{2.4999, 2},
                                           RoundCase{2.5001, 3}, RoundCase{262.4999, 262},
                                           RoundCase{-3.7, -4}));

TEST(ToInteger, ClampsWhatDoesNotFit) {
    EXPECT_EQ(toInt16(40000), 32767);
    EXPECT_EQ(toInt16(-40000), -32768);
    EXPECT_EQ(toInt32(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(toInt32(-std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toInt32(std::nan("")), 0);
    EXPECT_EQ(toInt16(std::nan("")), 0);
}

}  // namespace
}  // namespace vk41
