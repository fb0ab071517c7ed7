#pragma once

#include <cstdint>

namespace vk41 {

class Control;
class Form;

// The flow count at which the soiled filter's manometer trips the accident.
inline constexpr double kAccidentCount = 36;

// The controller's discrete inputs and outputs as the scheme shows them at
// this moment, one bit per terminal: bit k - 1 is input or output k. `scheme`
// is the scheme window.
std::uint32_t plantInputs(Form& scheme);
std::uint32_t plantOutputs(Form& scheme);

// The installation's wiring.
namespace terminal {
inline constexpr int kManometer = 4;    // input: the manometer's relay contact
inline constexpr int kLowerSwitch = 5;  // input: the lower limit switch
inline constexpr int kUpperSwitch = 6;  // input: the upper limit switch
inline constexpr int kGreenLamp = 3;    // output: the green lamp, normal operation
inline constexpr int kPumpRelay = 4;    // output: the pump relay
inline constexpr int kAccident = 5;     // output: the accident, the red lamp
inline constexpr int kUvLampRelay = 6;  // output: the UV lamp's relay
// Outputs 1..6 have their LEDs Led_1..Led_6 on the controller.
inline constexpr int kLedOutputs = 6;
}  // namespace terminal

// The LED of output k on the scheme; null for an output without one.
Control* outputLed(Form& scheme, int k);

}  // namespace vk41
