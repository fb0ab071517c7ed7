#include "modbus/controller_image.h"

#include "modbus/memory_map.h"
#include "plant/terminals.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

ControllerImage readController(App& app) {
    Form& scheme = app.form(kObjectt);
    const double status = textToNumber(app.form(kModBFrm).control("Status_Lab").caption());
    ControllerImage image;
    image.inputs = plantInputs(scheme);
    image.outputs = plantOutputs(scheme);
    // Only the whole codes of a situation raise flags; 4, 497 or a fraction raise none.
    if (status == 1 || status == 2 || status == 3)
        image.flags = memory_map::flagsOfStatus(static_cast<int>(status));
    image.flowCount = textToNumber(scheme.control("Itog").caption());
    return image;
}

}  // namespace vk41
