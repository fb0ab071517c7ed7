#include "modbus/modb_frm.h"

#include "app/windows.h"

namespace vk41 {
namespace {

FormDesign makeLayout() {
    FormDesign d;
    d.name = kModBFrm;
    d.caption = "Обмен по протоколу ModBus RTU ";
    d.width = 14040;
    d.height = 12735;
    d.backColor = kWhite;
    d.border = Border::FixedDialog;
    return d;
}

}  // namespace

const FormDesign& ModBFrm::layout() {
    static const FormDesign design = makeLayout();
    return design;
}

ModBFrm::ModBFrm(App& app) : Form(app, layout()) {}

}  // namespace vk41
