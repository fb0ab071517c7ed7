#pragma once

#include "ui/app.h"
#include "ui/scheduler.h"
#include "ui/window_names.h"

namespace vk41 {

// Registers every window, the start-up window first.
void registerWindows(App& app);

// The application with every window registered, on a scheduler of its own:
// what the trainer, the slave and the tests start from.
struct Program {
    Program() { registerWindows(app); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Scheduler scheduler;
    App app{scheduler};
};

}  // namespace vk41
