#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vk41 {

class Control;

// Owns all timers. Due timers fire in time order; timers due at the same
// instant fire in the order they were (last) enabled. Time is in ms and only
// moves when a driver advances it: virtually (tests, the script driver) or
// following the real clock (the Qt layer).
class Scheduler {
  public:
    std::int64_t now() const { return now_; }

    // Starts or stops a timer control after its Enabled or Interval changed:
    // it runs while enabled, with a positive period, on a loaded window. A
    // (re)started timer counts its period from now.
    void sync(Control& timer);
    void stop(Control& timer);
    bool running(const Control& timer) const;
    std::optional<std::int64_t> nextDue() const;

    // Virtual time: fires every tick that falls due up to `now() + ms`, each
    // at its own instant, then leaves the clock at the end.
    void advanceBy(std::int64_t ms) { advanceTo(now_ + ms, false); }

    // Real time: fires what is due at `time`. A timer that fell more than one
    // period behind fires once and skips the ticks it missed, like a desktop
    // timer does, instead of catching up in a burst.
    void catchUpTo(std::int64_t time) { advanceTo(time, true); }

    // Told whenever the set of running timers or their due times change.
    void setOnChange(std::function<void()> listener) { onChange_ = std::move(listener); }

  private:
    struct Entry {
        Control* timer;
        std::int64_t due;
        std::uint64_t order;
    };
    void advanceTo(std::int64_t time, bool skipMissed);
    Entry* find(const Control& timer);
    Entry* nextEntry(std::int64_t until);
    void changed() const {
        if (onChange_) onChange_();
    }

    std::vector<Entry> entries_;
    std::int64_t now_{0};
    std::uint64_t order_{0};
    std::function<void()> onChange_;
};

}  // namespace vk41
