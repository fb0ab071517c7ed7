#include "ui/scheduler.h"

#include <gtest/gtest.h>

#include "test_window.h"

namespace vk41 {
namespace {

using testing::TestApp;

TEST(Scheduler, FiresDueTimersInTimeOrderAtTheirOwnInstants) {
    TestApp t;
    t.app.open("Test");
    t.test().control("Slow").setEnabled(true);
    t.scheduler.advanceBy(500);
    EXPECT_EQ(t.test().log,
              (std::vector<std::string>{"fast@100", "fast@200", "slow@250", "fast@300", "fast@400",
                                        "fast@500", "slow@500"}));
    EXPECT_EQ(t.scheduler.now(), 500);
}

TEST(Scheduler, SameInstantFiresInDesignOrderWhateverTheEnablingOrder) {
    TestApp t;
    t.app.open("Test");
    Control& fast = t.test().control("Fast");
    // At 50 Slow is enabled and then Fast restarted; both fall due at 550,
    // and Fast, first in the design, fires first.
    t.scheduler.advanceBy(50);
    t.test().control("Slow").setEnabled(true);
    fast.setEnabled(false);
    fast.setEnabled(true);
    t.test().log.clear();
    t.scheduler.advanceBy(500);
    EXPECT_EQ(t.test().log,
              (std::vector<std::string>{"fast@150", "fast@250", "slow@300", "fast@350", "fast@450",
                                        "fast@550", "slow@550"}));
}

TEST(Scheduler, SameInstantFiresWindowsInTheirRegistrationOrder) {
    TestApp t;
    // Other is created first, yet Test, registered first, ticks first.
    t.app.hide("Other");
    t.app.hide("Test");
    std::vector<std::string> order;
    auto& test = static_cast<testing::TestWindow&>(*t.app.existing("Test"));
    auto& other = static_cast<testing::TestWindow&>(*t.app.existing("Other"));
    test.onTimer("Fast", [&] { order.push_back("Test"); });
    other.onTimer("Fast", [&] { order.push_back("Other"); });
    t.scheduler.advanceBy(100);
    EXPECT_EQ(order, (std::vector<std::string>{"Test", "Other"}));
}

TEST(Scheduler, TimersStartedAndStoppedInsideAHandlerTakeEffectAtOnce) {
    TestApp t;
    t.app.open("Test");
    testing::TestWindow& w = t.test();
    Control& slow = w.control("Slow");
    Control& fast = w.control("Fast");
    int ticks = 0;
    // The first fast tick starts the slow timer and stops itself.
    w.onTimer("Fast", [&] {
        ++ticks;
        slow.setEnabled(true);
        fast.setEnabled(false);
    });
    t.scheduler.advanceBy(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(w.log, (std::vector<std::string>{"slow@350", "slow@600", "slow@850"}));
}

TEST(Scheduler, ChangingThePeriodRestartsTheCountdown) {
    TestApp t;
    t.app.open("Test");
    t.scheduler.advanceBy(50);
    t.test().control("Fast").setInterval(300);
    t.scheduler.advanceBy(400);
    EXPECT_EQ(t.test().log, (std::vector<std::string>{"fast@350"}));
    t.test().control("Fast").setInterval(0);  // a zero period stops it
    t.scheduler.advanceBy(1000);
    EXPECT_EQ(t.test().log.size(), 1u);
}

TEST(Scheduler, RealTimeSkipsTicksItMissedInsteadOfBursting) {
    TestApp t;
    t.app.open("Test");
    t.scheduler.catchUpTo(1050);  // ten periods late
    EXPECT_EQ(t.test().log, (std::vector<std::string>{"fast@100"}));
    EXPECT_EQ(t.scheduler.nextDue(), 1150);
}

TEST(Scheduler, AHiddenLoadedWindowKeepsTicking) {
    TestApp t;
    t.app.hide("Test");
    t.scheduler.advanceBy(300);
    EXPECT_EQ(t.test().log.size(), 3u);
}

}  // namespace
}  // namespace vk41
