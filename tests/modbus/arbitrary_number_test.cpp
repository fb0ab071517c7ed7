// "Произвольное число от 0 до 65535" takes whole numbers that fit two bytes;
// any other text marks its combo at once, and the answers keep the last
// number it took.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "modbus_fixture.h"

namespace vk41 {
namespace {

using testing::Bytes;

constexpr Colour kMarked = rgb(0xFF0000);
constexpr const char* kHint = "целое число от 0 до 65535";

struct TypedNumber {
    const char* name;
    const char* text;
    int taken;  // the number taken, -1 for none
};

void PrintTo(const TypedNumber& t, std::ostream* os) {
    *os << '"' << t.text << '"';
}

class ArbitraryNumber : public testing::ModbusTest {
  protected:
    void enter(const std::string& text) { window().typeText(c("Cond_Val"), text); }
    bool marked() { return c("Cond_Val").backColor() == kMarked; }

    // A counter read and a read of sixteen flags, both of the arbitrary number.
    Bytes counterBytes() {
        select("Count_Length", 0);
        tick();
        return row("Aa", 3, 6);
    }
    Bytes flagBytes() {
        select("Count_Length", 9);
        type(6, "16");
        tick();
        return row("Aa", 3, 4);
    }
};

class TypedNumbers : public ArbitraryNumber, public ::testing::WithParamInterface<TypedNumber> {};

TEST_P(TypedNumbers, AreWholeNumbersFromZeroTo65535) {
    const TypedNumber& t = GetParam();
    select("Branch", 4);
    enter("300");
    ASSERT_EQ(counterBytes(), (Bytes{"44", "1", "0", "0"}));
    enter(t.text);
    const bool taken = t.taken >= 0;
    EXPECT_EQ(marked(), !taken) << "as soon as it is typed";
    EXPECT_EQ(c("Cond_Val").toolTip(), taken ? "" : kHint);
    const int value = taken ? t.taken : 300;
    const Bytes bytes = {std::to_string(value % 256), std::to_string(value / 256)};
    EXPECT_EQ(counterBytes(), (Bytes{bytes[0], bytes[1], "0", "0"}));
    EXPECT_EQ(flagBytes(), bytes);
    EXPECT_EQ(marked(), !taken) << "after the tick";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Arbitrary, TypedNumbers, ::testing::Values(
    //          name              text       taken
    TypedNumber{"Largest",        "65535",   65535},
    TypedNumber{"Zero",           "0",       0},
    TypedNumber{"LeadingZeros",   "0258",    258},
    TypedNumber{"PastTwoBytes",   "70000",   -1},
    TypedNumber{"JustPast",       "65536",   -1},
    TypedNumber{"Negative",       "-5",      -1},
    TypedNumber{"Fraction",       "3.7",     -1},
    TypedNumber{"Exponent",       "1e3",     -1},
    TypedNumber{"Letters",        "abc",     -1},
    TypedNumber{"DigitsThenText", "12abc",   -1},
    TypedNumber{"Empty",          "",        -1}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST_F(ArbitraryNumber, ANumberAgainClearsTheMark) {
    enter("70000");
    ASSERT_TRUE(marked());
    enter("12");
    EXPECT_FALSE(marked());
    EXPECT_EQ(c("Cond_Val").backColor(), c("Cond_Val").design().props.backColor);
    EXPECT_EQ(c("Cond_Val").toolTip(), "");
}

TEST_F(ArbitraryNumber, APickedEntryIsTakenAtOnce) {
    enter("x");
    ASSERT_TRUE(marked());
    window().pickItem(c("Cond_Val"), "15");
    EXPECT_FALSE(marked());
}

// The mantissa order changes no frame: the map holds no floating-point value,
// and each option's tooltip says so.
TEST_F(ArbitraryNumber, TheMantissaOrderChangesNoFrameAndSaysWhy) {
    for (int option : {1, 2}) {
        const Control& o = c("Опция1", option);
        const std::string tip =
            window().toolTipAt(o.windowLeft() + o.width() / 2, o.windowTop() + o.height() / 2);
        EXPECT_NE(tip.find("нет значений с плавающей точкой"), std::string::npos) << tip;
    }
    for (int kind : {0, 1, 2, 3, 6, 7, 8, 9}) {
        select("Count_Length", kind);
        select("Опция1", 2);
        tick();
        const Bytes request = row("Qq", 0, 7), answer = row("Aa", 0, 12);
        select("Опция1", 1);
        tick();
        EXPECT_EQ(row("Qq", 0, 7), request) << "kind " << kind;
        EXPECT_EQ(row("Aa", 0, 12), answer) << "kind " << kind;
    }
}

}  // namespace
}  // namespace vk41
