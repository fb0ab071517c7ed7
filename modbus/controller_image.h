#pragma once

#include <cstdint>
#include <optional>

namespace vk41 {

class App;
class Objectt;
class Controller;
struct Program;

// What the controller holds at this moment: its discrete inputs and outputs,
// its condition flags, the operators active in its last cycle, and the flow
// count. Bit k - 1 is input, output, flag or operator k.
//
// In "Работа по программе" it is the last cycle of the controller's program.
// The demonstration plays the controller instead of running it: there the
// inputs and outputs are read off the scheme, and the flags are those the
// factory program raises in the situation that the process status stands
// for.
struct ControllerImage {
    std::uint32_t inputs{0};
    std::uint32_t outputs{0};
    std::uint32_t flags{0};
    std::uint32_t active{0};
    double flowCount{0};
};

ControllerImage readController(App& app);

// The controller, when it runs its program: the scheme is loaded with
// "Работа по программе" chosen. Null otherwise; creates no window.
const Controller* programController(App& app);
// The scheme in the same case, to drive its controller.
Objectt* programRun(App& app);

// The program loaded in the controller, whatever the mode: the factory
// program until the scheme window exists, whose controller holds it.
// Creates no window.
const Program& loadedProgram(App& app);

// The situations the Modbus window and the conditions block show instead of
// the running plant, whatever it does.
enum class Situation {
    TankFull,  // the tank full: the pump and the UV lamp off
    Filling,   // the tank filling: the pump and the UV lamp on
    Accident,  // the filter clogged: the accident, the pump blocked
};

// What the controller holds in a situation: its inputs and outputs, and the
// flags and active operators of one cycle of the factory program on them.
// The accident fixes the flow count (the manometer trips at it); the other
// two fix none, and `flowCount` stands in for it there.
ControllerImage situationImage(Situation situation, double flowCount = 0);

// The situation a process status code stands for: 1 the pump on (filling),
// 2 the pump off with water (the tank full), 3 the accident. Other codes
// (0, 4 for a dry tank, 497 before the first write) stand for none.
std::optional<Situation> situationOfStatus(double statusCode);
// The condition flags the factory program raises in that situation; none for
// a code that stands for no situation.
std::uint32_t flagsOfStatus(double statusCode);

// A master's write of output k (1..6): the controller holds it, the LED on
// the scheme shows it, and every reader of the image sees it, until the
// controller's program sets that output again (outputs 3 to 6 in the factory
// program) or the controller restarts (1 and 2, which it never sets).
void writeOutput(App& app, int k, bool on);

}  // namespace vk41
