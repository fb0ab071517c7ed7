#include "conditions/bl_usl.h"

#include "app/windows.h"

namespace vk41 {
namespace {

FormDesign makeLayout() {
    FormDesign d;
    d.name = kBlUsl;
    d.caption = "БЛОК УСЛОВИЙ";
    d.width = 13755;
    d.height = 8640;
    d.backColor = kWindowColour;
    d.border = Border::Sizable;
    return d;
}

}  // namespace

const FormDesign& BlUsl::layout() {
    static const FormDesign design = makeLayout();
    return design;
}

BlUsl::BlUsl(App& app) : Form(app, layout()) {}

}  // namespace vk41
