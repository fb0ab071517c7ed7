// The process tick: one step of the tank's water balance, the two-position
// level control and everything that follows the pump.
#include <algorithm>
#include <limits>

#include "plant/leds.h"
#include "plant/objectt.h"

#include "ui/numbers.h"
#include "ui/process_status.h"

namespace vk41 {

void Objectt::processTick() {
    Control& work = control("Led_Work");
    light(work, work.fillColor() == kDark ? kLit : kDark);

    Control& water = control("Clear_W");
    if (water.top() >= control("Level1").y1()) {
        Tank_Dry = true;
        writeProcessStatus(app(), ProcessStatus::TankDry);
    }
    drawRelayContacts();

    control("Hand_Upp").setVisible(Upp_Visible);
    control("Hand_Down").setVisible(Down_Visible);
    drawOutlet();
    hideSparks();
    const double volume = levelControl();
    control("Value").setCaption(numberToText(volume));

    Was_Pumping = asBool(Pump_On);
    light(control("Led_6"), Was_Pumping ? kLit : kDark);
    Control& ball = control("Stoper");
    ball.setLeft(Was_Pumping ? control("Border").x2() : control("Border").x1());
    moveWater(Was_Pumping, std::numeric_limits<float>::lowest());

    if (!Tank_Dry) {
        const Control& tank = control("Capacitor");
        water.setHeight(tank.top() + tank.height() - water.top());
    }
    moveFloatLinkage();
}

// The pump relay follows output 4; the UV-lamp relay switches with it.
void Objectt::drawRelayContacts() {
    Control& pumpLever = control("Строка20", 36);
    Control& lampLever = control("Строка20", 74);
    if (control("Led_4").fillColor() == kLit) {
        writeProcessStatus(app(), ProcessStatus::PumpOn);
        pumpLever.setX2(control("Строка20", 37).x2());
        lampLever.setX1(control("Строка20", 73).x2());
        return;
    }
    if (!Tank_Dry) writeProcessStatus(app(), ProcessStatus::PumpOff);
    pumpLever.setX2(control("Строка19", 4).x1());
    lampLever.setX1(control("Строка19", 67).x1());
}

// The draw-off jet and the colours of the outlet pipe and valve halves.
void Objectt::drawOutlet() {
    const bool open = Valve_Pos != 0;
    for (const char* jet : {"Woter_Flow_2_1", "Woter_Flow_2_2", "Woter_Flow_2_3"})
        control(jet).setVisible(open && !Tank_Dry);
    const Colour upper = Tank_Dry ? Empty_Color : Water_Color;
    const Colour lower = !Tank_Dry && open ? Water_Color : Empty_Color;
    control("Ost_Top").setFillColor(upper);
    control("Top_Part").setFillColor(upper);
    control("Ost_Dwn").setFillColor(lower);
    control("Down_Part").setFillColor(lower);
}

void Objectt::hideSparks() {
    for (const char* spark : {"Spark1", "Spark2", "Spark3", "Spark4", "Spark5", "Spark6"})
        control(spark).setVisible(false);
    for (int i = 53; i <= 58; ++i) control("Строка19", i).setVisible(false);
}

// Stop at the upper level, start at the lower one (both inclusive), then the
// new volume with the pump state just decided.
double Objectt::levelControl() {
    double volume = textToNumber(control("Value").caption());
    if (volume >= Vol_Max) {
        if (asBool(Pump_On)) {
            for (const char* spark : {"Spark1", "Spark2", "Spark5"})
                control(spark).setVisible(true);
        }
        Pump_On = false;
        Filtr_Update = true;
        Filtr_Flag = true;
    }
    if (control("Led_5").fillColor() == kDark && volume <= Vol_Min) {
        Pump_On = true;
        for (const char* spark : {"Spark3", "Spark4", "Spark6"}) control(spark).setVisible(true);
        for (int i = 53; i <= 58; ++i) control("Строка19", i).setVisible(true);
        Filtr_Update = true;
        Filtr_Flag = false;
    }
    volume += (asBool(Pump_On) ? Pump_Flow : 0) - Valve_Pos;
    return volume;
}

// The water follows the pump, its surface rising no higher than `rim`; the
// UV lamp glows while `lampOn`.
void Objectt::moveWater(bool lampOn, float rim) {
    Control& water = control("Clear_W");
    Control& rod = control("Pusher");
    if (Was_Pumping) {
        const double rise = std::min(Pump_Flow - Valve_Pos, double{water.top()} - rim);
        water.setTop(static_cast<float>(water.top() - rise));
        Flow_Phase = Flow_Phase + Pump_Flow - Valve_Pos;
        rod.setY1(static_cast<float>(rod.y1() - rise));
        Lamp(lampOn);
        Rotate_Line(control("Arrow4"), true, 1, 200);
        const Control& mark = control("Mark_Arrow");
        Rotate_Arrow(control("Arrow1"), 1, mark.x2(), mark.y2(), false, 1);
        Rotate_Arrow(control("Arrow2"), 2, mark.x2(), mark.y2(), false, 1);
        Rotate_Arrow(control("Arrow3"), 3, mark.x2(), mark.y2(), false, 1);
        Water_Arrow(1, true, 0);
        return;
    }
    if (!Tank_Dry) {
        water.setTop(static_cast<float>(water.top() + Valve_Pos));
        rod.setY1(static_cast<float>(rod.y1() + Valve_Pos));
        // The lever rests on the lower switch while the float sinks further.
        const float rest = control("Swich2_NO").y2();
        if (rod.y1() > rest) rod.setY1(rest);
    }
    Lamp(lampOn);
    Water_Arrow(1, false, 0);
}

// The float's lever, the limit switches it works and the float itself.
void Objectt::moveFloatLinkage() {
    Control& lever = control("Pusher_Lev");
    Control& head = control("Pusher_Head");
    Control& rod = control("Pusher");
    lever.setY1(rod.y1());
    lever.setY2(lever.y1());
    head.setY1(lever.y1() - 25);
    head.setY2(lever.y1() + 25);
    const float y = lever.y1();

    // Past the upper switch's travel, which only an overflowing tank takes
    // it, the lever holds the common contact on NO.
    Control& upper = control("Swich1_Com");
    const float upperNC = control("Swich1_NC").y1();
    const float upperNO = control("Swich1_NO").y1();
    if (y <= upperNO - 10)
        upper.setY1(upperNO);
    else
        upper.setY1(y < upperNC ? y : upperNC);
    Control& lower = control("Swich2_Com");
    const float lowerNC = control("Swich2_NC").y1();
    lower.setY1(y < control("Swich2_NO").y1() && y > lowerNC ? y : lowerNC);

    Control& floater = control("Swimer");
    floater.setTop(control("Clear_W").top() - floater.height() / 2);
    rod.setY2(floater.top());
}

}  // namespace vk41
