#include "plant/objectt.h"

#include "app/windows.h"
#include "ui/app.h"

namespace vk41 {
namespace {

FormDesign makeLayout() {
    FormDesign d;
    d.name = kObjectt;
    d.caption = "Схема установки";
    d.width = 18960;
    d.height = 13770;
    d.backColor = kWhite;
    d.menu = {
        {"Demo", "Деморежим", ""},
        {"B_U", "Блок Условий", ""},
        {"ModBus", "ModBus", ""},
    };
    return d;
}

}  // namespace

const FormDesign& Objectt::layout() {
    static const FormDesign design = makeLayout();
    return design;
}

Objectt::Objectt(App& app) : Form(app, layout()) {
    // "Деморежим" on this window's menu bar has no action.
    onMenu("B_U", [this] { this->app().open(kBlUsl); });
    onMenu("ModBus", [this] {
        this->app().open(kModBFrm);
        this->app().hide(kBlUsl);
    });
}

}  // namespace vk41
