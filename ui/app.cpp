#include "ui/app.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace vk41 {

void App::registerForm(const std::string& name, Layout layout, Factory factory) {
    if (!entries_.contains(name)) order_.push_back(name);
    entries_[name] = Entry{std::move(layout), std::move(factory), nullptr};
}

const FormDesign& App::designOf(std::string_view name) const {
    return entry(name).layout();
}

int App::rankOf(std::string_view name) const {
    const auto it = std::find(order_.begin(), order_.end(), name);
    return static_cast<int>(it - order_.begin());
}

bool App::isRegistered(std::string_view name) const {
    return entries_.contains(name);
}

const App::Entry& App::entry(std::string_view name) const {
    const auto it = entries_.find(name);
    if (it == entries_.end()) throw std::out_of_range("no window " + std::string(name));
    return it->second;
}

App::Entry& App::entry(std::string_view name) {
    return const_cast<Entry&>(std::as_const(*this).entry(name));
}

Form* App::existing(std::string_view name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second.form.get();
}

Form& App::form(std::string_view name) {
    Entry& e = entry(name);
    if (!e.form) e.form = e.factory(*this);
    if (!e.form->loaded()) e.form->load();
    return *e.form;
}

void App::start() {
    if (!order_.empty()) open(order_.front());
}

void App::open(std::string_view name) {
    Form& f = form(name);
    f.show();
    activation_ = &f;
}

void App::hide(std::string_view name) {
    form(name).hide();
}

bool App::close(std::string_view name) {
    Form* f = existing(name);
    if (!f || !f->loaded()) return true;
    if (!f->mayClose()) return false;
    f->unload();
    return true;
}

void App::restart(std::string_view name) {
    if (Form* f = existing(name); f && f->loaded()) f->unload();
    open(name);
}

bool App::anyVisible() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const auto& pair) {
        return pair.second.form && pair.second.form->visible();
    });
}

Form* App::takeActivation() {
    return std::exchange(activation_, nullptr);
}

}  // namespace vk41
