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

}  // namespace vk41
