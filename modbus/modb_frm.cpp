#include "modbus/modb_frm.h"

#include "ui/design_text.h"

namespace vk41 {
const FormDesign& ModBFrm::layout() {
    return embeddedDesign("modb_frm.form");
}

ModBFrm::ModBFrm(App& app) : Form(app, layout()) {}

}  // namespace vk41
