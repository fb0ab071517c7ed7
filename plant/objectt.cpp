#include "plant/objectt.h"

#include "plant/leds.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/window_names.h"

namespace vk41 {

const FormDesign& Objectt::layout() {
    return embeddedDesign("objectt.form");
}

Objectt::Objectt(App& app) : Form(app, layout()) {
    // "Деморежим" on this window's menu bar has no action.
    onMenu("B_U", [this] { this->app().open(kBlUsl); });
    onMenu("Usl", [this] { this->app().open(kUslEdit); });
    onMenu("ModBus", [this] {
        this->app().open(kModBFrm);
        this->app().hide(kBlUsl);
    });
    onMenu("Bus", [this] { this->app().open(kBusFrm); });
    bindRunControls();
    bindForcing();
    onTimer("Port_Clock", [this] {
        light(control("Led_S"), kDark);
        control("Port_Clock").setEnabled(false);
    });
    registerVariables();
}

void Objectt::registerVariables() {
    Variables& v = variables_;
    v.add("Pump_Flow", Pump_Flow);
    v.add("Valve_Pos", Valve_Pos);
    v.add("Valve_Min", Valve_Min);
    v.add("Valve_Max", Valve_Max);
    v.add("Vol_Max", Vol_Max);
    v.add("Vol_Min", Vol_Min);
    v.add("Vol_Span", Vol_Span);
    v.add("Pump_On", Pump_On);
    v.add("Tank_Dry", Tank_Dry);
    v.add("Flow_Phase", Flow_Phase);
    v.add("Phase_0", Phase_0);
    v.add("Phase_1", Phase_1);
    v.addArray("Blade_Angle", &Blade_Angle[1], 1, 4);
    v.add("Rotor_R", Rotor_R);
    v.add("Rotor_Step", Rotor_Step);
    v.add("Arrow_Step", Arrow_Step);
    v.add("Two_Pi", Two_Pi);
    v.add("Arrow_Len", Arrow_Len);
    v.add("Gauge_Base", Gauge_Base);
    v.add("Gauge_Div", Gauge_Div);
    v.add("Handle_Len", Handle_Len);
    v.add("Upp_Visible", Upp_Visible);
    v.add("Down_Visible", Down_Visible);
    v.add("Filtr_Update", Filtr_Update);
    v.add("Filtr_Flag", Filtr_Flag);
    v.add("Water_Color", Water_Color);
    v.add("Empty_Color", Empty_Color);
    v.add("Normal_Color", Normal_Color);
    v.add("Light_Color", Light_Color);
    v.add("Process_On", Process_On);
    v.add("Time_Value", Time_Value);
    v.add("Cnt_I", Cnt_I);
    v.addArray("Cnt_Digit", Cnt_Digit.data(), 0, 7);
    v.add("Arrow_Tick", Arrow_Tick);
    v.add("Kont_Closed", Kont_Closed);
    v.add("Gauge_K", Gauge_K);
    v.add("Was_Pumping", Was_Pumping);
    v.add("Sec_Tick", Sec_Tick);
    v.add("Demo_End", Demo_End);
    v.add("Flow_Tick", Flow_Tick);
    v.add("Rotor_Pos", Rotor_Pos);
    v.add("Slave_Tick", Slave_Tick);
    v.add("Overflow", Overflow);
    // The controller's last cycle: bit k - 1 is input, output, flag or operator k.
    const ControllerState& cycle = controller_.state();
    v.add("Ctl_Inputs", cycle.inputs);
    v.add("Ctl_Outputs", cycle.outputs);
    v.add("Ctl_Flags", cycle.flags);
    v.add("Ctl_Active", cycle.active);
    v.addComputed("Ctl_Paused", [this] { return Value{controller_.paused()}; });
    v.addComputed("Ctl_Next_Operator",
                  [this] { return Value{static_cast<double>(controller_.nextOperator())}; });
}

}  // namespace vk41
