#include "ui/qt/shell.h"

#include <QApplication>

#include "ui/qt/form_window.h"

namespace vk41::qt {

Shell::Shell(App& app)
    : app_(app), scheduler_(app.scheduler()), dialogs_([this] { pause(); }, [this] { resume(); }) {
    app_.setDialogs(&dialogs_);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Shell::onTimer);
    scheduler_.setOnChange([this] { armTimer(); });
    clock_.start();
}

Shell::~Shell() {
    app_.setDialogs(nullptr);
    scheduler_.setOnChange({});
    windows_.clear();
}

void Shell::start() {
    app_.start();
    started_ = true;
    afterEvent();
}

// The program's time: the real time since the start, less the time spent
// in dialogs.
qint64 Shell::now() const {
    return clock_.elapsed() - paused_ - (modal_ > 0 ? pausedSince_.elapsed() : 0);
}

void Shell::pause() {
    if (modal_++ == 0) pausedSince_.start();
    timer_.stop();
}

void Shell::resume() {
    if (--modal_ > 0) return;
    paused_ += pausedSince_.elapsed();
    armTimer();
}

// One single-shot timer for the next due instant: no polling.
void Shell::armTimer() {
    const auto due = scheduler_.nextDue();
    if (!due || modal_ > 0) {
        timer_.stop();
        return;
    }
    const qint64 delay = std::max<qint64>(0, *due - now());
    timer_.start(static_cast<int>(std::min<qint64>(delay, 1 << 30)));
}

void Shell::onTimer() {
    if (modal_ > 0) return;
    scheduler_.catchUpTo(now());
    afterEvent();
}

FormWindow& Shell::windowFor(Form& form) {
    auto& window = windows_[&form];
    if (!window) {
        window = std::make_unique<FormWindow>(form, [this] { afterEvent(); });
        window->fitToScreen();
    }
    return *window;
}

void Shell::afterEvent() {
    // Timers the event started count their period from the real now.
    if (modal_ == 0) scheduler_.catchUpTo(now());
    for (const std::string& name : app_.formNames()) {
        Form* form = app_.existing(name);
        if (!form) continue;
        FormWindow& window = windowFor(*form);
        window.sync();
        if (form->visible() != window.isVisible()) window.setVisible(form->visible());
    }
    if (Form* front = app_.takeActivation()) {
        FormWindow& window = windowFor(*front);
        window.raise();
        window.activateWindow();
    }
    if (started_ && !app_.anyVisible()) QApplication::quit();
}

}  // namespace vk41::qt
