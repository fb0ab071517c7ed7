// A seeded monkey: tens of thousands of random actions through the driver,
// with the program's invariants checked after each one. The seed is fixed, so
// every run takes the same path; VK41_MONKEY_SEED=N takes another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "modbus/main_mod_modbus.h"
#include "tools/script_driver.h"
#include "ui/app.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

const char* const kWindows[] = {"Texttt", "Objectt", "Bl_Usl", "ModB_Frm", "Usl_Edit"};
const char* const kTexts[] = {"",    "0",  "1",     "2",   "08",  "32",   "40",  "10003", "255",
                              "256", "-1", "99999", "1e9", "abc", "3.5",  " 7",  "0x1F",  "65535",
                              "😀",   "\"", "\\",    "  ",  "01",  "1e-9", "NaN", "inf",   "7"};

class Monkey {
  public:
    explicit Monkey(unsigned seed) : random_(seed) {}

    void act() {
        Form* form = anyWindow();
        const int what = pick(100);
        if (what < 8) return menu(form);
        if (what < 11) return (void)driver_.app().close(form->name());
        if (what < 14) return driver_.app().open(kWindows[pick(std::size(kWindows))]);
        if (what < 20) return (void)driver_.scheduler().advanceBy(pick(3000));
        if (!form || !form->loaded()) return;
        Control& c = anyControl(*form);
        switch (c.kind()) {
            case ControlKind::Button:
            case ControlKind::Option:
                form->click(c);
                break;
            case ControlKind::Combo:
                if (pick(2))
                    form->typeText(c, kTexts[pick(std::size(kTexts))]);
                else if (!c.items().empty())
                    form->pickItem(c, c.items()[static_cast<std::size_t>(pick(c.items().size()))]);
                break;
            case ControlKind::Label:
                form->mouseMove(c.windowLeft() + 1, c.windowTop() + 1);
                (void)form->toolTipAt(c.windowLeft() + 1, c.windowTop() + 1);
                break;
            default:
                driver_.scheduler().advanceBy(100);
                break;
        }
    }

    // Returns what is wrong, or an empty text.
    std::string check() {
        if (std::string e = checkOneInstanceEach(); !e.empty()) return e;
        // A frame is there once the window has ticked in this lifetime.
        if (Form* m = driver_.app().existing("ModB_Frm");
            m && m->loaded() && !m->control("Qq", 7).caption().empty()) {
            if (std::string e = checkFrame(*m, "Qq", 6); !e.empty()) return e;
            const std::string& status = m->control("Status_Lab").caption();
            if (status != "497" && status != "1" && status != "2" && status != "3" && status != "4")
                return "status " + status;
        }
        if (Form* s = driver_.app().existing("Objectt"); s && s->loaded()) {
            // Within one lifetime of the scheme window the count only grows.
            const double itog = textToNumber(s->control("Itog").caption());
            if (s->loads() == schemeLoads_ && itog < lastItog_) return "Itog went down";
            schemeLoads_ = s->loads();
            lastItog_ = itog;
        }
        return "";
    }

  private:
    int pick(std::size_t n) { return static_cast<int>(random_() % n); }

    Form* anyWindow() {
        const char* name = kWindows[pick(std::size(kWindows))];
        Form* f = driver_.app().existing(name);
        return f ? f : driver_.app().existing("Texttt");
    }

    void menu(Form* form) {
        if (!form || !form->loaded()) return;
        const auto& items = form->design().menu;
        if (!items.empty())
            form->chooseMenu(items[static_cast<std::size_t>(pick(items.size()))].caption);
    }

    Control& anyControl(Form& form) {
        auto& controls = form.controls();
        return controls[static_cast<std::size_t>(pick(controls.size()))];
    }

    // A window, once made, is the same object for the rest of the run (its
    // unloads and restarts included), and no other entry holds a window of
    // its name.
    std::string checkOneInstanceEach() {
        const App& app = driver_.app();
        for (const std::string& name : app.formNames()) {
            const Form* f = app.existing(name);
            if (!f) continue;
            if (f->name() != name) return "the entry " + name + " holds " + f->name();
            if (firstMade_.emplace(name, f).first->second != f) return "a second " + name;
            int named = 0;
            for (const std::string& other : app.formNames())
                if (const Form* g = app.existing(other); g && g->name() == name) ++named;
            if (named != 1) return std::to_string(named) + " windows named " + name;
        }
        return "";
    }

    // Every cell of a frame's first n bytes and its CRC is a byte, and the
    // CRC matches.
    std::string checkFrame(Form& m, const char* row, int n) {
        CrcRegister crc;
        for (int i = 0; i < n + 2; ++i) {
            const std::string& text = m.control(row, i).caption();
            const double v = textToNumber(text);
            if (text.empty() || v < 0 || v > 255 || v != static_cast<int>(v))
                return std::string(row) + "(" + std::to_string(i) + ") = \"" + text + "\"";
            if (i < n) crc.add(static_cast<int>(v));
        }
        if (textToNumber(m.control(row, n).caption()) != crc.lo ||
            textToNumber(m.control(row, n + 1).caption()) != crc.hi)
            return std::string("CRC of ") + row;
        return "";
    }

    std::ostringstream out_;
    ScriptDriver driver_{out_};
    std::mt19937 random_;
    std::map<std::string, const Form*> firstMade_;
    int schemeLoads_{0};
    double lastItog_{0};
};

constexpr unsigned kDefaultSeed = 41;

unsigned monkeySeed() {
    const char* fromEnv = std::getenv("VK41_MONKEY_SEED");
    return fromEnv ? static_cast<unsigned>(std::strtoul(fromEnv, nullptr, 10)) : kDefaultSeed;
}

TEST(Monkey, TensOfThousandsOfRandomActionsKeepTheInvariants) {
    const unsigned seed = monkeySeed();
    SCOPED_TRACE("seed " + std::to_string(seed) +
                 "; rerun with VK41_MONKEY_SEED=" + std::to_string(seed));
    Monkey monkey(seed);
    for (int step = 0; step < 30000; ++step) {
        monkey.act();
        const std::string wrong = monkey.check();
        ASSERT_TRUE(wrong.empty()) << wrong << " after step " << step << " (seed " << seed << ")";
    }
}

}  // namespace
}  // namespace vk41
