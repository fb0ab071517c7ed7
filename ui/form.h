#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/variables.h"

namespace vk41 {

class App;

enum class Border {
    Sizable,      // ordinary resizable window
    FixedDialog,  // fixed size, no minimise or maximise button
};

// One item of a window's menu; an item with a parent sits in that submenu.
struct MenuDesign {
    std::string name;
    std::string caption;
    std::string parent;
    std::string key;  // its shortcut, as Qt writes it ("Ctrl+Z"); empty for none
};

// A window's design: its own properties, its controls in drawing order (first
// drawn lowest) and its menu in menu-bar order.
struct FormDesign {
    std::string name;
    std::string caption;
    float width{0}, height{0};  // client area, twips
    Colour backColor{kButtonFace};
    Border border{Border::Sizable};
    std::string picture;  // background picture drawn at the top-left corner
    std::vector<ControlDesign> controls;
    std::vector<MenuDesign> menu;
};

// Event handlers of one control (or control array), set by the window.
struct Handlers {
    std::function<void(int index)> click;
    std::function<void(int index)> change;  // combo text typed
    std::function<void(int index)> pick;    // combo list entry picked
    std::function<void(int index, float x, float y)> mouseMove;
    std::function<void()> timer;
    // Writes a label's tooltip when the mouse rests on it, so a text that
    // describes live values costs nothing until someone asks for it.
    std::function<std::string(int index)> toolTip;
};

// A window: design table, controls, window variables and handlers. Windows
// derive from it, bind their handlers in the constructor and keep their
// variables as members, which live as long as the object (across unloads).
class Form {
  public:
    Form(App& app, const FormDesign& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    App& app() const { return *app_; }
    const FormDesign& design() const { return *design_; }
    const std::string& name() const { return design_->name; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool loaded() const { return loaded_; }
    // How many times the window has been loaded: each load starts a lifetime.
    int loads() const { return loads_; }
    bool visible() const { return visible_; }
    const Variables& variables() const { return variables_; }

    // Every change of a control or of the window bumps the revision, so a
    // view repaints only windows that changed.
    std::uint64_t revision() const { return revision_; }
    void touch() { ++revision_; }

    // Controls by design name; a missing control is a programming error and throws.
    Control& control(std::string_view name, int index = -1);
    Control* find(std::string_view name, int index = -1);
    const std::deque<Control>& controls() const { return controls_; }
    std::deque<Control>& controls() { return controls_; }
    bool hasControlArray(std::string_view name) const;

    // Lifecycle, driven by the application's window registry.
    void load();    // design values back, design timers started, load handler
    void unload();  // timers stopped, hidden, not loaded
    void show();
    void hide();

    // What a person does. Each returns false when the control cannot be
    // reached: hidden or disabled (or a container is), or its window hidden.
    bool click(Control& control);
    bool typeText(Control& combo, const std::string& text);
    bool pickItem(Control& combo, const std::string& item);
    bool chooseMenu(std::string_view caption);
    bool hasMenuItem(std::string_view caption) const;
    // Fires the mouse-move handler of the label under (x, y), window twips.
    void mouseMove(float x, float y);
    // A press of the mouse at (x, y), window twips: clicks the label there as
    // `click` does. Windowed controls take their own presses; false when no
    // label is hit or it cannot be reached.
    bool clickAt(float x, float y);
    // The tooltip that shows when the mouse rests at (x, y): a windowed
    // control's own, else that of the topmost label there that has one,
    // written by its tooltip handler or else its ToolTipText.
    std::string toolTipAt(float x, float y) const;
    // The topmost control that takes the mouse at (x, y): a windowed control,
    // else a visible label; lines and shapes let the mouse through.
    const Control* hitTest(float x, float y) const;

    // Runs a timer's handler (the scheduler's tick, or the driver's `tick`).
    void fireTimer(Control& timer);
    // Called by a control when it changes.
    void controlChanged(Control& control);
    void optionSelected(Control& option);

    // Asked before the title-bar button closes the window: a window with
    // work not kept may ask the person, and stay open.
    virtual bool mayClose() { return true; }

  protected:
    virtual void onLoad() {}

    void onClick(const std::string& name, std::function<void(int)> handler);
    void onChange(const std::string& name, std::function<void(int)> handler);
    void onPick(const std::string& name, std::function<void(int)> handler);
    void onMouseMove(const std::string& name, std::function<void(int, float, float)> handler);
    void onTimer(const std::string& name, std::function<void()> handler);
    void onToolTip(const std::string& name, std::function<std::string(int)> handler);
    void onMenu(const std::string& name, std::function<void()> handler);

    Variables variables_;

  private:
    Handlers& handlersFor(const std::string& name);
    bool reachable(const Control& control) const;
    const Control* hitIn(const Control* container, float x, float y) const;
    void fire(const std::function<void(int)>& handler, const Control& control);

    App* app_;
    const FormDesign* design_;
    std::deque<Control> controls_;
    std::map<std::string, std::map<int, Control*>, std::less<>> byName_;
    std::map<std::string, Handlers, std::less<>> handlers_;
    std::map<std::string, std::function<void()>, std::less<>> menuActions_;
    std::string caption_;
    bool loaded_{false};
    bool visible_{false};
    int loads_{0};
    std::uint64_t revision_{0};
};

}  // namespace vk41
