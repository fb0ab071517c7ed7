#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/chart.h"
#include "ui/form.h"

namespace vk41 {

class Trend;

// "Тренды": the scheme's trends of "Работа по программе" on one chart, the
// tank's level, the flow count, outputs 3-6 and inputs 4-6, each in a band
// of its own, over the last ten minutes of the plant's time; it scrolls
// while the plant runs and stands while it is paused. The mouse over the
// chart reads every trace at that moment in Cursor_Lab.
//
// It sits with the conditions block's windows because its legends are the
// installation's wiring, as the memory map names it.
class TrendFrm : public Form, public ChartSource {
  public:
    explicit TrendFrm(App& app);

    static const FormDesign& layout();
    // The time the chart spans, seconds.
    static constexpr double kSpan = 600;

    // What every trace reads at `time`, in words.
    std::string textAt(double time) const;

    std::uint64_t chartRevision() const override { return revision_; }
    std::vector<ChartSeries> chartSeries() const override;
    std::vector<ChartMark> chartMarks() const override;
    ChartAxis timeAxis() const override;
    ChartAxis valueAxis() const override;
    void pointAt(std::optional<double> time) override;
    std::optional<double> cursor() const override { return cursor_; }

  protected:
    void onLoad() override;

  private:
    // The scheme's trend; null while the scheme does not exist.
    const Trend* trend() const;
    // Takes the trend's news, at the timer's pace.
    void refresh();
    void showNews();
    void showCursorText();

    std::uint64_t revision_{0};
    std::uint64_t shownTrend_{0};  // the trend's revision the chart shows
    std::optional<double> cursor_;
};

}  // namespace vk41
