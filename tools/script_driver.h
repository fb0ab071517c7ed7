#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "ui/app.h"
#include "ui/scheduler.h"

namespace vk41 {

namespace script {
struct Line;
}

// Runs the script language over the program's windows in virtual time:
// the very same forms as the program, started as the program starts them.
class ScriptDriver {
  public:
    // Renders a loaded window's client area to a PNG file at a scale of the
    // design (1: one pixel per 15 twips); returns an error message, or an
    // empty string on success.
    using Snapshot = std::function<std::string(Form& form, const std::string& file, double scale)>;

    ScriptDriver(std::ostream& out, Snapshot snapshot = {});

    // Runs every line of the script. Returns 0, or 2 after printing
    // `error: line N: …` to `err` for the first line that fails.
    int run(std::istream& script, std::ostream& err);
    // Runs one line; throws script::ScriptError when it fails.
    void execute(std::string_view line);

    App& app() { return app_; }
    Scheduler& scheduler() { return scheduler_; }

  private:
    struct Target;
    Target target(std::string_view pathText, bool needProperty);
    Form* loadedWindow(std::string_view name);
    void get(std::string_view pathText);
    void loadProgram(const std::string& file);
    static bool isDebugCommand(const std::string& command);
    void debug(const script::Line& line);
    void printValue(std::string_view pathText, const std::string& value);

    std::ostream* out_;
    Snapshot snapshot_;
    Scheduler scheduler_;
    App app_{scheduler_};
};

}  // namespace vk41
