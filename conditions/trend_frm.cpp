#include "conditions/trend_frm.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "modbus/memory_map.h"
#include "plant/objectt.h"
#include "plant/terminals.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/window_names.h"

namespace vk41 {

namespace {

enum class Reads { Level, Flow, Output, Input };

struct Trace {
    Reads reads;
    int terminal;   // of an output or input
    double height;  // of its band, in the value axis's units
    Colour colour;
};

// The traces from the top of the chart down, each in a band of its own.
// clang-format off
constexpr Trace kTraces[] = {
    //     reads           terminal                    height  colour
    Trace{Reads::Level,  0,                            3,      rgb(0x1060D0)},
    Trace{Reads::Flow,   0,                            2,      rgb(0x8A5A00)},
    Trace{Reads::Output, terminal::kGreenLamp,         1,      rgb(0x00A000)},
    Trace{Reads::Output, terminal::kPumpRelay,         1,      rgb(0x0000C0)},
    Trace{Reads::Output, terminal::kAccident,          1,      rgb(0xD00000)},
    Trace{Reads::Output, terminal::kUvLampRelay,       1,      rgb(0x8000A0)},
    Trace{Reads::Input,  terminal::kManometer,         1,      rgb(0x505050)},
    Trace{Reads::Input,  terminal::kLowerSwitch,       1,      rgb(0x007878)},
    Trace{Reads::Input,  terminal::kUpperSwitch,       1,      rgb(0xB05000)},
};
// clang-format on

// A trace's values fill the middle of its band, so that neighbours never touch.
constexpr double kBandMargin = 0.15;

double totalHeight() {
    double h = 0;
    for (const Trace& t : kTraces) h += t.height;
    return h;
}

// Where the band of the i-th trace begins, counted up from the axis's 0.
double bandBase(std::size_t i) {
    double base = totalHeight();
    for (std::size_t j = 0; j <= i; ++j) base -= kTraces[j].height;
    return base;
}

std::string shortName(const Trace& t) {
    switch (t.reads) {
        case Reads::Level:
            return "уровень";
        case Reads::Flow:
            return "счётчик 1";
        case Reads::Output:
            return "выход " + std::to_string(t.terminal);
        case Reads::Input:
            return "вход " + std::to_string(t.terminal);
    }
    return {};
}

// The legend's name: the terminal as the installation wires it.
std::string legendName(const Trace& t) {
    if (t.reads == Reads::Level) return "уровень в резервуаре, %";
    if (t.reads == Reads::Flow) return "показания счётчика 1";
    const char* wiring = t.reads == Reads::Output ? memory_map::outputWiring(t.terminal)
                                                  : memory_map::inputWiring(t.terminal);
    return wiring ? shortName(t) + " — " + wiring : shortName(t);
}

bool isStep(const Trace& t) {
    return t.reads != Reads::Level;
}

double valueOf(const Trace& t, const TrendSample& s) {
    switch (t.reads) {
        case Reads::Level:
            return s.level;
        case Reads::Flow:
            return s.flowCount;
        case Reads::Output:
            return bitOf(s.outputs, t.terminal) ? 1 : 0;
        case Reads::Input:
            return bitOf(s.inputs, t.terminal) ? 1 : 0;
    }
    return 0;
}

// The flow count's band reaches up to the accident's count, or further when
// the count has gone past it.
double flowScale(const Trend& trend) {
    double top = kAccidentCount;
    for (std::size_t i = 0; i < trend.size(); ++i) top = std::max(top, trend[i].flowCount);
    return top;
}

// A value as a share of its band's range, 0..1.
double share(const Trace& t, double value, double flowTop) {
    switch (t.reads) {
        case Reads::Level:
            return std::clamp(value / 100, 0.0, 1.0);
        case Reads::Flow:
            return std::clamp(value / flowTop, 0.0, 1.0);
        default:
            return value;
    }
}

// Seconds with one decimal and a decimal comma: "123,4".
std::string seconds(double t) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", t);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string valueText(const Trace& t, double value) {
    if (t.reads == Reads::Level) return std::to_string(std::lround(value)) + " %";
    return std::to_string(std::lround(value));
}

// The level moves by the same step tick after tick while the pump and the
// valve stand: a sample is a corner of its line only where the step changes.
constexpr double kSameStep = 1e-9;

// The points of one trace over the kept samples. A step trace gets a point
// only where it changes, two at one time: the value before and after. The
// level gets its corners: the line through them passes through every sample
// (the samples are a tick apart), at a few hundredths of the points.
std::vector<ChartPoint> pointsOf(const Trace& t, const Trend& trend, double base, double flowTop) {
    std::vector<ChartPoint> points;
    const auto y = [&](double value) {
        return base + t.height * (kBandMargin + (1 - 2 * kBandMargin) * share(t, value, flowTop));
    };
    const std::size_t n = trend.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TrendSample& s = trend[i];
        const double value = valueOf(t, s);
        const bool first = i == 0, last = i + 1 == n;
        const double before = first ? value : valueOf(t, trend[i - 1]);
        const double after = last ? value : valueOf(t, trend[i + 1]);
        if (isStep(t)) {
            if (!first && before != value) points.push_back({s.time(), y(before)});
            if (first || last || before != value) points.push_back({s.time(), y(value)});
        } else if (first || last || std::abs((value - before) - (after - value)) > kSameStep) {
            points.push_back({s.time(), y(value)});
        }
    }
    return points;
}

}  // namespace

const FormDesign& TrendFrm::layout() {
    return embeddedDesign("trend_frm.form");
}

TrendFrm::TrendFrm(App& app) : Form(app, layout()) {
    control("Graph").setChart(this);
    onTimer("Refresh", [this] { refresh(); });
}

void TrendFrm::onLoad() {
    cursor_.reset();
    showNews();
}

const Trend* TrendFrm::trend() const {
    const auto* scheme = static_cast<const Objectt*>(app().existing(kObjectt));
    return scheme ? &scheme->trend() : nullptr;
}

void TrendFrm::refresh() {
    const Trend* t = trend();
    if (t && t->revision() != shownTrend_) showNews();
}

void TrendFrm::showNews() {
    shownTrend_ = trend() ? trend()->revision() : 0;
    ++revision_;
    control("Graph").chartMoved();
    showCursorText();
}

std::vector<ChartSeries> TrendFrm::chartSeries() const {
    std::vector<ChartSeries> series;
    const Trend* t = trend();
    const double flowTop = t ? flowScale(*t) : kAccidentCount;
    for (std::size_t i = 0; i < std::size(kTraces); ++i) {
        const Trace& trace = kTraces[i];
        ChartSeries s{legendName(trace), trace.colour, isStep(trace), {}};
        if (t) s.points = pointsOf(trace, *t, bandBase(i), flowTop);
        series.push_back(std::move(s));
    }
    return series;
}

std::vector<ChartMark> TrendFrm::chartMarks() const {
    std::vector<ChartMark> marks;
    if (const Trend* t = trend())
        for (const TrendMark& m : t->marks()) marks.push_back({m.time(), m.text});
    return marks;
}

// The last ten minutes, the newest sample at the right once there are as
// many; before that the chart fills from the left.
ChartAxis TrendFrm::timeAxis() const {
    const Trend* t = trend();
    const double newest = t && !t->empty() ? t->newest().time() : 0;
    const double to = std::max(kSpan, newest);
    // A number each minute.
    return {to - kSpan, to, "время установки, с", true, 60, {}};
}

ChartAxis TrendFrm::valueAxis() const {
    ChartAxis axis{0, totalHeight(), "", false, 0, {}};
    for (std::size_t i = std::size(kTraces); i-- > 0;)
        axis.bands.push_back({bandBase(i) + kTraces[i].height, shortName(kTraces[i])});
    return axis;
}

std::string TrendFrm::textAt(double time) const {
    const Trend* t = trend();
    const TrendSample* s = t ? t->at(time) : nullptr;
    if (!s) return seconds(time) + " с: записи нет";
    std::string text = seconds(s->time()) + " с:";
    for (std::size_t i = 0; i < std::size(kTraces); ++i)
        text += std::string(i ? ", " : " ") + shortName(kTraces[i]) + " = " +
                valueText(kTraces[i], valueOf(kTraces[i], *s));
    for (const TrendMark& m : t->marks())
        if (m.tick == s->tick) text += "; " + m.text;
    return text;
}

void TrendFrm::pointAt(std::optional<double> time) {
    if (cursor_ == time) return;
    cursor_ = time;
    showCursorText();
}

void TrendFrm::showCursorText() {
    const Trend* t = trend();
    std::string text;
    if (cursor_)
        text = textAt(*cursor_);
    else if (!t || t->empty())
        text =
            "Тренды пишутся, пока установка работает по программе (режим «Работа по "
            "программе»).";
    else
        text = "Наведите указатель на график: здесь появятся значения всех трендов в этот момент.";
    control("Cursor_Lab").setCaption(text);
}

}  // namespace vk41
