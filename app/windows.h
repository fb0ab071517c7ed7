#pragma once

#include "ui/app.h"
#include "ui/scheduler.h"
#include "ui/window_names.h"

namespace vk41 {

// Registers every window, the start-up window first.
void registerWindows(App& app);

// The application with every window registered, on a scheduler of its own:
// what the trainer, the slave and the tests start from.
struct Trainer {
    Trainer() { registerWindows(app); }
    Trainer(const Trainer&) = delete;
    Trainer& operator=(const Trainer&) = delete;

    Scheduler scheduler;
    App app{scheduler};
};

}  // namespace vk41
