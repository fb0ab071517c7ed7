// The controller's outputs on the scheme, played inside the demonstration
// tick: outputs 3, 4 and 5 with the signal lamps, the filter alarm, the pump
// rotor, the interface LEDs, the water arrows and the counter display.
#include <array>
#include <cmath>

#include "plant/leds.h"
#include "plant/objectt.h"
#include "plant/terminals.h"
#include "ui/numbers.h"
#include "ui/process_status.h"

namespace vk41 {

namespace {

constexpr Colour kGreenLit = rgb(0x00FF00);
constexpr Colour kArrowShade = rgb(0x8080FF);
constexpr Colour kArrowOtherShade = rgb(0xC0FFFF);

// The lit segments A, B, C, D, E, F and H (the middle one) of each digit.
constexpr std::array<std::array<bool, 7>, 10> kSegments = {{
    {1, 1, 1, 1, 1, 1, 0},  // 0
    {0, 1, 1, 0, 0, 0, 0},  // 1
    {1, 1, 0, 1, 1, 0, 1},  // 2
    {1, 1, 1, 1, 0, 0, 1},  // 3
    {0, 1, 1, 0, 0, 1, 1},  // 4
    {1, 0, 1, 1, 0, 1, 1},  // 5
    {1, 0, 1, 1, 1, 1, 1},  // 6
    {1, 1, 1, 0, 0, 0, 0},  // 7
    {1, 1, 1, 1, 1, 1, 1},  // 8
    {1, 1, 1, 1, 0, 1, 1},  // 9
}};
constexpr std::array<const char*, 7> kSegmentNames = {"A", "B", "C", "D", "E", "F", "H"};

}  // namespace

double Objectt::flowCount() {
    return textToNumber(control("Itog").caption());
}

void Objectt::showOutput3() {
    if (Process_On) light(control("Led_3"), kLit);
    if (control("Led_3").fillColor() == kLit) control("Lampa_Green").setFillColor(kGreenLit);
}

void Objectt::accidentStatus() {
    if (control("Led_5").fillColor() != kLit) return;
    writeProcessStatus(app(), ProcessStatus::Accident);
    Pump_On = false;
}

void Objectt::moveNeedle() {
    if (Filtr_Update) Rotate_Filtr(Filtr_Flag, toInt16(flowCount()));
}

// While the pump runs past time 41 the rotor turns, 21 positions a turn.
void Objectt::turnRotor() {
    if (!(readTime() > 41 && asBool(Pump_On))) {
        light(control("Led_4"), kDark);
        return;
    }
    turnRotorBlades();
    light(control("Led_4"), kLit);
}

void Objectt::turnRotorBlades() {
    if (++Rotor_Pos > 20) Rotor_Pos = 0;
    const double cx = control("Osy_X").x1();
    const double cy = control("Osy_Y").y1();
    for (int k = 1; k <= 4; ++k) {
        const double a = Rotor_Step * Rotor_Pos + Blade_Angle[k];
        control("L1", k).setLeft(static_cast<float>(cx + Rotor_R * std::cos(a)));
        control("L1", k).setTop(static_cast<float>(cy - Rotor_R * std::sin(a)));
    }
}

// The manometer's relay holds its contact closed while the filter is clogged:
// from the alarm until a restart clears the count. Input 4 reads this contact.
bool Objectt::drawManometerContact() {
    const bool clogged = flowCount() >= kAccidentCount;
    control("Kont_F_Com").setY1(control(clogged ? "Kont_F_NO" : "Kont_F_NC").y2());
    return clogged;
}

void Objectt::filterAlarm() {
    if (!drawManometerContact()) {
        control("Led_5").setFillColor(kDark);
        light(control("Lampa_Red"), kDark);
        return;
    }
    if (control("Led_5").fillColor() == kDark) {  // the alarm sets in on this tick
        for (const char* spark : {"Spark_F_1", "Spark_F_2", "Spark_F_3"})
            control(spark).setVisible(true);
    }
    light(control("Led_5"), kLit);
    light(control("Lampa_Red"), kLit);
    light(control("Lampa_Green"), kDark);
    light(control("Led_3"), kDark);
    bool backwards = false;  // a temporary: the needle's direction is not kept
    Rotate_Filtr(backwards, toInt16(flowCount()));
}

void Objectt::blinkInterfaceLeds() {
    if (!Process_On) return;
    Control& master = control("Led_M");
    light(master, master.fillColor() == kDark ? kLit : kDark);
    if (++Slave_Tick > 10) Slave_Tick = 0;
    if (!Port_Serving) light(control("Led_S"), Slave_Tick > 9 ? kLit : kDark);
}

void Objectt::portServing(bool on) {
    Port_Serving = on;
    light(control("Led_S"), kDark);
}

// Lit at the answer, dark when the port's clock ticks next.
void Objectt::portAnswered() {
    if (!Port_Serving) return;
    light(control("Led_S"), kLit);
    Control& clock = control("Port_Clock");
    clock.setEnabled(false);
    clock.setEnabled(true);
}

void Objectt::shimmerWaterArrows() {
    if (Flow_Tick <= 2) return;
    Flow_Tick = 0;
    for (const char* arrow : {"Woter_Flow_1_", "Woter_Flow_2_"}) {
        const std::string first = std::string(arrow) + "1";
        const Colour next =
            control(first).borderColor() == kArrowShade ? kArrowOtherShade : kArrowShade;
        for (const char* part : {"1", "2", "3"})
            control(std::string(arrow) + part).setBorderColor(next);
    }
}

// The seven digits of the counter, leading zeros included.
void Objectt::showCounter() {
    double v = flowCount();
    for (int i = 0; i <= 6; ++i) {
        const double w = v;
        v = std::trunc(v / 10);
        Cnt_Digit[i] = toInt16(w - 10 * v);
        const int digit = Cnt_Digit[i];
        if (digit < 0 || digit > 9) continue;
        for (std::size_t s = 0; s < kSegmentNames.size(); ++s)
            control(kSegmentNames[s], i).setVisible(kSegments[digit][s]);
    }
}

}  // namespace vk41
