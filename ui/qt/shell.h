#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "ui/app.h"
#include "ui/qt/system_dialogs.h"
#include "ui/scheduler.h"

namespace vk41::qt {

class FormWindow;

// Runs the program for a person: the windows in real time, one Qt window per
// form, synced after every event, and the program's end when no window is
// left visible (also when a hidden one is still loaded). The application
// comes with its windows registered; the shell drives its scheduler.
class Shell : public QObject {
  public:
    explicit Shell(App& app);
    ~Shell() override;

    App& app() { return app_; }
    void start();

  private:
    void afterEvent();
    void armTimer();
    void onTimer();
    qint64 now() const;
    void pause();
    void resume();
    FormWindow& windowFor(Form& form);

    App& app_;
    Scheduler& scheduler_;
    QElapsedTimer clock_;
    QElapsedTimer pausedSince_;
    qint64 paused_{0};  // time spent in dialogs, which the program does not see
    int modal_{0};      // dialogs open
    SystemDialogs dialogs_;
    QTimer timer_;
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    bool started_{false};
};

}  // namespace vk41::qt
