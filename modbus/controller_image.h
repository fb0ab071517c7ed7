#pragma once

#include <cstdint>

namespace vk41 {

class App;

// What the controller holds at this moment, read off the running plant: its
// discrete inputs and outputs as the scheme shows them, the condition flags
// its program raises in the current process status, and the flow count.
// Bit k - 1 is input, output or flag k.
struct ControllerImage {
    std::uint32_t inputs{0};
    std::uint32_t outputs{0};
    std::uint32_t flags{0};
    double flowCount{0};
};

ControllerImage readController(App& app);

// The situations the Modbus window and the conditions block show instead of
// the running plant, whatever it does.
enum class Situation {
    TankFull,  // the tank full: the pump and the UV lamp off
    Filling,   // the tank filling: the pump and the UV lamp on
    Accident,  // the filter clogged: the accident, the pump blocked
};

// What the controller holds in a situation. The accident fixes the flow
// count (the manometer trips at it); the other two fix none, and
// `flowCount` stands in for it there.
ControllerImage situationImage(Situation situation, double flowCount = 0);

// A master's write of output k (1..6): the controller holds its outputs on
// the scheme's LEDs, so the LED shows the write, and every reader of the
// image sees it, until the controller's program drives that output again
// (outputs 3 to 6) or the controller restarts (1 and 2, which it never drives).
void writeOutput(App& app, int k, bool on);

}  // namespace vk41
