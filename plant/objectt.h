#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "conditions/controller.h"
#include "plant/trend.h"
#include "ui/form.h"
#include "ui/value.h"

namespace vk41 {

// The installation scheme, the heart of the program: the plant state, the
// load set-up and the methods that move and colour the scheme's elements.
class Objectt : public Form {
  public:
    explicit Objectt(App& app);

    static const FormDesign& layout();

    // Animation methods, called by the process and demonstration ticks.
    // Turns one turbine arrow, a segment of 2 * Arrow_Len centred on (Xx, YY).
    void Rotate_Arrow(Control& X, double Index_Arrow, double Xx, double YY, bool On_Hour,
                      std::int16_t Speed);
    // Turns the flow-meter pointer; its reed contact counts the flow into
    // `Itog` once per closure and soils the filter while closed.
    void Rotate_Line(Control& X, bool On_Hour, std::int16_t Speed, std::int16_t Length);
    // Moves the manometer needle one step within 0..Max_K.
    void Rotate_Filtr(bool& On_Hour, std::int16_t Max_K);
    // Switches the UV lamp's glow and recolours its rays.
    void Lamp(bool On_Off);
    // Shows or hides the inflow arrow (Num 1); Blink is accepted and ignored.
    void Water_Arrow(std::int16_t Num, std::int16_t On_Off, std::int16_t Blink = 0);

    // The plant state: window variables, with the design's names.
    double Pump_Flow{0};
    double Valve_Pos{0};
    double Valve_Min{0}, Valve_Max{0};
    double Vol_Max{0}, Vol_Min{0};
    std::int16_t Vol_Span{0};
    Value Pump_On;  // kept across a restart
    bool Tank_Dry{false};
    double Flow_Phase{0};
    double Phase_0{0}, Phase_1{0};
    std::array<double, 5> Blade_Angle{};  // indices 1..4; 0 unused
    std::int16_t Rotor_R{0};
    double Rotor_Step{0};
    double Arrow_Step{0};
    double Two_Pi{0};
    std::int16_t Arrow_Len{0};
    double Gauge_Base{0};
    double Gauge_Div{0};
    float Handle_Len{0};
    bool Upp_Visible{false};
    bool Down_Visible{false};
    bool Filtr_Update{false};
    bool Filtr_Flag{false};  // kept
    Colour Water_Color;
    Colour Empty_Color;
    Colour Normal_Color;
    Colour Light_Color;
    bool Process_On{false};
    Value Time_Value;  // kept; Restart sets 0
    double Cnt_I{0};
    std::array<std::int16_t, 8> Cnt_Digit{};  // kept

    // Run controls: RUN (0), STOP (1), Restart (2); the valve; the modes.
    void Vis_Click(int index);
    void Hand_Upp_Click();
    void Hand_Down_Click();
    void Radix_Click(int index);
    // Unloads the window and shows it again; the caller's handler goes on
    // with the reloaded controls.
    void Restart();

    // The ВК-41 running its conditions block. It lives as long as the window:
    // a restart lowers its flags and opens its outputs but keeps its program.
    Controller& controller() { return controller_; }
    const Controller& controller() const { return controller_; }
    // The plant's last ten minutes of "Работа по программе", a sample a tick.
    const Trend& trend() const { return trend_; }
    // "Работа по программе" is chosen: the plant obeys the controller's outputs.
    bool programMode();
    // RUN has been pressed and STOP not: the process or the demonstration runs.
    bool running();
    // The tank runs over its rim: the program let the pump fill it past the top.
    bool Overflow{false};
    // Stepping the paused controller: the rest of the cycle or a whole one,
    // or its next operator. The plant moves only between cycles, by the
    // outputs of the cycle completed last.
    void stepCycle();
    void stepOperator();
    // Forcing the controller's terminal k, marked with "F" on the scheme at
    // once, whether the controller runs or stands (plant/forcing.cpp).
    void forceInput(int k, bool on);
    void forceOutput(int k, bool on);
    void unforceInput(int k);
    void unforceOutput(int k);
    void unforceAll();
    void showForcing();

    // The controller serves a Modbus bus: its slave port's LED Led_S then
    // flashes for each answer sent, instead of the demonstration's blink.
    bool Port_Serving{false};  // kept
    void portServing(bool on);
    void portAnswered();

    // Statics of the animation methods, kept for the life of the window.
    std::int16_t Arrow_Tick{0};
    bool Kont_Closed{false};
    std::int16_t Gauge_K{0};
    bool Was_Pumping{false};  // the process tick's pump state of this tick

    // Counters of the demonstration tick, kept across a restart.
    std::int16_t Sec_Tick{0};  // 11 ticks make one unit of demonstration time
    std::int16_t Demo_End{0};
    std::int16_t Flow_Tick{0};
    std::int16_t Rotor_Pos{0};
    std::int16_t Slave_Tick{0};

  protected:
    void onLoad() override;

  private:
    void bindRunControls();
    void enableModes(bool enabled);
    void drawHandle();
    void attentionBlink();

    void demoTick();
    double readTime();
    void runScriptRow(double time);
    void moveMarker();
    double flowCount();
    void showOutput3();
    void accidentStatus();
    void moveNeedle();
    void turnRotor();
    void filterAlarm();
    void blinkInterfaceLeds();
    void shimmerWaterArrows();
    void showCounter();

    void processTick();
    void drawRelayContacts();
    void drawOutlet();
    void hideSparks();
    double levelControl();
    void moveWater(bool lampOn, float rim);
    bool drawManometerContact();
    void turnRotorBlades();

    void programTick();
    void obeyOutputs();
    Controller::Counters lineCounters();
    void afterCycle(std::uint32_t inputsBefore);
    void showOutputs();
    void showSwitchSparks(std::uint32_t before, std::uint32_t after);
    void fitValveButtons();
    void writeStatusFromOutputs();
    float volumeAt(float top);
    float rimVolume();
    float outletVolume();
    void moveFloatLinkage();

    void layOutCounterDisplay();
    void placeRotorBlades();
    void registerVariables();

    std::minstd_rand random_{41};  // the UV lamp's flicker
    Controller controller_;
    Trend trend_;
    void bindForcing();
    void forceZoneClick(int k);
    std::string forceZoneTip(int k);
};

}  // namespace vk41
