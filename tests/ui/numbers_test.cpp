#include "ui/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vk41 {
namespace {

// A number as a test name: "-2.5" reads "Minus2_5".
std::string nameOf(double value) {
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string name;
    for (const char* ch = text; ch != end; ++ch) {
        if (*ch == '-')
            name += "Minus";
        else if (*ch == '.')
            name += '_';
        else if (*ch != '+')
            name += *ch;
    }
    return name;
}

struct TextCase {
    const char* name;
    const char* text;
    double number;
};

class TextToNumber : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToNumber, ReadsTheLongestNumericPrefix) {
    EXPECT_EQ(textToNumber(GetParam().text), GetParam().number)
        << "text \"" << GetParam().text << '"';
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, TextToNumber, ::testing::Values(
    //       name                     text      number
    TextCase{"Empty",                 "",       0},
    TextCase{"Letters",               "abc",    0},
    TextCase{"LeadingZero",           "05",     5},
    TextCase{"Negative",              "-12",    -12},
    TextCase{"TrailingLetter",        "1075x",  1075},
    TextCase{"Fraction",              "3.5",    3.5},
    TextCase{"LeadingSpace",          " 7",     7},
    TextCase{"LeadingTab",            "\t7",    7},
    TextCase{"PlusSign",              "+8",     8},
    TextCase{"LoneMinus",             "-",      0},
    TextCase{"NoWholePart",           ".5",     0.5},
    TextCase{"NoFractionDigits",      "5.",     5},
    TextCase{"LoneDot",               ".",      0},
    TextCase{"Exponent",              "1e3",    1000},
    TextCase{"ExponentWithoutDigits", "1e",     1},
    TextCase{"CapitalExponent",       "2E-1x",  0.2},
    TextCase{"SpaceInside",           "12 34",  12},
    TextCase{"Whole",                 "497",    497},
    TextCase{"MinusZero",             "-0",     0},
    TextCase{"HexPrefix",             "0x1F",   0},
    TextCase{"Underflow",             "1e-400", 0},
    TextCase{"DoubleMinus",           "--5",    0}),
    [](const ::testing::TestParamInfo<TextCase>& row) { return std::string(row.param.name); });
// clang-format on

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
                                           NumberCase{1e-5, "0.00001"}, NumberCase{1075, "1075"}),
                         [](const ::testing::TestParamInfo<NumberCase>& row) {
                             return "Number" + nameOf(row.param.number);
                         });

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
                                           RoundCase{-3.7, -4}),
                         [](const ::testing::TestParamInfo<RoundCase>& row) {
                             return "Value" + nameOf(row.param.value);
                         });

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
