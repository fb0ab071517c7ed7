// The window "Тренды": its traces drawn from the scheme's trend, changes as
// vertical jumps, marks at the stops and forcings, the last ten minutes on
// the time axis, the cursor's text naming every trace, and a redraw no more
// often than its timer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "conditions/trend_frm.h"
#include "plant/trend.h"
#include "tests/conditions/running_program.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

using testing::RunningProgram;

class TrendWindow : public RunningProgram {
  protected:
    TrendWindow() { driver.app().open(kTrendFrm); }
    TrendFrm& window() { return driver.app().form<TrendFrm>(kTrendFrm); }
    const Trend& trend() { return scheme().trend(); }
    void run(const std::string& line) { driver.execute(line); }
    ChartSeries series(const std::string& name) {
        for (ChartSeries& s : window().chartSeries())
            if (s.name == name) return s;
        ADD_FAILURE() << "no trace " << name;
        return {};
    }
};

constexpr const char* kPump = "выход 4 — реле насоса";

TEST_F(TrendWindow, NamesItsTracesByTheInstallationsWiring) {
    std::vector<std::string> names;
    for (const ChartSeries& s : window().chartSeries()) names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "уровень в резервуаре, %",
                         "показания счётчика 1",
                         "выход 3 — зелёная лампа «ШТАТНЫЙ РЕЖИМ»",
                         "выход 4 — реле насоса",
                         "выход 5 — АВАРИЯ, красная лампа",
                         "выход 6 — реле УФ-лампы",
                         "вход 4 — контакт реле дифманометра (засорение фильтра)",
                         "вход 5 — нижний концевой выключатель",
                         "вход 6 — верхний концевой выключатель",
                     }));
}

// The pump's trace over two minutes: the tank fills and drains, so the pump
// starts and stops; every change stands at one time, never a ramp.
TEST_F(TrendWindow, DrawsAnOutputsChangeAsAVerticalJump) {
    run("run 120000");
    const ChartSeries pump = series(kPump);
    EXPECT_TRUE(pump.step);
    int jumps = 0;
    for (std::size_t i = 1; i < pump.points.size(); ++i) {
        const ChartPoint& a = pump.points[i - 1];
        const ChartPoint& b = pump.points[i];
        ASSERT_TRUE(a.x == b.x || a.y == b.y) << "a ramp from " << a.x << " to " << b.x;
        if (a.x != b.x) continue;
        ++jumps;
        // The samples on either side of the jump hold the two values.
        const TrendSample* after = trend().at(b.x);
        const TrendSample* before = trend().at(b.x - Trend::kTickSeconds);
        ASSERT_NE(after, nullptr);
        ASSERT_NE(before, nullptr);
        EXPECT_NE(bitOf(after->outputs, 4), bitOf(before->outputs, 4)) << "at " << b.x;
        EXPECT_EQ(b.y > a.y, bitOf(after->outputs, 4)) << "at " << b.x;
    }
    EXPECT_GE(jumps, 2);
    // The trace runs from the oldest sample to the newest.
    EXPECT_DOUBLE_EQ(pump.points.front().x, trend().oldest().time());
    EXPECT_DOUBLE_EQ(pump.points.back().x, trend().newest().time());
}

// The level's line keeps only its corners, yet passes through every sample.
TEST_F(TrendWindow, DrawsTheLevelThroughEverySample) {
    run("run 120000");
    const std::vector<ChartPoint> line = series("уровень в резервуаре, %").points;
    ASSERT_GE(line.size(), 2u);
    EXPECT_LT(line.size(), trend().size() / 10);
    // Where a level shows on the chart: an affine map, from two samples.
    const TrendSample& low = trend().oldest();
    const TrendSample* high = &low;
    for (std::size_t i = 0; i < trend().size(); ++i)
        if (std::abs(trend()[i].level - low.level) > std::abs(high->level - low.level))
            high = &trend()[i];
    const auto yAt = [&](double x) {
        std::size_t k = 1;
        while (k + 1 < line.size() && line[k].x < x) ++k;
        const ChartPoint& a = line[k - 1];
        const ChartPoint& b = line[k];
        return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
    };
    const double scale = (yAt(high->time()) - yAt(low.time())) / (high->level - low.level);
    ASSERT_GT(scale, 0);
    for (std::size_t i = 0; i < trend().size(); ++i) {
        const TrendSample& s = trend()[i];
        ASSERT_NEAR(yAt(s.time()), yAt(low.time()) + scale * (s.level - low.level), 1e-6)
            << "at " << s.time() << " s, level " << s.level;
    }
}

TEST_F(TrendWindow, ShowsTheLastTenMinutesOfThePlantsTime) {
    run("run 60000");
    EXPECT_DOUBLE_EQ(window().timeAxis().from, 0);
    EXPECT_DOUBLE_EQ(window().timeAxis().to, 600);
    run("run 660000");
    EXPECT_DOUBLE_EQ(window().timeAxis().to, trend().newest().time());
    EXPECT_DOUBLE_EQ(window().timeAxis().to - window().timeAxis().from, 600);
}

TEST_F(TrendWindow, MarksAStopAndAForcingOnTheTimeAxis) {
    run("run 3000");
    run("force input 6 0");
    run("run 100");
    const double forcedAt = trend().newest().time();
    run("break output 4");
    run("run 300000");
    ASSERT_TRUE(scheme().controller().paused());
    const double stoppedAt = trend().newest().time();
    run("run 1000");
    std::vector<std::pair<double, std::string>> marks;
    for (const ChartMark& m : window().chartMarks()) marks.emplace_back(m.x, m.text);
    EXPECT_EQ(marks, (std::vector<std::pair<double, std::string>>{{forcedAt, "F вход 6 = 0"},
                                                                  {stoppedAt, "останов"}}));
}

TEST_F(TrendWindow, ItsCursorNamesEveryTracesValueAtThatTime) {
    run("run 45000");
    const TrendSample& s = *trend().at(30.0);
    const std::string expected = "30,0 с: уровень = " + std::to_string(std::lround(s.level)) +
                                 " %, счётчик 1 = " + std::to_string(std::lround(s.flowCount)) +
                                 ", выход 3 = " + std::to_string(bitOf(s.outputs, 3)) +
                                 ", выход 4 = " + std::to_string(bitOf(s.outputs, 4)) +
                                 ", выход 5 = " + std::to_string(bitOf(s.outputs, 5)) +
                                 ", выход 6 = " + std::to_string(bitOf(s.outputs, 6)) +
                                 ", вход 4 = " + std::to_string(bitOf(s.inputs, 4)) +
                                 ", вход 5 = " + std::to_string(bitOf(s.inputs, 5)) +
                                 ", вход 6 = " + std::to_string(bitOf(s.inputs, 6));
    EXPECT_EQ(window().textAt(30.04), expected);
    window().pointAt(30.04);
    EXPECT_EQ(window().control("Cursor_Lab").caption(), expected);
    window().pointAt(std::nullopt);
    EXPECT_NE(window().control("Cursor_Lab").caption(), expected);
}

TEST_F(TrendWindow, ItsCursorNamesAMarkAtThatTime) {
    run("run 3000");
    run("force output 6 0");
    run("run 100");
    const std::string text = window().textAt(trend().newest().time());
    EXPECT_NE(text.find(", выход 6 = 0,"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("вход 6 = 0; F выход 6 = 0")) << text;
    EXPECT_EQ(window().textAt(-5), "-5,0 с: записи нет");
}

TEST_F(TrendWindow, MovesItsChartAtTheTimersPaceAndStandsWhenPaused) {
    run("run 1000");
    const std::uint64_t shown = window().chartRevision();
    const std::uint64_t sampled = trend().revision();
    run("run 900");  // nine ticks, no refresh yet
    EXPECT_EQ(trend().revision(), sampled + 9);
    EXPECT_EQ(window().chartRevision(), shown);
    run("run 100");
    EXPECT_EQ(window().chartRevision(), shown + 1);
    run("pause");
    run("run 500");
    const std::uint64_t paused = window().chartRevision();
    run("run 60000");
    EXPECT_EQ(window().chartRevision(), paused);
}

}  // namespace
}  // namespace vk41
