#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "conditions/controller.h"

namespace vk41 {

// One process tick of "Работа по программе" as the trends keep it.
struct TrendSample {
    std::int64_t tick{0};                 // the sampled ticks up to this one, counted from 1
    double level{0};                      // the tank's filling, per cent: 0 dry, 100 at the rim
    std::uint32_t inputs{0}, outputs{0};  // the controller's image, bit k - 1 = terminal k
    double flowCount{0};                  // the flow meter's count (Itog)
    double time() const;
};

// A moment marked on the time axis: a breakpoint's stop, a forcing set or
// ended, a restart of the scheme.
struct TrendMark {
    std::int64_t tick{0};
    std::string text;
    double time() const;
};

// The plant's recent history, one sample per process tick in which the
// controller ran its program. The plant's time is the time of the ticks
// sampled, 0.1 s each (Часы1's interval): it stands while the controller is
// paused or the plant runs in a demonstration, and goes on after a restart,
// which is marked, so the runs before and after read side by side.
//
// Stops and forcings are found by comparing with what the last sample saw,
// so the controller needs to know nothing of the trends.
class Trend {
  public:
    static constexpr double kTickSeconds = 0.1;
    // Exactly the last 10 minutes of ticks.
    static constexpr std::size_t kCapacity = 6000;

    // What the scheme reads at the end of a tick, beside the controller.
    struct Reading {
        double level{0};
        double flowCount{0};
        int lifetime{0};  // the scheme's loads: a new one is a restart
    };
    void record(const Reading& reading, const Controller& controller);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // The i-th kept sample, 0 the oldest.
    const TrendSample& operator[](std::size_t i) const;
    const TrendSample& oldest() const { return (*this)[0]; }
    const TrendSample& newest() const { return (*this)[count_ - 1]; }
    // The sample in force at `time`: the last one taken at or before it;
    // null before the oldest or when there is none.
    const TrendSample* at(double time) const;

    // The marks of the kept time, oldest first.
    const std::deque<TrendMark>& marks() const { return marks_; }

    // One more with every sample.
    std::uint64_t revision() const { return revision_; }

  private:
    void mark(std::int64_t tick, std::string text);
    void markForcing(std::int64_t tick, const char* what, const Forcing& was, const Forcing& now);

    std::vector<TrendSample> ring_ = std::vector<TrendSample>(kCapacity);
    std::size_t first_{0};  // the oldest sample's place in the ring
    std::size_t count_{0};
    std::deque<TrendMark> marks_;
    // What the last sample saw.
    std::string stop_;
    Forcing forcedInputs_, forcedOutputs_;
    int lifetime_{0};
    std::uint64_t revision_{0};
};

}  // namespace vk41
