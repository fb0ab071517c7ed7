// Forcing the controller's terminals from the scheme: "F" beside the LED of a
// forced output and beside the contact of a forced input, and the zones over
// the limit switches and the manometer's contact that a click forces and
// releases. The I/O panel and the driver force through these methods too, so
// the marks follow every forcing at once, the controller running or not.
#include <array>
#include <string>

#include "plant/leds.h"
#include "plant/objectt.h"
#include "plant/terminals.h"

namespace vk41 {
namespace {

// The inputs the scheme draws, and the hint label of each one's device.
struct DrawnInput {
    int terminal;
    int hint;  // Object(hint)
};
// clang-format off
constexpr std::array<DrawnInput, 3> kDrawnInputs = {{
    {terminal::kManometer,   4},
    {terminal::kLowerSwitch, 8},
    {terminal::kUpperSwitch, 7},
}};
// clang-format on

std::string stateText(bool on) {
    return on ? "1 (замкнут)" : "0 (разомкнут)";
}

}  // namespace

void Objectt::forceInput(int k, bool on) {
    controller_.forceInput(k, on);
    showForcing();
}

void Objectt::forceOutput(int k, bool on) {
    controller_.forceOutput(k, on);
    showForcing();
}

void Objectt::unforceInput(int k) {
    controller_.unforceInput(k);
    showForcing();
}

void Objectt::unforceOutput(int k) {
    controller_.unforceOutput(k);
    showForcing();
}

void Objectt::unforceAll() {
    controller_.unforceAll();
    showForcing();
}

// A forced output has its value at once, so in "Работа по программе" its LED
// shows it at once too, as the next cycle would.
void Objectt::showForcing() {
    const Forcing& inputs = controller_.forcedInputs();
    const Forcing& outputs = controller_.forcedOutputs();
    for (const DrawnInput& input : kDrawnInputs)
        control("Force_In", input.terminal).setVisible(bitOf(inputs.mask, input.terminal));
    for (int k = 1; k <= terminal::kLedOutputs; ++k) {
        control("Force_Out", k).setVisible(bitOf(outputs.mask, k));
        if (programMode() && bitOf(outputs.mask, k))
            light(*outputLed(*this, k), bitOf(controller_.state().outputs, k) ? kLit : kDark);
    }
}

void Objectt::bindForcing() {
    onClick("Force_Zone", [this](int k) { forceZoneClick(k); });
    onToolTip("Force_Zone", [this](int k) { return forceZoneTip(k); });
}

// A click forces the input to the opposite of what its contact shows, and
// releases it when it is forced.
void Objectt::forceZoneClick(int k) {
    if (!programMode()) return;
    if (bitOf(controller_.forcedInputs().mask, k))
        unforceInput(k);
    else
        forceInput(k, !bitOf(plantInputs(*this), k));
}

// The device's own hint, and what a click on it does now.
std::string Objectt::forceZoneTip(int k) {
    int hint = 0;
    for (const DrawnInput& input : kDrawnInputs)
        if (input.terminal == k) hint = input.hint;
    const std::string device = control("Object", hint).toolTip() + "\n";
    const std::string input = "вход " + std::to_string(k);
    if (!programMode())
        return device + "В режиме «Работа по программе» щелчок форсирует " + input + ".";
    const Forcing& forced = controller_.forcedInputs();
    if (bitOf(forced.mask, k))
        return device + "Форсирован " + input + " = " + stateText(bitOf(forced.values, k)) +
               "; щелчок снимает форсировку.";
    return device + "Щелчок форсирует " + input + " в " + stateText(!bitOf(plantInputs(*this), k)) +
           ".";
}

}  // namespace vk41
