#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace vk41 {

class Scheduler;

// Runs the windows' timers without a display, in real time or `speed` times
// as fast: one single-shot timer for the next due instant, no polling. Every
// tick is fired, each at its own instant, so the plant runs exactly as it does
// in virtual time; after a long stall it catches up by at most a second.
class HeadlessClock : public QObject {
  public:
    HeadlessClock(Scheduler& scheduler, double speed, std::function<void()> afterTicks);
    ~HeadlessClock() override;

  private:
    std::int64_t virtualNow() const;
    void arm();
    void fire();

    Scheduler* scheduler_;
    double speed_;
    std::function<void()> afterTicks_;
    std::int64_t start_;
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace vk41
