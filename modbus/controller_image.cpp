#include "modbus/controller_image.h"

#include <array>
#include <initializer_list>
#include <optional>

#include "modbus/memory_map.h"
#include "plant/leds.h"
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

// Each situation once: the terminals closed in it, and the process status
// whose condition flags the program raises in it.
struct SituationRow {
    Situation situation;
    ProcessStatus flagsOf;
    std::uint32_t inputs;
    std::uint32_t outputs;
    std::optional<double> flowCount;
};
// clang-format off
constexpr std::array<SituationRow, 3> kSituations = {{
    // situation           flags of                 inputs                     outputs                                                   flow count
    {Situation::TankFull,  ProcessStatus::PumpOff,  closed({t::kUpperSwitch}), closed({t::kGreenLamp}),                                  std::nullopt},
    {Situation::Filling,   ProcessStatus::PumpOn,   closed({}),                closed({t::kGreenLamp, t::kPumpRelay, t::kUvLampRelay}),  std::nullopt},
    {Situation::Accident,  ProcessStatus::Accident, closed({t::kManometer}),   closed({t::kAccident}),                                   kAccidentCount},
}};
// clang-format on

// A situation's row is found by its value.
static_assert([] {
    for (std::size_t i = 0; i < kSituations.size(); ++i)
        if (static_cast<std::size_t>(kSituations[i].situation) != i) return false;
    return true;
}());

}  // namespace

ControllerImage readController(App& app) {
    Form& scheme = app.form(kObjectt);
    const std::optional<ProcessStatus> status = processStatus(app);
    ControllerImage image;
    image.inputs = plantInputs(scheme);
    image.outputs = plantOutputs(scheme);
    // A status raises the flags of its situation, the run-dry tank none; 497
    // or a fraction is no status and raises none.
    if (status) image.flags = memory_map::flagsOfStatus(static_cast<int>(*status));
    image.flowCount = textToNumber(scheme.control("Itog").caption());
    return image;
}

ControllerImage situationImage(Situation situation, double flowCount) {
    const SituationRow& row = kSituations[static_cast<std::size_t>(situation)];
    ControllerImage image;
    image.inputs = row.inputs;
    image.outputs = row.outputs;
    image.flags = memory_map::flagsOfStatus(static_cast<int>(row.flagsOf));
    image.flowCount = row.flowCount.value_or(flowCount);
    return image;
}

void writeOutput(App& app, int k, bool on) {
    if (Control* led = outputLed(app.form(kObjectt), k)) light(*led, on ? kLit : kDark);
}

}  // namespace vk41
