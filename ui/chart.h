#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/colour.h"

namespace vk41 {

// What a chart control shows, in the chart's own units: x along the time
// axis, y up the value axis. The window that owns the chart provides it; the
// view only draws it.
struct ChartPoint {
    double x{0}, y{0};
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

struct ChartSeries {
    std::string name;  // the legend's text
    Colour colour;
    // A step trace holds its value until the next point: each change is a
    // vertical jump, two points at one x.
    bool step{false};
    std::vector<ChartPoint> points;
};

// A moment marked on the time axis: a vertical mark with a short text.
struct ChartMark {
    double x{0};
    std::string text;
};

// A named stretch of an axis: the band a trace is drawn in.
struct ChartBand {
    double to{0};  // where it ends; it begins where the one before ends
    std::string name;
};

struct ChartAxis {
    double from{0}, to{1};
    std::string title;
    bool labelled{true};  // its numbers are shown
    double step{0};       // between its numbers, multiples of it; 0 leaves it to the view
    // Named bands from `from` up, shown instead of numbers.
    std::vector<ChartBand> bands;
};

class ChartSource {
  public:
    virtual ~ChartSource() = default;

    // Grows whenever anything below changes, so a view redraws only then.
    virtual std::uint64_t chartRevision() const = 0;
    virtual std::vector<ChartSeries> chartSeries() const = 0;
    virtual std::vector<ChartMark> chartMarks() const = 0;
    virtual ChartAxis timeAxis() const = 0;
    virtual ChartAxis valueAxis() const = 0;

    // The cursor: the mouse rests over the chart at time x, or has left it
    // (no value). The source says in its own words what every trace reads
    // there, where its window shows it.
    virtual void pointAt(std::optional<double> x) = 0;
    virtual std::optional<double> cursor() const = 0;
};

}  // namespace vk41
