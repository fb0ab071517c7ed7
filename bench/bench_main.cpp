// Benchmarks of the machinery every window leans on.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <sstream>

#include "tools/script_driver.h"
#include "ui/numbers.h"

namespace {

void BM_TextToNumber(benchmark::State& state) {
    const char* texts[] = {"1075", "-12", "3.5", "1075x", "", "abc", " 7", "0000000"};
    for (auto _ : state)
        for (const char* t : texts) benchmark::DoNotOptimize(vk41::textToNumber(t));
}
BENCHMARK(BM_TextToNumber);

void BM_NumberToText(benchmark::State& state) {
    double v = 0;
    for (auto _ : state) benchmark::DoNotOptimize(vk41::numberToText(v += 1.5));
}
BENCHMARK(BM_NumberToText);

// Start-up and a walk through every page and window, as the driver runs it.
void BM_NavigationScript(benchmark::State& state) {
    const std::string script =
        "menu Texttt Назначение\nmenu Texttt Общее\nmenu Texttt Деморежим\n"
        "menu Texttt Блок условий\nmenu Texttt ModBus\nmenu Texttt Оборудование\n"
        "menu Texttt Имитация\nmenu Objectt Блок Условий\nmenu Objectt ModBus\nrun 264000\n";
    for (auto _ : state) {
        std::ostringstream out, err;
        vk41::ScriptDriver driver(out);
        std::istringstream in(script);
        benchmark::DoNotOptimize(driver.run(in, err));
    }
}
BENCHMARK(BM_NavigationScript);

}  // namespace

int main(int argc, char** argv) {
    // Painting benchmarks draw offscreen, whatever the machine's display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
