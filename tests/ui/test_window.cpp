#include "test_window.h"

#include <map>
#include <memory>

namespace vk41::testing {
namespace {

ControlDesign row(ControlKind kind, const char* name, int index, const char* container, Props p) {
    return {kind, name, index, container, std::move(p)};
}

Props at(float left, float top, float width, float height) {
    Props p;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    return p;
}

FormDesign makeLayout(const char* name) {
    using K = ControlKind;
    FormDesign d;
    d.name = name;
    d.caption = std::string("Окно ") + name;
    d.width = 6000;
    d.height = 4500;
    Props hint0 = at(0, 0, 1500, 1500);
    hint0.toolTip = "подсказка 0";
    Props hint1 = at(1000, 1000, 1500, 1500);
    hint1.toolTip = "подсказка 1";
    Props hidden = at(3000, 0, 600, 600);
    hidden.toolTip = "скрыта";
    hidden.visible = false;
    Props line;
    line.x1 = 0;
    line.y1 = 750;
    line.x2 = 3000;
    line.y2 = 750;
    line.borderWidth = 5;
    Props shape = at(200, 200, 600, 600);
    shape.filled = true;
    shape.fillColor = rgb(0x00FF00);
    Props caption = at(0, 3000, 1200, 300);
    caption.caption = "0";
    Props disabled = at(1800, 0, 600, 400);
    disabled.enabled = false;
    Props frame = at(3000, 1500, 2400, 1500);
    frame.caption = "Режим";
    Props opt0 = at(120, 240, 2000, 255);
    opt0.caption = "первый";
    Props opt1 = at(120, 600, 2000, 255);
    opt1.caption = "второй";
    opt1.value = true;
    Props combo = at(0, 3600, 1500, 300);
    combo.items = {"1", "2", "3"};
    combo.text = "1";
    Props note = at(2000, 2000, 400, 400);  // a caption over the second hint
    note.caption = "надпись";
    note.opaque = false;
    Props fast;
    fast.interval = 100;
    Props slow;
    slow.interval = 250;
    slow.enabled = false;
    d.controls = {
        row(K::Label, "Hint", 0, "", hint0),
        row(K::Label, "Hint", 1, "", hint1),
        row(K::Label, "Hint", 2, "", hidden),
        row(K::Line, "Wire", -1, "", line),
        row(K::Shape, "Body", -1, "", shape),
        row(K::Label, "Count", -1, "", caption),
        row(K::Button, "Go", -1, "", at(0, 1800, 600, 400)),
        row(K::Button, "Off", -1, "", disabled),
        row(K::Frame, "Rad", -1, "", frame),
        row(K::Option, "Mode", 0, "Rad", opt0),
        row(K::Option, "Mode", 1, "Rad", opt1),
        row(K::Combo, "Pick", -1, "", combo),
        row(K::Timer, "Fast", -1, "", fast),
        row(K::Timer, "Slow", -1, "", slow),
        row(K::Label, "Note", -1, "", note),
    };
    d.menu = {
        {"File", "Файл", "", ""}, {"Open", "Открыть", "File", ""}, {"Inert", "Ничего", "", ""}};
    return d;
}

}  // namespace

const FormDesign& TestWindow::layout(const char* name) {
    static std::map<std::string, FormDesign> designs;
    auto it = designs.find(name);
    if (it == designs.end()) it = designs.emplace(name, makeLayout(name)).first;
    return it->second;
}

TestWindow::TestWindow(App& app, const char* name) : Form(app, layout(name)) {
    auto logged = [this](const char* what) {
        return [this, what](int index) { log.push_back(what + std::to_string(index)); };
    };
    onClick("Go", logged("Go"));
    onClick("Off", logged("Off"));
    onClick("Mode", logged("Mode"));
    onChange("Pick", logged("change"));
    onPick("Pick", logged("pick"));
    onMouseMove("Hint", [this](int index, float x, float y) {
        log.push_back("move" + std::to_string(index) + " " + std::to_string(static_cast<int>(x)) +
                      "," + std::to_string(static_cast<int>(y)));
    });
    onTimer("Fast",
            [this] { log.push_back("fast@" + std::to_string(this->app().scheduler().now())); });
    onTimer("Slow",
            [this] { log.push_back("slow@" + std::to_string(this->app().scheduler().now())); });
    onMenu("Open", [this] { log.push_back("open"); });
    variables_.add("loads", loads);
    variables_.add("kept", kept);
}

void TestWindow::onLoad() {
    ++loads;
    control("Count").setCaption(std::to_string(loads));
}

TestApp::TestApp() {
    app.registerForm(
        "Test", []() -> const FormDesign& { return TestWindow::layout("Test"); },
        [](App& a) { return std::make_unique<TestWindow>(a, "Test"); });
    app.registerForm(
        "Other", []() -> const FormDesign& { return TestWindow::layout("Other"); },
        [](App& a) { return std::make_unique<TestWindow>(a, "Other"); });
}

}  // namespace vk41::testing
