#include "modbus/controller_image.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

#include "conditions/controller.h"
#include "plant/leds.h"
#include "plant/objectt.h"
#include "plant/terminals.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/process_status.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

namespace t = terminal;

constexpr std::uint32_t closed(std::initializer_list<int> terminals) {
    std::uint32_t bits = 0;
    for (const int k : terminals) bits |= std::uint32_t{1} << (k - 1);
    return bits;
}

// Each situation once: the process status that stands for it, and the
// terminals closed in it.
struct SituationRow {
    Situation situation;
    ProcessStatus status;
    std::uint32_t inputs;
    std::uint32_t outputs;
    std::optional<double> flowCount;
};
// clang-format off
constexpr std::array<SituationRow, 3> kSituations = {{
    // situation           status                   inputs                     outputs                                                   flow count
    {Situation::TankFull,  ProcessStatus::PumpOff,  closed({t::kUpperSwitch}), closed({t::kGreenLamp}),                                  std::nullopt},
    {Situation::Filling,   ProcessStatus::PumpOn,   closed({}),                closed({t::kGreenLamp, t::kPumpRelay, t::kUvLampRelay}),  std::nullopt},
    {Situation::Accident,  ProcessStatus::Accident, closed({t::kManometer}),   closed({t::kAccident}),                                   kAccidentCount},
}};
// clang-format on

std::uint32_t counterValue(double count) {
    return static_cast<std::uint32_t>(std::clamp(count, 0.0, 4294967295.0));
}

ControllerImage imageOf(const ControllerState& state) {
    return {state.inputs, state.outputs, state.flags, state.active,
            static_cast<double>(state.counters[0])};
}

// A situation's row is found by its value.
static_assert([] {
    for (std::size_t i = 0; i < kSituations.size(); ++i)
        if (static_cast<std::size_t>(kSituations[i].situation) != i) return false;
    return true;
}());

}  // namespace

ControllerImage readController(App& app) {
    if (Objectt* run = programRun(app)) return imageOf(run->controller().state());
    Form& scheme = app.form(kObjectt);
    const double flowCount = textToNumber(scheme.control("Itog").caption());
    ControllerImage image;
    if (const auto situation = situationOfStatus(processStatusCode(app)))
        image = situationImage(*situation, flowCount);
    image.inputs = plantInputs(scheme);
    image.outputs = plantOutputs(scheme);
    image.flowCount = flowCount;
    return image;
}

ControllerImage situationImage(Situation situation, double flowCount) {
    const SituationRow& row = kSituations[static_cast<std::size_t>(situation)];
    const double count = row.flowCount.value_or(flowCount);
    ControllerState state;
    state.outputs = row.outputs;
    state = runCycle(factoryProgram(), state, row.inputs, {counterValue(count), 0, 0, 0});
    // The situation is the plant's: its outputs are those it names, which
    // the factory program keeps as they are (a test holds it to that).
    ControllerImage image = imageOf(state);
    image.outputs = row.outputs;
    image.flowCount = count;
    return image;
}

Objectt* programRun(App& app) {
    auto* scheme = static_cast<Objectt*>(app.existing(kObjectt));
    return scheme && scheme->loaded() && scheme->programMode() ? scheme : nullptr;
}

const Controller* programController(App& app) {
    const Objectt* run = programRun(app);
    return run ? &run->controller() : nullptr;
}

const Program& loadedProgram(App& app) {
    const auto* scheme = static_cast<const Objectt*>(app.existing(kObjectt));
    return scheme ? scheme->controller().program() : factoryProgram();
}

std::optional<Situation> situationOfStatus(double statusCode) {
    for (const SituationRow& row : kSituations)
        if (statusCode == static_cast<int>(row.status)) return row.situation;
    return std::nullopt;
}

std::uint32_t flagsOfStatus(double statusCode) {
    const auto situation = situationOfStatus(statusCode);
    return situation ? situationImage(*situation).flags : 0;
}

void writeOutput(App& app, int k, bool on) {
    if (Objectt* run = programRun(app)) run->controller().writeOutput(k, on);
    if (Control* led = outputLed(app.form(kObjectt), k)) light(*led, on ? kLit : kDark);
}

}  // namespace vk41
