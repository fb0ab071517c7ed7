#include "app/headless_clock.h"

#include <algorithm>
#include <cmath>

#include "ui/scheduler.h"

namespace vk41 {
namespace {

constexpr std::int64_t kMaxCatchUpMs = 1000;

}  // namespace

HeadlessClock::HeadlessClock(Scheduler& scheduler, double speed, std::function<void()> afterTicks)
    : scheduler_(&scheduler),
      speed_(speed),
      afterTicks_(std::move(afterTicks)),
      start_(scheduler.now()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &HeadlessClock::fire);
    scheduler_->setOnChange([this] { arm(); });
    clock_.start();
    arm();
}

HeadlessClock::~HeadlessClock() {
    scheduler_->setOnChange({});
}

std::int64_t HeadlessClock::virtualNow() const {
    return start_ +
           static_cast<std::int64_t>(std::floor(static_cast<double>(clock_.elapsed()) * speed_));
}

void HeadlessClock::arm() {
    const auto due = scheduler_->nextDue();
    if (!due) {
        timer_.stop();
        return;
    }
    const double wait = std::max<double>(0, static_cast<double>(*due - virtualNow()) / speed_);
    timer_.start(static_cast<int>(std::min(std::ceil(wait), 1e9)));
}

void HeadlessClock::fire() {
    const std::int64_t target = virtualNow();
    const std::int64_t step = std::min(target - scheduler_->now(), kMaxCatchUpMs);
    if (step > 0) scheduler_->advanceBy(step);
    if (target - scheduler_->now() > 0)
        start_ -= target - scheduler_->now();  // the stall is let go
    if (afterTicks_) afterTicks_();
    arm();
}

}  // namespace vk41
