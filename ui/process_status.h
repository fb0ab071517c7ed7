#pragma once

#include <optional>

namespace vk41 {

class App;

// The process status code: the scheme's process tick and output indication
// write it, the exchange cycle and the conditions block read it. It lives in
// the caption of the Modbus window's hidden label Status_Lab, where every
// window and script sees it; touching it creates that window, hidden, as any
// reach into a window does. Before the first write the caption is the
// design's "497", which is no status.
enum class ProcessStatus {
    PumpOn = 1,    // output 4 on: the pump runs
    PumpOff = 2,   // output 4 off with water in the tank
    Accident = 3,  // the filter is clogged: output 5 and the red lamp
    TankDry = 4,   // the tank has drained to its outlet
};

void writeProcessStatus(App& app, ProcessStatus status);

// The caption read as every number held in a caption is read: its leading
// number, so a caption that is no code reads as whatever number it starts with.
double processStatusCode(App& app);

// The status the caption names, when it holds exactly one of the codes.
std::optional<ProcessStatus> processStatus(App& app);

}  // namespace vk41
