// The five methods that move and colour the scheme's elements.
#include <array>
#include <cmath>
#include <limits>

#include "plant/leds.h"
#include "plant/objectt.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

// The classic 16-bit product: outside -32768..32767 it overflows, which ends
// the call. Returning nothing lets the caller stop where the original did.
std::optional<std::int16_t> product16(int a, int b) {
    const long long p = static_cast<long long>(a) * b;
    if (p < std::numeric_limits<std::int16_t>::min() ||
        p > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(p);
}

constexpr Colour kFilterDarkest = rgb(0x5F5F5F);
constexpr std::uint32_t kTwoLess = 131586;  // 2 off red, green and blue
constexpr double kContactWindow = -0.975;   // the pointer within ~12.8 degrees of straight up
constexpr double kNeedleLength = 360;

}  // namespace

void Objectt::Rotate_Arrow(Control& X, double Index_Arrow, double Xx, double YY, bool On_Hour,
                           std::int16_t Speed) {
    ++Arrow_Tick;
    if (Arrow_Tick >= 60) Arrow_Tick = 0;
    const double s = On_Hour ? 1 : -1;
    const auto turn = product16(Arrow_Tick, Speed);
    if (!turn) return;
    const double phi = Arrow_Step * Index_Arrow + *turn * Two_Pi / 60;
    X.setX1(static_cast<float>(Xx + Arrow_Len * std::cos(phi)));
    X.setX2(static_cast<float>(Xx - Arrow_Len * std::cos(phi)));
    X.setY1(static_cast<float>(YY + s * Arrow_Len * std::sin(phi)));
    X.setY2(static_cast<float>(YY - s * Arrow_Len * std::sin(phi)));
}

void Objectt::Rotate_Line(Control& X, bool On_Hour, std::int16_t Speed, std::int16_t Length) {
    const double phi = Phase_0 + Flow_Phase * Speed / 30;
    X.setX2(static_cast<float>(X.x1() + Length * std::cos(phi)));
    const auto reach = product16(On_Hour ? 1 : -1, Length);
    if (!reach) return;
    const double v = std::sin(phi + 2 * Phase_1);
    X.setY2(static_cast<float>(X.y1() + *reach * v));

    Control& common = control("Kont_Com");
    if (!(v < kContactWindow)) {
        common.setY1(control("Kont_NC").y2());
        Kont_Closed = false;
        return;
    }
    common.setY1(control("Kont_NO").y2());
    if (!Kont_Closed) {
        Control& itog = control("Itog");
        itog.setCaption(numberToText(textToNumber(itog.caption()) + 1));
    }
    // The filter soils on every call with the contact closed, never below #5F5F5F.
    Control& filter = control("Filtr");
    if (colourNumber(filter.fillColor()) < colourNumber(kFilterDarkest))
        filter.setFillColor(kFilterDarkest);
    filter.setFillColor(fromColourNumber(colourNumber(filter.fillColor()) - kTwoLess));
    Kont_Closed = true;
}

void Objectt::Rotate_Filtr(bool& On_Hour, std::int16_t Max_K) {
    Gauge_Base = 2.35619446275;
    if (control("Led_5").fillColor() == kLit) On_Hour = true;
    const int k = Gauge_K + (On_Hour ? -3 : 3);
    if (k < std::numeric_limits<std::int16_t>::min() ||
        k > std::numeric_limits<std::int16_t>::max())
        return;  // the classic 16-bit overflow ends the call
    Gauge_K = static_cast<std::int16_t>(k);
    if (Gauge_K >= Max_K) Gauge_K = Max_K;
    if (Gauge_K <= 0) Gauge_K = 0;
    // The manometer's contact is the relay's, not the needle's: the filter
    // alarm draws it.
    const double theta = Gauge_Base + Gauge_K / Gauge_Div;
    Control& needle = control("Filtr_Loop");
    needle.setX2(static_cast<float>(needle.x1() + kNeedleLength * std::cos(theta)));
    needle.setY2(static_cast<float>(needle.y1() + kNeedleLength * std::sin(theta)));
}

void Objectt::Lamp(bool On_Off) {
    static constexpr std::array<Colour, 3> kRayColours = {rgb(0xFFFF80), rgb(0xFF0000),
                                                          rgb(0x8080FF)};
    const Colour ray = kRayColours[std::uniform_int_distribution<int>(0, 2)(random_)];
    for (int i = 0; i <= 5; ++i) {
        control("Ray", i).setBorderColor(ray);
        control("Ray", i).setVisible(On_Off);
    }
    control("Flame_H").setVisible(On_Off);
    control("Flame_M").setVisible(On_Off);
    control("Flame_L").setBorderColor(On_Off ? rgb(0x8080FF) : rgb(0x808080));
    control("Balon").setFillColor(On_Off ? rgb(0xC0C0FF) : rgb(0x808080));
}

void Objectt::Water_Arrow(std::int16_t Num, std::int16_t On_Off, std::int16_t) {
    if (Num != 1) return;
    for (const char* part : {"Woter_Flow_1_1", "Woter_Flow_1_2", "Woter_Flow_1_3"})
        control(part).setVisible(On_Off != 0);
}

}  // namespace vk41
