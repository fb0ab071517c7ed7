#include "plant/trend.h"

namespace vk41 {

double TrendSample::time() const {
    return static_cast<double>(tick) * Trend::kTickSeconds;
}

double TrendMark::time() const {
    return static_cast<double>(tick) * Trend::kTickSeconds;
}

const TrendSample& Trend::operator[](std::size_t i) const {
    return ring_[(first_ + i) % kCapacity];
}

void Trend::record(const Reading& reading, const Controller& controller) {
    const std::int64_t tick = empty() ? 1 : newest().tick + 1;
    const ControllerState& state = controller.state();
    const TrendSample sample{tick, reading.level, state.inputs, state.outputs, reading.flowCount};
    if (count_ < kCapacity) {
        ring_[(first_ + count_++) % kCapacity] = sample;
    } else {
        ring_[first_] = sample;
        first_ = (first_ + 1) % kCapacity;
    }
    while (!marks_.empty() && marks_.front().tick < oldest().tick) marks_.pop_front();

    if (lifetime_ != 0 && reading.lifetime != lifetime_) mark(tick, "перезапуск");
    lifetime_ = reading.lifetime;
    const std::string& stop = controller.stopReason();
    if (!stop.empty() && stop != stop_) mark(tick, "останов");
    stop_ = stop;
    markForcing(tick, "вход", forcedInputs_, controller.forcedInputs());
    markForcing(tick, "выход", forcedOutputs_, controller.forcedOutputs());
    forcedInputs_ = controller.forcedInputs();
    forcedOutputs_ = controller.forcedOutputs();
    ++revision_;
}

void Trend::mark(std::int64_t tick, std::string text) {
    marks_.push_back({tick, std::move(text)});
}

// "F вход 6 = 0" where a terminal is forced or forced anew, "F вход 6 снята"
// where its forcing ended.
void Trend::markForcing(std::int64_t tick, const char* what, const Forcing& was,
                        const Forcing& now) {
    for (int k = 1; k <= 32; ++k) {
        const bool forced = bitOf(now.mask, k);
        const bool wasForced = bitOf(was.mask, k);
        const std::string item = std::string("F ") + what + " " + std::to_string(k);
        if (forced && (!wasForced || bitOf(was.values, k) != bitOf(now.values, k)))
            mark(tick, item + " = " + (bitOf(now.values, k) ? "1" : "0"));
        else if (!forced && wasForced)
            mark(tick, item + " снята");
    }
}

const TrendSample* Trend::at(double time) const {
    if (empty() || time < oldest().time()) return nullptr;
    // The samples are in time order: the last one not after `time`.
    std::size_t lo = 0, hi = count_;
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if ((*this)[mid].time() <= time)
            lo = mid;
        else
            hi = mid;
    }
    return &(*this)[lo];
}

}  // namespace vk41
