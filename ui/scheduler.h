#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vk41 {

class Control;

// Owns all timers. Due timers fire in time order. Timers due at the same
// instant fire in one fixed order that does not depend on when they were
// enabled: windows in the order the application registered them, and within
// a window its design order. So the scheme's process tick `Часы1` always runs
// before its demonstration tick `Часы2`, whose accident code is then the last
// word of the instant, and the windows that read the plant tick after it.
// Time is in ms and only moves when a driver advances it: virtually (tests,
// the script driver) or following the real clock (the Qt layer).
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
        int formRank;  // the window's place in the application's registry
        int position;  // the timer's place in its window's design
        bool firesBefore(const Entry& other) const;
    };
    void advanceTo(std::int64_t time, bool skipMissed);
    Entry* find(const Control& timer);
    Entry* nextEntry(std::int64_t until);
    void changed() const {
        if (onChange_) onChange_();
    }

    std::vector<Entry> entries_;
    std::int64_t now_{0};
    std::function<void()> onChange_;
};

}  // namespace vk41
