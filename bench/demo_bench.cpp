// The whole "Описание и демонстрация" run, RUN to the restart at 240, in
// virtual time with every window's timer running as in real use.
#include <benchmark/benchmark.h>

#include <sstream>

#include "tools/script_driver.h"

namespace {

void BM_FullDemonstrationRun(benchmark::State& state) {
    const std::string script =
        "menu Texttt Имитация\nmenu Objectt Блок Условий\nclick Objectt.Radix(0)\n"
        "click Objectt.Vis(0)\nrun 264200\n";
    for (auto _ : state) {
        std::ostringstream out, err;
        vk41::ScriptDriver driver(out);
        std::istringstream in(script);
        if (driver.run(in, err) != 0) state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(driver.app().existing("ModB_Frm"));
    }
    state.SetLabel("264 s of program time");
}
BENCHMARK(BM_FullDemonstrationRun)->Unit(benchmark::kMillisecond);

}  // namespace
