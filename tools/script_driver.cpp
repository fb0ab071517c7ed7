#include "tools/script_driver.h"

#include <algorithm>
#include <array>
#include <istream>
#include <ostream>

#include "app/windows.h"
#include "conditions/program_file.h"
#include "plant/objectt.h"
#include "tools/script_parse.h"
#include "ui/properties.h"
#include "ui/table.h"

namespace vk41 {

using script::ScriptError;

namespace {

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Line:
            return "line";
        case ControlKind::Shape:
            return "shape";
        case ControlKind::Label:
            return "label";
        case ControlKind::Button:
            return "button";
        case ControlKind::Option:
            return "option";
        case ControlKind::Frame:
            return "frame";
        case ControlKind::Combo:
            return "combo";
        case ControlKind::TextBox:
            return "text box";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Timer:
            return "timer";
        case ControlKind::Chart:
            return "chart";
        case ControlKind::Table:
            return "table";
    }
    return "control";
}

// The scales a window can be drawn at.
constexpr double kLeastSnapshotScale = 0.2;
constexpr double kGreatestSnapshotScale = 4.0;

bool isArray(const FormDesign& design, const std::string& name) {
    return std::any_of(design.controls.begin(), design.controls.end(),
                       [&](const ControlDesign& c) { return c.name == name && c.index >= 0; });
}

bool hasControl(const FormDesign& design, const std::string& name) {
    return std::any_of(design.controls.begin(), design.controls.end(),
                       [&](const ControlDesign& c) { return c.name == name; });
}

void expectArgs(const script::Line& line, std::size_t least, std::size_t most) {
    if (line.args.size() >= least && line.args.size() <= most) return;
    throw ScriptError{"'" + line.command + "' takes " + std::to_string(least) +
                      (least == most ? "" : " to " + std::to_string(most)) + " argument" +
                      (most == 1 ? "" : "s")};
}

}  // namespace

// A path resolved against the window's design: the row of its control and,
// once the window is loaded, the control itself.
struct ScriptDriver::Target {
    Form* form{nullptr};  // null when the window is not loaded
    const ControlDesign* row{nullptr};
    Control* control{nullptr};
};

ScriptDriver::ScriptDriver(std::ostream& out, Snapshot snapshot)
    : out_(&out), snapshot_(std::move(snapshot)) {
    registerWindows(app_);
    // A dialog a window asks is said where it comes, answered from `answer`.
    app_.queuedDialogs().asked = [this](const std::string& what) {
        *out_ << "dialog = " << quoted(what) << '\n';
    };
    app_.start();
}

int ScriptDriver::run(std::istream& script, std::ostream& err) {
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        try {
            execute(line);
        } catch (const ScriptError& e) {
            out_->flush();
            err << "error: line " << number << ": " << e.message << '\n';
            return 2;
        }
    }
    return 0;
}

Form* ScriptDriver::loadedWindow(std::string_view name) {
    if (!app_.isRegistered(name)) throw ScriptError{"unknown window '" + std::string(name) + "'"};
    Form* form = app_.existing(name);
    return form && form->loaded() ? form : nullptr;
}

ScriptDriver::Target ScriptDriver::target(std::string_view pathText, bool needProperty) {
    const script::Path path = script::parsePath(pathText);
    Target t;
    t.form = loadedWindow(path.window);
    if (path.parts.size() != (needProperty ? 2u : 1u))
        throw ScriptError{needProperty ? "'" + std::string(pathText) + "' names no property"
                                       : "'" + std::string(pathText) + "' is not a control"};
    const FormDesign& design = app_.designOf(path.window);
    const script::Name& name = path.parts.front();
    if (!hasControl(design, name.name))
        throw ScriptError{"unknown control '" + name.name + "' in " + path.window};
    if (isArray(design, name.name) != name.index.has_value())
        throw ScriptError{name.index ? "'" + name.name + "' is not a control array"
                                     : "'" + name.name + "' is a control array: give an index"};
    const int index = name.index.value_or(-1);
    for (const ControlDesign& row : design.controls)
        if (row.name == name.name && row.index == index) t.row = &row;
    if (!t.row)
        throw ScriptError{"no element " + std::to_string(index) + " in '" + name.name + "'"};
    if (needProperty) {
        const std::string& property = path.parts[1].name;
        switch (checkProperty(t.row->kind, property)) {
            case PropertyError::None:
                break;
            case PropertyError::NotOfThisKind:
                throw ScriptError{std::string("a ") + kindName(t.row->kind) + " has no property '" +
                                  property + "'"};
            default:
                throw ScriptError{"unknown property '" + property + "'"};
        }
    }
    if (t.form) t.control = &t.form->control(name.name, index);
    return t;
}

void ScriptDriver::printValue(std::string_view pathText, const std::string& value) {
    *out_ << pathText << " = " << value << '\n';
}

void ScriptDriver::get(std::string_view pathText) {
    const script::Path path = script::parsePath(pathText);
    if (path.parts.size() == 2) {
        const Target t = target(pathText, true);
        if (!t.control) return printValue(pathText, "<not loaded>");
        return printValue(pathText, formatValue(getProperty(*t.control, path.parts[1].name).value));
    }
    const script::Name& name = path.parts.front();
    Form* form = loadedWindow(path.window);
    if (name.name == "Loaded" && !name.index) return printValue(pathText, form ? "True" : "False");
    if (hasControl(app_.designOf(path.window), name.name))
        throw ScriptError{"'" + std::string(pathText) + "' names no property"};
    const Form* object = app_.existing(path.window);
    const bool special = !name.index && (name.name == "Visible" || name.name == "Caption");
    if (!special && object && !object->variables().has(name.name))
        throw ScriptError{"unknown variable '" + name.name + "' in " + path.window};
    if (!form) return printValue(pathText, "<not loaded>");
    if (name.name == "Visible" && !name.index)
        return printValue(pathText, form->visible() ? "True" : "False");
    if (name.name == "Caption" && !name.index) return printValue(pathText, quoted(form->caption()));
    const auto value = form->variables().get(name.name, name.index);
    if (!value) throw ScriptError{"no element '" + std::string(pathText) + "'"};
    printValue(pathText, formatValue(*value));
}

// Loads a program file, or the factory program, into the controller, as the
// editor's "Загрузить в контроллер" does: it runs from the next cycle on.
void ScriptDriver::loadProgram(const std::string& file) {
    Objectt& scheme = app_.form<Objectt>(kObjectt);
    if (file == "factory") return scheme.controller().load(factoryProgram());
    const ProgramRead read = readProgramFile(file);
    if (!read.program) throw ScriptError{read.error};
    scheme.controller().load(*read.program);
}

namespace {

// The commands that work the controller as its programmer does.
constexpr std::array<std::string_view, 8> kDebugCommands = {
    "pause", "continue", "step", "break", "unbreak", "force", "unforce", "trace"};

// "input", "output", "flag" or "operator" in a command, and its number.
Watch watched(const std::string& word) {
    if (word == "operator") return Watch::Operator;
    if (word == "output") return Watch::Output;
    if (word == "flag") return Watch::Flag;
    if (word == "input") return Watch::Input;
    throw ScriptError{"'" + word + "' is none of operator, output, flag, input"};
}

int numberIn(const std::string& text, int most) {
    const long long n = script::parseCount(text);
    if (n < 1 || n > most)
        throw ScriptError{"'" + text + "' is not a number 1 to " + std::to_string(most)};
    return static_cast<int>(n);
}

}  // namespace

bool ScriptDriver::isDebugCommand(const std::string& command) {
    return std::find(kDebugCommands.begin(), kDebugCommands.end(), command) != kDebugCommands.end();
}

// pause, continue, step cycle|operator, break WHAT K, unbreak, force
// input|output K 0|1, unforce, trace.
void ScriptDriver::debug(const script::Line& line) {
    const std::string& command = line.command;
    const auto& a = line.args;
    Objectt& scheme = app_.form<Objectt>(kObjectt);
    Controller& controller = scheme.controller();
    if (command == "pause" || command == "continue" || command == "unbreak" ||
        command == "unforce" || command == "trace")
        expectArgs(line, 0, 0);
    if (command == "pause") return controller.pause();
    if (command == "continue") return controller.resume();
    if (command == "unbreak") return controller.removeBreakpoints();
    if (command == "unforce") return scheme.unforceAll();
    if (command == "trace") {
        for (const std::string& text : controller.trace())
            *out_ << "trace = " << quoted(text) << '\n';
        return;
    }
    if (command == "step") {
        expectArgs(line, 1, 1);
        if (a[0] == "cycle") return scheme.stepCycle();
        if (a[0] == "operator") return scheme.stepOperator();
        throw ScriptError{"step takes 'cycle' or 'operator'"};
    }
    if (command == "break") {
        expectArgs(line, 2, 2);
        const Watch what = watched(a[0]);
        controller.setBreakpoint(
            {what, numberIn(a[1], what == Watch::Operator ? kOperators : kConditionFlags)});
        return;
    }
    expectArgs(line, 3, 3);  // force
    const Watch what = watched(a[0]);
    if (what != Watch::Input && what != Watch::Output)
        throw ScriptError{"only an input or an output is forced"};
    if (a[2] != "0" && a[2] != "1") throw ScriptError{"a terminal is forced to 0 or 1"};
    const int k = numberIn(a[1], kDiscreteTerminals);
    if (what == Watch::Input)
        scheme.forceInput(k, a[2] == "1");
    else
        scheme.forceOutput(k, a[2] == "1");
}

void ScriptDriver::execute(std::string_view raw) {
    const script::Line line = script::splitLine(raw);
    const std::string& command = line.command;
    const auto& a = line.args;
    if (command.empty()) return;

    if (command == "menu") {
        expectArgs(line, 2, 2);
        Form* form = loadedWindow(a[0]);
        if (!std::any_of(app_.designOf(a[0]).menu.begin(), app_.designOf(a[0]).menu.end(),
                         [&](const MenuDesign& m) { return m.caption == a[1]; }))
            throw ScriptError{"no menu item \"" + a[1] + "\" in " + a[0]};
        if (form) form->chooseMenu(a[1]);
    } else if (command == "click") {
        expectArgs(line, 1, 1);
        const Target t = target(a[0], false);
        if (t.control) t.form->click(*t.control);
    } else if (command == "text" || command == "pick") {
        expectArgs(line, 1, 2);
        const Target t = target(a[0], false);
        if (t.row->kind != ControlKind::Combo) throw ScriptError{"'" + a[0] + "' is not a combo"};
        const std::string text = a.size() > 1 ? a[1] : "";
        if (!t.control) return;
        if (command == "text") {
            t.form->typeText(*t.control, text);
            return;
        }
        const auto& items = t.control->items();
        if (std::find(items.begin(), items.end(), text) == items.end())
            throw ScriptError{"no entry \"" + text + "\" in the list of '" + a[0] + "'"};
        t.form->pickItem(*t.control, text);
    } else if (command == "select") {
        expectArgs(line, 2, 2);
        const Target t = target(a[0], false);
        if (t.row->kind != ControlKind::Table) throw ScriptError{"'" + a[0] + "' is not a table"};
        const long long row = script::parseCount(a[1]);
        TableSource* rows = t.control ? t.control->table() : nullptr;
        if (!rows || row >= rows->tableRows())
            throw ScriptError{"no row " + a[1] + " in '" + a[0] + "'"};
        rows->selectRow(static_cast<int>(row));
    } else if (command == "mouse" || command == "tooltip") {
        expectArgs(line, 3, 3);
        Form* form = loadedWindow(a[0]);
        const auto x = static_cast<float>(script::parseNumber(a[1]));
        const auto y = static_cast<float>(script::parseNumber(a[2]));
        if (command == "mouse") {
            if (form) form->mouseMove(x, y);
        } else {
            *out_ << "tooltip = " << quoted(form ? form->toolTipAt(x, y) : "") << '\n';
        }
    } else if (command == "hover") {
        expectArgs(line, 1, 1);
        const Target t = target(a[0], false);
        if (t.row->kind == ControlKind::Timer) throw ScriptError{"a timer has no position"};
        if (!t.control) return;
        const Control& c = *t.control;
        if (c.kind() == ControlKind::Line)
            t.form->mouseMove((c.x1() + c.x2()) / 2, (c.y1() + c.y2()) / 2);
        else
            t.form->mouseMove(c.windowLeft() + c.width() / 2, c.windowTop() + c.height() / 2);
    } else if (command == "close") {
        expectArgs(line, 1, 1);
        Form* form = loadedWindow(a[0]);
        if (form && form->visible()) app_.close(a[0]);
    } else if (command == "run") {
        expectArgs(line, 1, 1);
        scheduler_.advanceBy(script::parseCount(a[0]));
    } else if (command == "tick") {
        expectArgs(line, 1, 2);
        const long long times = a.size() > 1 ? script::parseCount(a[1]) : 1;
        Target t = target(a[0], false);
        if (t.row->kind != ControlKind::Timer) throw ScriptError{"'" + a[0] + "' is not a timer"};
        // A tick reaches the window as any access does: creating it, hidden.
        const std::string window = script::parsePath(a[0]).window;
        Form& form = app_.form(window);
        Control& timer = form.control(t.row->name, t.row->index);
        for (long long i = 0; i < times; ++i) form.fireTimer(timer);
    } else if (command == "answer") {
        expectArgs(line, 0, 1);
        app_.queuedDialogs().answer(a.empty() ? "" : a[0]);
    } else if (command == "program") {
        expectArgs(line, 1, 1);
        loadProgram(a[0]);
    } else if (isDebugCommand(command)) {
        debug(line);
    } else if (command == "get") {
        expectArgs(line, 1, 1);
        get(a[0]);
    } else if (command == "snapshot") {
        expectArgs(line, 2, 3);
        const double scale = a.size() > 2 ? script::parseNumber(a[2]) : 1.0;
        if (!(scale >= kLeastSnapshotScale && scale <= kGreatestSnapshotScale))
            throw ScriptError{"a snapshot's scale lies between 0.2 and 4"};
        Form* form = loadedWindow(a[0]);
        if (!form) throw ScriptError{"window " + a[0] + " is not loaded"};
        if (!snapshot_) throw ScriptError{"snapshot is not available here"};
        if (const std::string error = snapshot_(*form, a[1], scale); !error.empty())
            throw ScriptError{error};
    } else {
        throw ScriptError{"unknown command '" + command + "'"};
    }
}

}  // namespace vk41
