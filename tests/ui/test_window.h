#pragma once

#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/form.h"

namespace vk41::testing {

// A small window with one control of every kind, handlers that log what
// fired, and variables that must survive unloads.
class TestWindow : public Form {
  public:
    explicit TestWindow(App& app, const char* name = "Test");
    static const FormDesign& layout(const char* name = "Test");

    using Form::onTimer;  // tests replace a timer's handler

    std::vector<std::string> log;
    int loads{0};
    int kept{0};  // a window variable the load handler never assigns

  protected:
    void onLoad() override;
};

// An application with two test windows, "Test" and "Other".
struct TestApp {
    Scheduler scheduler;
    App app{scheduler};
    TestApp();
    TestWindow& test() { return app.form<TestWindow>("Test"); }
};

}  // namespace vk41::testing
