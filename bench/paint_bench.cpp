// The scheme window's client area at the window's scales and the screen's
// device pixel ratios: drawn anew (the first frame, or any after a change of
// scale), repainted from the drawing the window keeps (uncovered, a tooltip
// gone); and a resize of it.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <sstream>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"

namespace {

struct Scheme {
    std::ostringstream out;
    vk41::ScriptDriver driver{out};
    std::unique_ptr<vk41::qt::FormWindow> window;
    Scheme() {
        driver.app().open("Objectt");
        window = std::make_unique<vk41::qt::FormWindow>(driver.app().form("Objectt"),
                                                        std::function<void()>{});
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
    }
    void paint(QImage& frame) const {
        window->clientArea()->render(&frame);
        benchmark::ClobberMemory();
    }
};

QImage frameFor(const QWidget* client, double ratio) {
    QImage frame(client->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(ratio);
    return frame;
}

// Arguments: the window's scale in per cent, the device pixel ratio.
void paintScheme(benchmark::State& state, bool anew) {
    const double scale = static_cast<double>(state.range(0)) / 100;
    const double ratio = static_cast<double>(state.range(1));
    Scheme scheme;
    scheme.window->fitWindowTo(scale);
    QImage frame = frameFor(scheme.window->clientArea(), ratio);
    scheme.paint(frame);
    for (auto _ : state) {
        if (anew) scheme.window->clientArea()->redrawAll();
        scheme.paint(frame);
    }
    state.SetLabel("scale " + std::to_string(state.range(0)) + " %, device pixel ratio " +
                   std::to_string(state.range(1)));
}

void BM_DrawSchemeAnew(benchmark::State& state) {
    paintScheme(state, true);
}
void BM_RepaintScheme(benchmark::State& state) {
    paintScheme(state, false);
}

void scalesAndRatios(benchmark::internal::Benchmark* b) {
    b->Args({75, 1})->Args({100, 1})->Args({200, 1})->Args({100, 2});
    // The CPU of every thread: Qt hands large fills to a pool of its own.
    b->ArgNames({"scale", "ratio"})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}
BENCHMARK(BM_DrawSchemeAnew)->Apply(scalesAndRatios);
BENCHMARK(BM_RepaintScheme)->Apply(scalesAndRatios);

// The user drags the window's edge: each step lays the window out at a new
// scale and paints it whole, as the first frame after a resize does.
void BM_ResizeScheme(benchmark::State& state) {
    Scheme scheme;
    int step = 0;
    for (auto _ : state) {
        scheme.window->fitWindowTo(0.7 + 0.01 * (step++ % 20));
        QImage frame = frameFor(scheme.window->clientArea(), 1);
        scheme.paint(frame);
    }
}
BENCHMARK(BM_ResizeScheme)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
