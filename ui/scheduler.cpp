#include "ui/scheduler.h"

#include <algorithm>
#include <tuple>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/form.h"

namespace vk41 {

Scheduler::Entry* Scheduler::find(const Control& timer) {
    for (Entry& e : entries_)
        if (e.timer == &timer) return &e;
    return nullptr;
}

bool Scheduler::running(const Control& timer) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.timer == &timer; });
}

void Scheduler::sync(Control& timer) {
    const bool runs = timer.enabled() && timer.interval() > 0 && timer.form().loaded();
    if (!runs) {
        stop(timer);
        return;
    }
    Form& form = timer.form();
    Entry entry{&timer, now_ + timer.interval(), form.app().rankOf(form.name()), timer.position()};
    if (Entry* e = find(timer))
        *e = entry;
    else
        entries_.push_back(entry);
    changed();
}

void Scheduler::stop(Control& timer) {
    const auto removed = std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
    if (removed) changed();
}

std::optional<std::int64_t> Scheduler::nextDue() const {
    std::optional<std::int64_t> due;
    for (const Entry& e : entries_)
        if (!due || e.due < *due) due = e.due;
    return due;
}

bool Scheduler::Entry::firesBefore(const Entry& other) const {
    return std::tie(due, formRank, position) < std::tie(other.due, other.formRank, other.position);
}

Scheduler::Entry* Scheduler::nextEntry(std::int64_t until) {
    Entry* best = nullptr;
    for (Entry& e : entries_) {
        if (e.due > until) continue;
        if (!best || e.firesBefore(*best)) best = &e;
    }
    return best;
}

void Scheduler::advanceTo(std::int64_t time, bool skipMissed) {
    // Handlers may start and stop timers, so the next entry is looked up
    // afresh after every tick.
    while (Entry* e = nextEntry(time)) {
        now_ = std::max(now_, e->due);
        Control& timer = *e->timer;
        const std::int64_t period = std::max(1, timer.interval());
        e->due += period;
        if (skipMissed && e->due <= time) e->due = time + period;
        timer.form().fireTimer(timer);
    }
    now_ = std::max(now_, time);
    changed();
}

}  // namespace vk41
