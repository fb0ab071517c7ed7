#include "plant/terminals.h"

#include <cmath>
#include <string>

#include "plant/leds.h"
#include "ui/form.h"

namespace vk41 {
namespace {

// A contact is closed when the free end of its common contact touches the
// tip of its normally-open contact: within one pixel (15 twips), as the two
// meet on the screen. The upper switch's lever pushes its common contact up
// onto NO as the tank fills; the lower switch's lever rests on it, NO down,
// while the tank is empty; the manometer's relay holds its common on NO from
// the alarm until a restart.
constexpr float kTouch = 15;

bool touches(Form& scheme, const char* common, const char* normallyOpen, bool tipAtY1) {
    const Control& no = scheme.control(normallyOpen);
    const float tip = tipAtY1 ? no.y1() : no.y2();
    return std::fabs(scheme.control(common).y1() - tip) <= kTouch;
}

constexpr std::uint32_t bit(int terminal) {
    return std::uint32_t{1} << (terminal - 1);
}

}  // namespace

std::uint32_t plantInputs(Form& scheme) {
    std::uint32_t inputs = 0;
    if (touches(scheme, "Kont_F_Com", "Kont_F_NO", false)) inputs |= bit(terminal::kManometer);
    if (touches(scheme, "Swich2_Com", "Swich2_NO", false)) inputs |= bit(terminal::kLowerSwitch);
    if (touches(scheme, "Swich1_Com", "Swich1_NO", true)) inputs |= bit(terminal::kUpperSwitch);
    return inputs;
}

std::uint32_t plantOutputs(Form& scheme) {
    std::uint32_t outputs = 0;
    for (int k = 1; k <= terminal::kLedOutputs; ++k)
        if (outputLed(scheme, k)->fillColor() == kLit) outputs |= bit(k);
    return outputs;
}

Control* outputLed(Form& scheme, int k) {
    if (k < 1 || k > terminal::kLedOutputs) return nullptr;
    // The designer left Led_1 a control array of one.
    if (k == 1) return &scheme.control("Led_1", 0);
    return &scheme.control("Led_" + std::to_string(k));
}

}  // namespace vk41
