// "Работа по программе": the plant obeys the controller. Each tick of the
// process timer moves the plant by the outputs the controller set in its last
// cycle, then runs one controller cycle on what the plant shows, then shows
// the new outputs on the scheme.
#include <algorithm>
#include <cmath>
#include <limits>

#include "plant/leds.h"
#include "plant/objectt.h"
#include "plant/terminals.h"
#include "ui/numbers.h"
#include "ui/process_status.h"

namespace vk41 {

namespace {

constexpr Colour kGreenLit = rgb(0x00FF00);

bool output(const Controller& c, int k) {
    return bitOf(c.state().outputs, k);
}

}  // namespace

// A paused controller stands, and the plant with it.
void Objectt::programTick() {
    if (controller_.paused()) return;
    if (controller_.nextOperator() == 0) obeyOutputs();
    const std::uint32_t before = controller_.state().inputs;
    if (controller_.cycle(plantInputs(*this), lineCounters())) afterCycle(before);
    // The trends keep every tick that ran, one that ended in a stop too. The
    // level reads as the tank's filling: dry at the outlet, full at the rim.
    const double outlet = outletVolume();
    const double volume = textToNumber(control("Value").caption());
    const double level = 100 * (volume - outlet) / (rimVolume() - outlet);
    trend_.record({level, flowCount(), loads()}, controller_);
}

void Objectt::stepCycle() {
    controller_.pause();
    if (controller_.nextOperator() == 0) obeyOutputs();
    const std::uint32_t before = controller_.state().inputs;
    controller_.stepCycle(plantInputs(*this), lineCounters());
    afterCycle(before);
}

void Objectt::stepOperator() {
    controller_.pause();
    if (controller_.nextOperator() == 0) obeyOutputs();
    const std::uint32_t before = controller_.state().inputs;
    if (controller_.stepOperator(plantInputs(*this), lineCounters())) afterCycle(before);
}

void Objectt::afterCycle(std::uint32_t inputsBefore) {
    showSwitchSparks(inputsBefore, controller_.state().inputs);
    showOutputs();
}

// The volume of water standing at height `top`: the surface at load is
// volume 0, and one unit is one twip of level.
float Objectt::volumeAt(float top) {
    return static_cast<float>(Vol_Min) + control("Clear_W").design().props.top - top;
}

float Objectt::rimVolume() {
    return volumeAt(control("Capacitor").top());
}

float Objectt::outletVolume() {
    return volumeAt(control("Level1").y1());
}

// The process tick with the pump, the lamp and the relays on the outputs
// instead of the level control: the program decides when the pump runs.
void Objectt::obeyOutputs() {
    const bool pump = output(controller_, terminal::kPumpRelay);
    const bool lamp = output(controller_, terminal::kUvLampRelay);
    Control& work = control("Led_Work");
    light(work, work.fillColor() == kDark ? kLit : kDark);
    // A tank run dry refills when the program starts the pump again.
    Control& water = control("Clear_W");
    Tank_Dry = water.top() >= control("Level1").y1();

    fitValveButtons();
    drawOutlet();
    hideSparks();
    for (const char* spark : {"Spark_F_1", "Spark_F_2", "Spark_F_3"})
        control(spark).setVisible(false);
    if (pump && !asBool(Pump_On)) {
        for (int i = 53; i <= 58; ++i) control("Строка19", i).setVisible(true);
    }
    Pump_On = pump;
    Filtr_Update = true;
    Filtr_Flag = !pump;

    // Past the rim the water runs over: the level rises no further.
    const float rim = rimVolume();
    double volume = textToNumber(control("Value").caption());
    volume += (pump ? Pump_Flow : 0) - Valve_Pos;
    Overflow = pump && volume >= rim;
    // The level stands between the rim and the outlet; past the outlet the
    // tank is dry and nothing more runs out.
    volume = std::clamp<double>(volume, outletVolume(), rim);
    control("Value").setCaption(numberToText(volume));

    Was_Pumping = pump;
    Control& ball = control("Stoper");
    ball.setLeft(pump ? control("Border").x2() : control("Border").x1());
    moveWater(lamp, control("Capacitor").top());
    if (!Tank_Dry) {
        const Control& tank = control("Capacitor");
        water.setHeight(tank.top() + tank.height() - water.top());
    }
    moveFloatLinkage();
    for (int i = 0; i <= 3; ++i) control("Spill", i).setVisible(Overflow);
    control("Overflow_Lab").setVisible(Overflow);

    const bool wasClogged = control("Kont_F_Com").y1() == control("Kont_F_NO").y2();
    if (drawManometerContact() && !wasClogged) {
        for (const char* spark : {"Spark_F_1", "Spark_F_2", "Spark_F_3"})
            control(spark).setVisible(true);
    }
}

// The counters the controller reads from its line: 8 / 1 is the flow count.
Controller::Counters Objectt::lineCounters() {
    const double count = std::clamp(flowCount(), 0.0,
                                    static_cast<double>(std::numeric_limits<std::uint32_t>::max()));
    return {static_cast<std::uint32_t>(count), 0, 0, 0};
}

// A contact that closes sparks for one tick, as the demonstration shows it.
void Objectt::showSwitchSparks(std::uint32_t before, std::uint32_t after) {
    if (!bitOf(before, terminal::kUpperSwitch) && bitOf(after, terminal::kUpperSwitch)) {
        for (const char* spark : {"Spark1", "Spark2", "Spark5"}) control(spark).setVisible(true);
    }
    if (!bitOf(before, terminal::kLowerSwitch) && bitOf(after, terminal::kLowerSwitch)) {
        for (const char* spark : {"Spark3", "Spark4", "Spark6"}) control(spark).setVisible(true);
    }
}

// The outputs on the scheme: the LEDs of outputs 1..6, the lamps, the relay
// contacts, the pump's rotor, and what runs while the controller does.
void Objectt::showOutputs() {
    for (int k = 1; k <= terminal::kLedOutputs; ++k)
        light(*outputLed(*this, k), output(controller_, k) ? kLit : kDark);
    if (output(controller_, terminal::kGreenLamp))
        control("Lampa_Green").setFillColor(kGreenLit);
    else
        light(control("Lampa_Green"), kDark);
    light(control("Lampa_Red"), output(controller_, terminal::kAccident) ? kLit : kDark);

    Control& pumpLever = control("Строка20", 36);
    Control& lampLever = control("Строка20", 74);
    pumpLever.setX2(output(controller_, terminal::kPumpRelay) ? control("Строка20", 37).x2()
                                                              : control("Строка19", 4).x1());
    lampLever.setX1(output(controller_, terminal::kUvLampRelay) ? control("Строка20", 73).x2()
                                                                : control("Строка19", 67).x1());
    if (output(controller_, terminal::kPumpRelay)) turnRotorBlades();

    ++Flow_Tick;
    moveNeedle();
    blinkInterfaceLeds();
    shimmerWaterArrows();
    showCounter();
    writeStatusFromOutputs();
}

// Readers of the status code see what the outputs say: the accident, else
// the pump, else a dry tank, else the pump off with water.
void Objectt::writeStatusFromOutputs() {
    ProcessStatus status = ProcessStatus::PumpOff;
    if (output(controller_, terminal::kAccident))
        status = ProcessStatus::Accident;
    else if (output(controller_, terminal::kPumpRelay))
        status = ProcessStatus::PumpOn;
    else if (Tank_Dry)
        status = ProcessStatus::TankDry;
    writeProcessStatus(app(), status);
}

// The valve is the learner's: "+" while it can open further, "--" while it
// can close.
void Objectt::fitValveButtons() {
    Control& up = control("Hand_Upp");
    Control& down = control("Hand_Down");
    up.setVisible(true);
    down.setVisible(true);
    up.setEnabled(Valve_Pos < Valve_Max);
    down.setEnabled(Valve_Pos > Valve_Min);
}

}  // namespace vk41
