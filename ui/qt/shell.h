#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "ui/app.h"
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
    FormWindow& windowFor(Form& form);

    App& app_;
    Scheduler& scheduler_;
    QElapsedTimer clock_;
    QTimer timer_;
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    bool started_{false};
};

}  // namespace vk41::qt
