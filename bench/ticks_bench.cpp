// One tick of each of the program's cycles, on windows in a running state.
#include <benchmark/benchmark.h>

#include <sstream>

#include "tools/script_driver.h"

namespace {

// The program well into a demonstration: every window loaded and ticking.
struct Running {
    std::ostringstream out, err;
    vk41::ScriptDriver driver{out};
    Running() {
        std::istringstream in(
            "menu Texttt Имитация\nmenu Objectt Блок Условий\nmenu Objectt ModBus\n"
            "click Objectt.Radix(0)\nclick Objectt.Vis(0)\nrun 60000\n");
        driver.run(in, err);
    }
    void tick(const char* window, const char* timer, benchmark::State& state) {
        vk41::Form& form = driver.app().form(window);
        vk41::Control& t = form.control(timer);
        for (auto _ : state) form.fireTimer(t);
    }
};

void BM_ProcessTick(benchmark::State& state) {
    Running().tick("Objectt", "Часы1", state);
}
void BM_DemonstrationTick(benchmark::State& state) {
    Running r;
    // Held below the restart at 240 so that every tick is an ordinary one.
    vk41::Form& scheme = r.driver.app().form("Objectt");
    vk41::Control& timer = scheme.control("Часы2");
    for (auto _ : state) {
        scheme.control("Time").setCaption("100");
        scheme.fireTimer(timer);
    }
}
void BM_ExchangeTick(benchmark::State& state) {
    Running().tick("ModB_Frm", "Часы1", state);
}
void BM_ConditionsTick(benchmark::State& state) {
    Running().tick("Bl_Usl", "Часы1", state);
}

BENCHMARK(BM_ProcessTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DemonstrationTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExchangeTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConditionsTick)->Unit(benchmark::kMicrosecond);

}  // namespace
