// The scheme window's set-up, run on every load: first show and every restart.
#include <cmath>

#include "plant/objectt.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

constexpr const char* kIntroduction =
    "Демонстрационная программа. Для получения сведений о том или ином объекте наведите на него "
    "курсор. Если необходимо приостановить процесс выполнения программы нажмите клавишу <<STOP>>. "
    "Если необходимо перезапустить программу нажмите клавишу <<Restart>>. Для начала "
    "демонстрации нажмите кнопку <<RUN>> в левом нижнем углу экрана";

// The seven-digit counter display: digit 0 is the rightmost.
constexpr int kDigits = 7;
constexpr double kSegment = 60;  // segment length
constexpr double kHalf = 90;     // half the digit's height
constexpr double kGap = 40;      // between digits and round the window
constexpr double kPitch = kSegment + kGap;

void place(Control& line, double x1, double y1, double x2, double y2) {
    line.setX1(static_cast<float>(x1));
    line.setY1(static_cast<float>(y1));
    line.setX2(static_cast<float>(x2));
    line.setY2(static_cast<float>(y2));
}

}  // namespace

void Objectt::onLoad() {
    control("Hand_Upp").setVisible(false);
    control("Hand_Down").setVisible(false);
    Normal_Color = kButtonFace;
    Light_Color = rgb(0xFFC0C0);
    // Every digit shows 0: all segments but the middle one.
    for (Cnt_I = 0; Cnt_I <= 6; ++Cnt_I) control("H", static_cast<int>(Cnt_I)).setVisible(false);

    Water_Color = rgb(0xD8FFFF);
    Empty_Color = rgb(0xFFFFFF);
    control("Clear_W").setFillColor(Water_Color);
    control("Ost_Top").setFillColor(Water_Color);
    control("Nipel_Tube").setFillColor(Water_Color);
    control("Woter_Flow").setBorderColor(Water_Color);
    control("Down_Part").setFillColor(Empty_Color);
    control("Ost_Dwn").setFillColor(Empty_Color);

    control("Coments").setCaption(kIntroduction);
    Process_On = false;
    Arrow_Len = 150;
    layOutCounterDisplay();

    Rotor_R = toInt16(control("L1", 1).width() * 0.7);
    Pump_Flow = 15;
    Valve_Min = 0;
    Valve_Max = 10;
    Valve_Pos = 0;
    Handle_Len = control("Handlerrr").x2() - control("Handlerrr").x1();
    Gauge_Div = 10;
    Filtr_Update = true;
    Flow_Phase = 0;
    Vol_Max = 1075;
    Vol_Min = 0;
    Gauge_Base = 9.4247779605 / 4;
    Vol_Span = toInt16(Vol_Max - Vol_Min);
    Phase_0 = 0.0 / Vol_Span / 4;
    Phase_1 = 6.283185307 / Vol_Span / 4;
    Blade_Angle = {0, 0.0 / 4, 6.283185307 / 4, 12.566370614 / 4, 18.849555921 / 4};
    Rotor_Step = 6.283185307 / 21;
    Arrow_Step = 6.283185307 / 3;
    Two_Pi = 6.283185307;
    Upp_Visible = true;
    Down_Visible = false;
    Tank_Dry = false;

    placeRotorBlades();
    const Control& mark = control("Mark_Arrow");
    Rotate_Arrow(control("Arrow1"), 1, mark.x2(), mark.y2(), false, 1);
    Rotate_Arrow(control("Arrow2"), 2, mark.x2(), mark.y2(), false, 1);
    Rotate_Arrow(control("Arrow3"), 3, mark.x2(), mark.y2(), false, 1);
}

void Objectt::layOutCounterDisplay() {
    const double ax = control("Sc_Marker").x2();
    const double ay = control("Sc_Marker").y2();
    for (Cnt_I = 0; Cnt_I <= 6; ++Cnt_I) {
        const int i = static_cast<int>(Cnt_I);
        const double x = ax - kPitch * i;
        place(control("A", i), x, ay, x + kSegment, ay);
        place(control("H", i), x, ay + kHalf, x + kSegment, ay + kHalf);
        place(control("D", i), x, ay + 2 * kHalf, x + kSegment, ay + 2 * kHalf);
        place(control("F", i), x, ay, x, ay + kHalf);
        place(control("E", i), x, ay + kHalf, x, ay + 2 * kHalf);
        place(control("B", i), x + kSegment, ay, x + kSegment, ay + kHalf);
        place(control("C", i), x + kSegment, ay + kHalf, x + kSegment, ay + 2 * kHalf);
    }
    Control& screen = control("Screen");
    screen.setLeft(static_cast<float>(control("F", kDigits - 1).x1() - kGap));
    screen.setTop(static_cast<float>(control("A", 0).y1() - kGap));
    screen.setHeight(static_cast<float>(3 * kGap + 2 * kHalf));
    screen.setWidth(static_cast<float>(9 * kGap + 7 * kSegment));
}

// The blades' top-left corners sit on the rotor circle; the hub on its centre.
void Objectt::placeRotorBlades() {
    const double cx = control("Osy_X").x1();
    const double cy = control("Osy_Y").y1();
    for (int k = 1; k <= 4; ++k) {
        control("L1", k).setLeft(static_cast<float>(cx + Rotor_R * std::cos(Blade_Angle[k])));
        control("L1", k).setTop(static_cast<float>(cy - Rotor_R * std::sin(Blade_Angle[k])));
    }
    control("OSyM").setLeft(static_cast<float>(cx));
    control("OSyM").setTop(static_cast<float>(cy));
}

}  // namespace vk41
