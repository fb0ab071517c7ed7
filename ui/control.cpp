#include "ui/control.h"

#include "ui/app.h"
#include "ui/form.h"
#include "ui/scheduler.h"

namespace vk41 {

Control::Control(Form& form, const ControlDesign& design)
    : form_(&form), design_(&design), kind_(design.kind), props_(design.props) {}

void Control::changed() {
    form_->controlChanged(*this);
    changedAt_ = form_->revision();
}

void Control::setEnabled(bool v) {
    if (props_.enabled == v) return;
    props_.enabled = v;
    changed();
    if (kind() == ControlKind::Timer) form_->app().scheduler().sync(*this);
}

void Control::setInterval(int v) {
    if (props_.interval == v) return;
    props_.interval = v;
    changed();
    if (kind() == ControlKind::Timer) form_->app().scheduler().sync(*this);
}

void Control::setValue(bool v) {
    if (props_.value == v) return;
    props_.value = v;
    changed();
    if (v && kind() == ControlKind::Option) form_->optionSelected(*this);
}

bool Control::shownInWindow() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->props_.visible) return false;
    return true;
}

bool Control::enabledInWindow() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->props_.enabled) return false;
    return true;
}

float Control::windowLeft() const {
    return props_.left + (container_ ? container_->windowLeft() : 0.0f);
}

float Control::windowTop() const {
    return props_.top + (container_ ? container_->windowTop() : 0.0f);
}

void Control::reset() {
    props_ = design_->props;
    changed();
}

}  // namespace vk41
