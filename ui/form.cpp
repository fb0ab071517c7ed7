#include "ui/form.h"

#include <algorithm>
#include <stdexcept>

#include "ui/app.h"
#include "ui/scheduler.h"

namespace vk41 {
namespace {

bool isWindowed(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
        case ControlKind::Option:
        case ControlKind::Frame:
        case ControlKind::Combo:
        case ControlKind::TextBox:
        case ControlKind::Picture:
        case ControlKind::Chart:
        case ControlKind::Table:
            return true;
        default:
            return false;
    }
}

bool contains(const Control& c, float x, float y) {
    const float left = c.windowLeft();
    const float top = c.windowTop();
    return x >= left && x < left + c.width() && y >= top && y < top + c.height();
}

}  // namespace

Form::Form(App& app, const FormDesign& design)
    : app_(&app), design_(&design), caption_(design.caption) {
    for (const ControlDesign& row : design.controls) {
        Control& c = controls_.emplace_back(*this, row);
        c.position_ = static_cast<int>(controls_.size()) - 1;
        byName_[row.name][row.index] = &c;
    }
    for (Control& c : controls_)
        if (!c.design().container.empty()) c.container_ = &control(c.design().container);
}

Form::~Form() {
    for (Control& c : controls_)
        if (c.kind() == ControlKind::Timer) app_->scheduler().stop(c);
}

void Form::setCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    touch();
}

Control* Form::find(std::string_view name, int index) {
    const auto array = byName_.find(name);
    if (array == byName_.end()) return nullptr;
    const auto it = array->second.find(index);
    return it == array->second.end() ? nullptr : it->second;
}

Control& Form::control(std::string_view name, int index) {
    if (Control* c = find(name, index)) return *c;
    throw std::out_of_range("no control " + std::string(name) + "(" + std::to_string(index) +
                            ") in " + this->name());
}

bool Form::hasControlArray(std::string_view name) const {
    const auto array = byName_.find(name);
    return array != byName_.end() && !array->second.contains(-1);
}

void Form::load() {
    caption_ = design_->caption;
    for (Control& c : controls_) c.reset();
    loaded_ = true;
    ++loads_;
    touch();
    for (Control& c : controls_)
        if (c.kind() == ControlKind::Timer) app_->scheduler().sync(c);
    onLoad();
}

void Form::unload() {
    for (Control& c : controls_)
        if (c.kind() == ControlKind::Timer) app_->scheduler().stop(c);
    loaded_ = false;
    visible_ = false;
    touch();
}

void Form::show() {
    if (visible_) return;
    visible_ = true;
    touch();
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    touch();
}

Handlers& Form::handlersFor(const std::string& name) {
    Handlers& h = handlers_[name];
    if (const auto array = byName_.find(name); array != byName_.end())
        for (auto& [index, control] : array->second) control->handlers_ = &h;
    return h;
}

void Form::onClick(const std::string& name, std::function<void(int)> handler) {
    handlersFor(name).click = std::move(handler);
}
void Form::onChange(const std::string& name, std::function<void(int)> handler) {
    handlersFor(name).change = std::move(handler);
}
void Form::onPick(const std::string& name, std::function<void(int)> handler) {
    handlersFor(name).pick = std::move(handler);
}
void Form::onMouseMove(const std::string& name, std::function<void(int, float, float)> handler) {
    handlersFor(name).mouseMove = std::move(handler);
}
void Form::onTimer(const std::string& name, std::function<void()> handler) {
    handlersFor(name).timer = std::move(handler);
}
void Form::onToolTip(const std::string& name, std::function<std::string(int)> handler) {
    handlersFor(name).toolTip = std::move(handler);
}
void Form::onMenu(const std::string& name, std::function<void()> handler) {
    menuActions_[name] = std::move(handler);
}

void Form::controlChanged(Control&) {
    touch();
}

void Form::fire(const std::function<void(int)>& handler, const Control& control) {
    if (handler) handler(control.index());
}

void Form::optionSelected(Control& option) {
    for (Control& c : controls_)
        if (&c != &option && c.kind() == ControlKind::Option && c.container() == option.container())
            c.setValue(false);
    if (option.handlers_) fire(option.handlers_->click, option);
}

bool Form::reachable(const Control& control) const {
    return loaded_ && visible_ && control.shownInWindow() && control.enabledInWindow();
}

bool Form::click(Control& control) {
    if (!reachable(control)) return false;
    if (control.kind() == ControlKind::Option && !control.value()) {
        control.setValue(true);  // fires the click
        return true;
    }
    if (control.handlers_) fire(control.handlers_->click, control);
    return true;
}

bool Form::typeText(Control& combo, const std::string& text) {
    if (!reachable(combo)) return false;
    combo.setText(text);
    if (combo.handlers_) fire(combo.handlers_->change, combo);
    return true;
}

bool Form::pickItem(Control& combo, const std::string& item) {
    if (!reachable(combo)) return false;
    combo.setText(item);
    if (combo.handlers_) fire(combo.handlers_->pick, combo);
    return true;
}

bool Form::hasMenuItem(std::string_view caption) const {
    return std::any_of(design_->menu.begin(), design_->menu.end(),
                       [&](const MenuDesign& m) { return m.caption == caption; });
}

bool Form::chooseMenu(std::string_view caption) {
    if (!loaded_ || !visible_) return false;
    for (const MenuDesign& item : design_->menu) {
        if (item.caption != caption) continue;
        if (const auto action = menuActions_.find(item.name); action != menuActions_.end())
            action->second();
        return true;
    }
    return false;
}

const Control* Form::hitIn(const Control* container, float x, float y) const {
    // Windowed controls lie above the lightweight ones; within each group a
    // later control lies above an earlier one.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const Control& c = *it;
        if (c.container() != container || !isWindowed(c.kind())) continue;
        if (!c.visible() || !contains(c, x, y)) continue;
        if (c.kind() != ControlKind::Frame) return &c;
        const Control* inner = hitIn(&c, x, y);
        return inner ? inner : &c;
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const Control& c = *it;
        if (c.container() != container || c.kind() != ControlKind::Label) continue;
        if (c.visible() && contains(c, x, y)) return &c;
    }
    return nullptr;
}

const Control* Form::hitTest(float x, float y) const {
    if (!loaded_) return nullptr;
    return hitIn(nullptr, x, y);
}

void Form::mouseMove(float x, float y) {
    if (!loaded_ || !visible_) return;
    const Control* hit = hitTest(x, y);
    if (!hit || !hit->handlers_ || !hit->handlers_->mouseMove || !hit->enabledInWindow()) return;
    hit->handlers_->mouseMove(hit->index(), x - hit->windowLeft(), y - hit->windowTop());
}

bool Form::clickAt(float x, float y) {
    if (!loaded_ || !visible_) return false;
    const Control* hit = hitTest(x, y);
    if (!hit || hit->kind() != ControlKind::Label) return false;
    // The hit is one of this window's own controls.
    return click(const_cast<Control&>(*hit));
}

std::string Form::toolTipAt(float x, float y) const {
    if (!loaded_ || !visible_) return "";
    const Control* hit = hitTest(x, y);
    if (!hit || hit->kind() != ControlKind::Label) return hit ? hit->toolTip() : "";
    // A caption drawn over a hint label lets its hint show through.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const Control& c = *it;
        if (c.kind() != ControlKind::Label || c.container() != hit->container()) continue;
        if (!c.visible() || !contains(c, x, y)) continue;
        if (c.handlers_ && c.handlers_->toolTip)
            if (std::string text = c.handlers_->toolTip(c.index()); !text.empty()) return text;
        if (!c.toolTip().empty()) return c.toolTip();
    }
    return "";
}

void Form::fireTimer(Control& timer) {
    if (timer.handlers_ && timer.handlers_->timer) timer.handlers_->timer();
}

}  // namespace vk41
