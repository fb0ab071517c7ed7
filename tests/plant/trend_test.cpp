// The plant's trends: a sample each process tick of "Работа по программе",
// the last ten minutes of them, standing while the controller is paused, and
// the moments a breakpoint stopped it, a forcing began or ended, or the
// scheme restarted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plant/trend.h"
#include "tests/conditions/running_program.h"

namespace vk41 {
namespace {

using testing::RunningProgram;

constexpr long long kMinute = 60000;  // ms

class Trends : public RunningProgram {
  protected:
    const Trend& trend() { return scheme().trend(); }
    void run(const std::string& line) { driver.execute(line); }
    // The marks' texts at the newest sample.
    std::vector<std::string> newestMarks() {
        std::vector<std::string> texts;
        for (const TrendMark& m : trend().marks())
            if (m.tick == trend().newest().tick) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(Trends, KeepExactlyTheLastTenMinutes) {
    run("run " + std::to_string(11 * kMinute));
    ASSERT_EQ(trend().size(), Trend::kCapacity);
    EXPECT_EQ(Trend::kCapacity, 6000u);
    // Every tick of the eleven minutes was sampled: the plant's time is the
    // time the plant ran.
    EXPECT_EQ(trend().newest().tick, 6600);
    EXPECT_DOUBLE_EQ(trend().newest().time(), 660.0);
    // A sample stands for the tick that ends at its time: the oldest tick
    // began exactly ten minutes before the newest ended.
    EXPECT_DOUBLE_EQ(trend().newest().time() - (trend().oldest().time() - Trend::kTickSeconds),
                     600.0);
    for (std::size_t i = 1; i < trend().size(); ++i)
        ASSERT_EQ(trend()[i].tick, trend()[i - 1].tick + 1) << "sample " << i;
}

TEST_F(Trends, HoldWhatTheControllerAndTheSchemeShow) {
    run("run 30000");
    const TrendSample& s = trend().newest();
    EXPECT_EQ(s.outputs, cycle().outputs);
    EXPECT_EQ(s.inputs, cycle().inputs);
    EXPECT_EQ(s.flowCount, std::stod(scheme().control("Itog").caption()));
    EXPECT_GE(s.level, 0);
    EXPECT_LE(s.level, 100);
}

TEST_F(Trends, StandWhileTheControllerIsPaused) {
    run("run 20000");
    run("pause");
    const std::size_t size = trend().size();
    const std::uint64_t revision = trend().revision();
    run("run 3600000");  // an hour
    EXPECT_EQ(trend().size(), size);
    EXPECT_EQ(trend().revision(), revision);
    run("continue");
    run("run 1000");
    EXPECT_EQ(trend().size(), size + 10);
}

TEST_F(Trends, AreNotWrittenByTheDemonstration) {
    std::ostringstream quiet;
    ScriptDriver demo{quiet};
    demo.execute("menu Texttt Имитация");
    demo.execute("click Objectt.Radix(0)");
    demo.execute("click Objectt.Vis(0)");
    demo.execute("run 60000");
    EXPECT_TRUE(demo.app().form<Objectt>("Objectt").trend().empty());
}

TEST_F(Trends, FindTheSampleInForceAtATime) {
    run("run 10000");
    EXPECT_EQ(trend().at(0.05), nullptr);
    ASSERT_NE(trend().at(5.0), nullptr);
    EXPECT_EQ(trend().at(5.0)->tick, 50);
    EXPECT_EQ(trend().at(5.04)->tick, 50);
    EXPECT_EQ(trend().at(1e6)->tick, trend().newest().tick);
}

TEST_F(Trends, MarkABreakpointsStop) {
    run("run 5000");
    run("break output 4");
    run("run " + std::to_string(5 * kMinute));
    ASSERT_TRUE(scheme().controller().paused());
    EXPECT_EQ(newestMarks(), std::vector<std::string>{"останов"});
    // Standing at the stop adds neither a sample nor a mark.
    const std::size_t marks = trend().marks().size();
    run("run 60000");
    EXPECT_EQ(trend().marks().size(), marks);
}

TEST_F(Trends, MarkAForcingAndItsEnd) {
    run("run 3000");
    run("force input 6 0");
    run("force output 4 1");
    run("run 100");
    EXPECT_EQ(newestMarks(), (std::vector<std::string>{"F вход 6 = 0", "F выход 4 = 1"}));
    run("force input 6 1");
    run("run 100");
    EXPECT_EQ(newestMarks(), std::vector<std::string>{"F вход 6 = 1"});
    run("run 1000");
    EXPECT_TRUE(newestMarks().empty());
    run("unforce");
    run("run 100");
    EXPECT_EQ(newestMarks(), (std::vector<std::string>{"F вход 6 снята", "F выход 4 снята"}));
}

TEST_F(Trends, GoOnAfterARestartWithItMarked) {
    run("run 3000");
    const std::int64_t before = trend().newest().tick;
    run("click Objectt.Vis(2)");  // Restart
    run("click Objectt.Radix(3)");
    run("click Objectt.Vis(0)");
    run("run 1000");
    ASSERT_FALSE(trend().empty());
    EXPECT_EQ(trend().oldest().tick, 1);
    EXPECT_GT(trend().newest().tick, before);
    bool marked = false;
    for (const TrendMark& m : trend().marks()) marked |= m.text == "перезапуск";
    EXPECT_TRUE(marked);
}

TEST_F(Trends, DropTheMarksOfTimeNoLongerKept) {
    run("run 3000");
    run("force input 6 0");
    run("run 100");
    run("unforce");
    run("run 100");
    ASSERT_EQ(trend().marks().size(), 2u);
    run("run " + std::to_string(11 * kMinute));
    EXPECT_TRUE(trend().marks().empty());
}

}  // namespace
}  // namespace vk41
