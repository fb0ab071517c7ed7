#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/scheduler.h"

namespace vk41 {

// The application's window registry: one instance of each window, created
// and loaded on first use, shown and hidden by the menus. Reaching another
// window's control goes through `form()`, so touching a window that does not
// exist yet creates it, hidden.
class App {
  public:
    using Factory = std::function<std::unique_ptr<Form>(App&)>;

    explicit App(Scheduler& scheduler) : scheduler_(&scheduler) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Scheduler& scheduler() const { return *scheduler_; }

    // The dialogs windows ask with: the Qt shell's, or answers queued
    // beforehand (the driver's, and the default).
    Dialogs& dialogs() { return dialogs_ ? *dialogs_ : queued_; }
    QueuedDialogs& queuedDialogs() { return queued_; }
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

    // Windows are registered once, in start-up order; the first one is the
    // one the program starts on.
    // The design is looked up only when first needed, so registering costs
    // nothing at start-up.
    using Layout = std::function<const FormDesign&()>;
    void registerForm(const std::string& name, Layout layout, Factory factory);
    bool isRegistered(std::string_view name) const;
    // A registered window's design, known before the window exists.
    const FormDesign& designOf(std::string_view name) const;
    const std::vector<std::string>& formNames() const { return order_; }
    // A window's place in the registration order; after all of them when it
    // is not registered.
    int rankOf(std::string_view name) const;

    // The window object if it was ever created, loaded or not.
    Form* existing(std::string_view name) const;
    // The window, created and loaded (hidden) if it is not loaded.
    Form& form(std::string_view name);
    template <typename T>
    T& form(std::string_view name) {
        return static_cast<T&>(form(name));
    }

    void start();                      // shows the first registered window
    void open(std::string_view name);  // create if needed, show, activate
    void hide(std::string_view name);  // create if needed, leave hidden
    // The title-bar button: unload, unless the window keeps itself open
    // (Form::mayClose). Returns whether it is closed.
    bool close(std::string_view name);
    // Unload and show again: controls back to design values in place, load
    // handler run, window variables kept.
    void restart(std::string_view name);

    // What the program lends its windows beyond the model, such as the
    // controller's port on a real bus; null where it lends none (the driver,
    // the slave). The program keeps each alive as long as the windows.
    template <typename T>
    void provide(T* service) {
        services_[std::type_index(typeid(T))] = service;
    }
    template <typename T>
    T* service() const {
        const auto found = services_.find(std::type_index(typeid(T)));
        return found == services_.end() ? nullptr : static_cast<T*>(found->second);
    }

    bool anyVisible() const;
    // The window the last `open` asked to bring to the front, once.
    Form* takeActivation();

  private:
    struct Entry {
        Layout layout;
        Factory factory;
        std::unique_ptr<Form> form;
    };
    Entry& entry(std::string_view name);
    const Entry& entry(std::string_view name) const;

    Scheduler* scheduler_;
    std::map<std::string, Entry, std::less<>> entries_;
    std::vector<std::string> order_;
    Form* activation_{nullptr};
    QueuedDialogs queued_;
    Dialogs* dialogs_{nullptr};
    std::map<std::type_index, void*> services_;
};

}  // namespace vk41
