#include "plant/objectt.h"

#include "app/windows.h"
#include "ui/app.h"
#include "ui/design_text.h"

namespace vk41 {
const FormDesign& Objectt::layout() { return embeddedDesign("objectt.form"); }

Objectt::Objectt(App& app) : Form(app, layout()) {
    // "Деморежим" on this window's menu bar has no action.
    onMenu("B_U", [this] { this->app().open(kBlUsl); });
    onMenu("ModBus", [this] {
        this->app().open(kModBFrm);
        this->app().hide(kBlUsl);
    });
}

}  // namespace vk41
