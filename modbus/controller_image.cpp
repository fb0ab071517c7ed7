#include "modbus/controller_image.h"

#include "modbus/memory_map.h"
#include "plant/leds.h"
#include "plant/terminals.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/process_status.h"
#include "ui/window_names.h"

namespace vk41 {

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

void writeOutput(App& app, int k, bool on) {
    if (Control* led = outputLed(app.form(kObjectt), k)) light(*led, on ? kLit : kDark);
}

}  // namespace vk41
