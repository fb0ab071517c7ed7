#include "conditions/io_frm.h"

#include "conditions/controller.h"
#include "modbus/controller_image.h"
#include "modbus/memory_map.h"
#include "plant/leds.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

constexpr const char* kNotWired = "не подключён";
constexpr Colour kWired = rgb(0x000000);
constexpr Colour kUnwired = rgb(0x808080);

constexpr const char* kForcingWorks =
    "«1» и «0» форсируют вход или выход в это значение, «×» снимает форсировку; "
    "форсированные отмечены «F».";
constexpr const char* kForcingElsewhere =
    "Форсировка работает в режиме «Работа по программе»: выберите его на схеме установки.";

const char* wiringOf(bool input, int k) {
    return input ? memory_map::inputWiring(k) : memory_map::outputWiring(k);
}

std::string stateText(bool on) {
    return on ? "1 (замкнут)" : "0 (разомкнут)";
}

}  // namespace

const FormDesign& IoFrm::layout() {
    return embeddedDesign("io_frm.form");
}

IoFrm::IoFrm(App& app) : Form(app, layout()) {
    onClick("In_On", [this](int k) { force(true, k, true); });
    onClick("In_Off", [this](int k) { force(true, k, false); });
    onClick("In_Free", [this](int k) { release(true, k); });
    onClick("Out_On", [this](int k) { force(false, k, true); });
    onClick("Out_Off", [this](int k) { force(false, k, false); });
    onClick("Out_Free", [this](int k) { release(false, k); });
    onClick("Unforce_All", [this](int) { releaseAll(); });
    onToolTip("In_Name", [this](int k) { return nameTip(true, k); });
    onToolTip("Out_Name", [this](int k) { return nameTip(false, k); });
    onTimer("Refresh", [this] { refresh(false); });
}

void IoFrm::onLoad() {
    for (const char* side : {"In", "Out"}) {
        const bool input = side[0] == 'I';
        for (int k = 1; k <= memory_map::kTerminals; ++k) {
            Control& name = control(std::string(side) + "_Name", k);
            const char* wiring = wiringOf(input, k);
            name.setCaption(wiring ? wiring : kNotWired);
            name.setForeColor(wiring ? kWired : kUnwired);
        }
    }
    refresh(true);
}

Objectt* IoFrm::scheme() {
    return programRun(app());
}

// The image is the one every reader of the controller sees: the program's
// last cycle, or in the demonstration what the scheme shows.
void IoFrm::refresh(bool always) {
    const ControllerImage image = readController(app());
    const Controller& controller = app().form<Objectt>(kObjectt).controller();
    const Shown now{controller.revision(), image.inputs, image.outputs, scheme() != nullptr};
    if (!always && now == shown_) return;
    shown_ = now;
    showRows("In", image.inputs, controller.forcedInputs().mask, now.programMode);
    showRows("Out", image.outputs, controller.forcedOutputs().mask, now.programMode);
    control("Unforce_All").setEnabled(now.programMode);
    control("Mode_Lab").setCaption(now.programMode ? kForcingWorks : kForcingElsewhere);
}

void IoFrm::showRows(const char* side, std::uint32_t state, std::uint32_t forced, bool enabled) {
    const std::string prefix(side);
    for (int k = 1; k <= memory_map::kTerminals; ++k) {
        light(control(prefix + "_Led", k), bitOf(state, k) ? kLit : kDark);
        control(prefix + "_F", k).setVisible(bitOf(forced, k));
        control(prefix + "_On", k).setEnabled(enabled);
        control(prefix + "_Off", k).setEnabled(enabled);
        control(prefix + "_Free", k).setEnabled(enabled && bitOf(forced, k));
    }
}

void IoFrm::force(bool input, int k, bool on) {
    Objectt* run = scheme();
    if (!run) return;
    if (input)
        run->forceInput(k, on);
    else
        run->forceOutput(k, on);
    refresh(true);
}

void IoFrm::release(bool input, int k) {
    Objectt* run = scheme();
    if (!run) return;
    if (input)
        run->unforceInput(k);
    else
        run->unforceOutput(k);
    refresh(true);
}

void IoFrm::releaseAll() {
    if (Objectt* run = scheme()) run->unforceAll();
    refresh(true);
}

// "вход 6 (верхний концевой выключатель): 1 (замкнут), форсирован"
std::string IoFrm::nameTip(bool input, int k) {
    const Controller& controller = app().form<Objectt>(kObjectt).controller();
    const char* wiring = wiringOf(input, k);
    const Forcing& forcing = input ? controller.forcedInputs() : controller.forcedOutputs();
    const std::uint32_t state = input ? shown_.inputs : shown_.outputs;
    std::string text = (input ? "вход " : "выход ") + std::to_string(k) + " (" +
                       (wiring ? wiring : kNotWired) + "): " + stateText(bitOf(state, k));
    return bitOf(forcing.mask, k) ? text + ", форсирован" : text;
}

}  // namespace vk41
