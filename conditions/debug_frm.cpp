#include "conditions/debug_frm.h"

#include <array>
#include <optional>

#include "conditions/controller.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

// While the controller runs, the trace is written again once a second: the
// learner reads it when it stands.
constexpr int kTicksPerTrace = 4;

struct BreakKind {
    Watch what;
    const char* entry;  // its entry in Brk_Kind, and its row's text before the number
    int last;           // the highest number it takes
    const char* range;  // said when the number is out of range
};

// clang-format off
// The entries of Brk_Kind, in its list's order.
constexpr std::array<BreakKind, 4> kKinds = {{
    {Watch::Operator, "Остановиться перед оператором",       kOperators,         "Номер оператора — от 1 до 14."},
    {Watch::Output,   "Остановиться, когда изменится выход", kDiscreteTerminals, "Номер выхода — от 1 до 32."},
    {Watch::Flag,     "Остановиться, когда изменится флаг",  kOperators,         "Флаги есть у операторов 1–14: номер флага — от 1 до 14."},
    {Watch::Input,    "Остановиться, когда изменится вход",  kDiscreteTerminals, "Номер входа — от 1 до 32."},
}};
// clang-format on

const BreakKind& kindOf(Watch what) {
    for (const BreakKind& kind : kKinds)
        if (kind.what == what) return kind;
    return kKinds[0];
}

}  // namespace

const FormDesign& DebugFrm::layout() {
    return embeddedDesign("debug_frm.form");
}

DebugFrm::DebugFrm(App& app) : DebuggingForm(app, layout()) {
    onTimer("Dbg_Clock", [this] { tick(); });
    onClick("Trace_Clear", [this](int) {
        controller().clearTrace();
        tick();
    });
    onClick("Brk_Add", [this](int) { addBreakpoint(); });
    onClick("Brk_On", [this](int row) { switchBreakpoint(row); });
    onClick("Brk_Del", [this](int row) { removeBreakpoint(row); });
}

void DebugFrm::onLoad() {
    forgetDebugging();
    traceShown_ = ~std::uint64_t{0};
    ticksSinceTrace_ = kTicksPerTrace;
    tick();
}

Controller& DebugFrm::controller() {
    return app().form<Objectt>(kObjectt).controller();
}

void DebugFrm::tick() {
    ++ticksSinceTrace_;
    showDebugging();
    if (controller().revision() == traceShown_) return;
    if (!controller().paused() && ticksSinceTrace_ < kTicksPerTrace) return;
    showTrace();
}

// A step shows at once what it did.
void DebugFrm::showStepping() {
    showBreakpoints();
    if (controller().paused()) showTrace();
}

// Each cycle under its number, oldest first; a cycle stepped into shows
// the operators run so far.
void DebugFrm::showTrace() {
    const Controller& c = controller();
    traceShown_ = c.revision();
    ticksSinceTrace_ = 0;
    const std::uint64_t newest = c.cycles() + (c.nextOperator() != 0 ? 1 : 0);
    std::string text;
    for (std::size_t ago = c.tracedCycles(); ago-- > 0;) {
        text += "цикл " + std::to_string(newest - ago) + ":\n";
        for (const std::string& line : c.trace(ago)) text += "  " + line + "\n";
    }
    if (text.empty()) text = "Трасса пуста: контроллер ещё не выполнил ни одного цикла.";
    control("Trace_List").setText(text);
}

void DebugFrm::showBreakpoints() {
    const auto& breakpoints = controller().breakpoints();
    for (int row = 0; row < kListedBreakpoints; ++row) {
        const bool listed = row < static_cast<int>(breakpoints.size());
        control("Brk_Row", row).setVisible(listed);
        control("Brk_On", row).setVisible(listed);
        control("Brk_Del", row).setVisible(listed);
        if (!listed) continue;
        const Breakpoint& b = breakpoints[static_cast<std::size_t>(row)];
        control("Brk_Row", row)
            .setCaption(std::string(kindOf(b.what).entry) + " " + std::to_string(b.number) +
                        (b.enabled ? "" : " (выключена)"));
        control("Brk_On", row).setCaption(b.enabled ? "Выключить" : "Включить");
    }
    const int more = static_cast<int>(breakpoints.size()) - kListedBreakpoints;
    control("Brk_Lab").setCaption(more > 0
                                      ? "Точки останова (ещё " + std::to_string(more) +
                                            " не показаны: снимите показанные, чтобы их увидеть)"
                                      : "Точки останова");
}

void DebugFrm::addBreakpoint() {
    const std::string& chosen = control("Brk_Kind").text();
    const BreakKind* kind = nullptr;
    for (const BreakKind& k : kKinds)
        if (chosen == k.entry) kind = &k;
    Control& message = control("Brk_Message");
    if (!kind) return message.setCaption("Выберите вид точки останова из списка.");
    const std::optional<int> n = wholeNumber(control("Brk_No").text());
    if (!n || *n < 1 || *n > kind->last) return message.setCaption(kind->range);
    controller().setBreakpoint({kind->what, *n, true});
    message.setCaption("");
    showDebuggingEverywhere(app());
}

void DebugFrm::switchBreakpoint(int row) {
    const auto& breakpoints = controller().breakpoints();
    if (row < 0 || row >= static_cast<int>(breakpoints.size())) return;
    Breakpoint b = breakpoints[static_cast<std::size_t>(row)];
    b.enabled = !b.enabled;
    controller().setBreakpoint(b);
    showDebuggingEverywhere(app());
}

void DebugFrm::removeBreakpoint(int row) {
    const auto& breakpoints = controller().breakpoints();
    if (row < 0 || row >= static_cast<int>(breakpoints.size())) return;
    const Breakpoint b = breakpoints[static_cast<std::size_t>(row)];
    controller().removeBreakpoint(b.what, b.number);
    control("Brk_Message").setCaption("");
    showDebuggingEverywhere(app());
}

}  // namespace vk41
