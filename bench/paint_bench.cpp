// One frame of the scheme window as the screen shows it at load.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <sstream>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"

namespace {

void BM_PaintSchemeAtLoad(benchmark::State& state) {
    const double ratio = static_cast<double>(state.range(0));
    std::ostringstream out;
    vk41::ScriptDriver driver(out);
    driver.app().open("Objectt");
    vk41::qt::FormWindow window(driver.app().form("Objectt"), {});
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QWidget* client = window.clientArea();
    QImage frame(client->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        client->render(&frame);
        benchmark::ClobberMemory();
    }
    state.SetLabel("device pixel ratio " + std::to_string(state.range(0)));
}
BENCHMARK(BM_PaintSchemeAtLoad)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
