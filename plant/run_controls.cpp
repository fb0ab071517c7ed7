// RUN, STOP and Restart, the draw-off valve buttons, the mode options and
// the attention blinker.
#include <array>
#include <cmath>

#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

namespace {

enum RunButton { kRun = 0, kStop = 1, kRestart = 2 };

// The option Radix(3), "Работа по программе": no narration, the plant runs
// on the controller's outputs.
constexpr int kProgramMode = 3;

struct Mode {
    const char* startTime;  // set by RUN from time "0"
    const char* endLine;    // the hidden line whose end marks the track's end
    bool endAtX2;
};

// The options Radix(0), (1), (2).
constexpr std::array<Mode, 3> kModes = {{
    {"0", "LineRep", true},  // "Описание и демонстрация"
    {"0", "BegRep", false},  // "Описание"
    {"40", "BegRep", true},  // "Демонстрация"
}};

// The hint labels a mode click restores, in this order.
constexpr std::array<int, 18> kRestoredHints = {0,  6,  2,  16, 3, 4, 14, 12, 17,
                                                19, 18, 20, 10, 7, 8, 13, 11, 15};

constexpr double kHandlePi = 3.141592617;

constexpr const char* kProgramComment =
    "Работа по программе. Контроллер ВК-41 каждые 100 мс читает свои входы, выполняет "
    "операторы 1–14 блока условий и выдаёт выходы: насос, УФ-лампа и сигнальные лампы "
    "подчиняются программе. Вентилем разбора управляйте кнопками «+» и «--».";

}  // namespace

void Objectt::bindRunControls() {
    onClick("Vis", [this](int index) { Vis_Click(index); });
    onClick("Hand_Upp", [this](int) { Hand_Upp_Click(); });
    onClick("Hand_Down", [this](int) { Hand_Down_Click(); });
    onClick("Radix", [this](int index) { Radix_Click(index); });
    onTimer("Часы1", [this] {
        if (programMode())
            programTick();
        else
            processTick();
    });
    onTimer("Часы2", [this] { demoTick(); });
    onTimer("Часы3", [this] { attentionBlink(); });
}

void Objectt::enableModes(bool enabled) {
    for (int i = 0; i <= kProgramMode; ++i) control("Radix", i).setEnabled(enabled);
}

bool Objectt::programMode() {
    return control("Radix", kProgramMode).value();
}

bool Objectt::running() {
    return control("Часы1").enabled() || control("Часы2").enabled();
}

void Objectt::Vis_Click(int index) {
    enableModes(false);
    // The line controller and the flow counter are powered from the first click.
    for (int i = 0; i <= 2; ++i) {
        control("Форма28", i).setFillColor(rgb(0x80FF80));
        control("Форма28", i).setBorderColor(rgb(0x00C000));
    }
    control("Форма26").setFillColor(rgb(0x80FF80));
    control("Форма26").setBorderColor(rgb(0x00C000));

    switch (index) {
        case kRun: {
            enableModes(false);
            if (programMode()) {
                // No narration: the process tick and the controller cycle run.
                Process_On = true;
                control("Часы1").setEnabled(true);
                control("Coments").setCaption(kProgramComment);
                control("Object", 54).setBackColor(control("Rad").backColor());
            } else {
                Process_On = textToNumber(control("Time").caption()) > 41;
                control("Часы1").setEnabled(Process_On);
                control("Часы2").setEnabled(true);
            }
            control("Vis", 0).setEnabled(false);
            control("Vis", 1).setEnabled(true);
            control("Vis", 2).setEnabled(true);
            break;
        }
        case kStop:
            enableModes(true);
            Process_On = false;
            control("Часы2").setEnabled(false);
            control("Часы1").setEnabled(false);
            control("Vis", 0).setEnabled(true);
            control("Vis", 1).setEnabled(false);
            control("Vis", 2).setEnabled(true);
            break;
        case kRestart:
            Restart();
            break;
        default:
            break;
    }
    if (index != kRun || control("Time").caption() != "0") return;
    for (int i = 0; i <= 2; ++i)
        if (control("Radix", i).value()) control("Time").setCaption(kModes[i].startTime);
}

// The learner restarts the plant, not the lesson: "Работа по программе" stays
// chosen and the program loaded, while its flags and outputs start over.
void Objectt::Restart() {
    const bool program = programMode();
    app().restart(kObjectt);
    Time_Value = 0.0;
    controller_.restart();
    Overflow = false;
    if (program) control("Radix", kProgramMode).setValue(true);
}

void Objectt::Hand_Upp_Click() {
    Down_Visible = true;
    Valve_Pos = Valve_Pos + 1;
    if (Valve_Pos >= Valve_Max) {
        Valve_Pos = Valve_Max;
        Upp_Visible = false;
    }
    drawHandle();
    if (programMode()) fitValveButtons();
}

void Objectt::Hand_Down_Click() {
    Upp_Visible = true;
    Valve_Pos = Valve_Pos - 1;
    if (Valve_Pos <= Valve_Min) {
        Valve_Pos = Valve_Min;
        Down_Visible = false;
    }
    drawHandle();
    if (programMode()) fitValveButtons();
}

// The handle turns about its fixed start from horizontal (closed) to
// vertical (open), 9 degrees a step.
void Objectt::drawHandle() {
    Control& handle = control("Handlerrr");
    const double alpha = Valve_Pos * kHandlePi / (Valve_Max * 2);
    handle.setY2(static_cast<float>(handle.y1() + Handle_Len * std::sin(alpha)));
    handle.setX2(static_cast<float>(handle.x1() + Handle_Len * std::cos(alpha)));
}

void Objectt::Radix_Click(int index) {
    if (index < 0 || index > kProgramMode) return;
    Control& track = control("Строка20", 32);
    if (index == kProgramMode) {
        fitValveButtons();
    } else {
        const Mode& mode = kModes[static_cast<std::size_t>(index)];
        const Control& end = control(mode.endLine);
        track.setX2(mode.endAtX2 ? end.x2() : end.x1());
    }
    control("Time").setCaption("0");
    Control& marker = control("Строка20", 29);
    marker.setX1(track.x1());
    marker.setX2(marker.x1());
    for (int k : kRestoredHints) control("Object", k).setBackColor(Normal_Color);
}

// Until the demonstration time leaves 0 the comment box and the RUN hint
// blink once a second; a program that runs has nothing to wait for.
void Objectt::attentionBlink() {
    Control& hint = control("Object", 54);
    const Colour frame = control("Rad").backColor();
    const double time = asNumber(Time_Value);
    if (time == 0 && !(programMode() && Process_On)) {
        Control& comments = control("Coments");
        comments.setBackColor(comments.backColor() == rgb(0xFFFFFF) ? rgb(0xEFEFEF)
                                                                    : rgb(0xFFFFFF));
        hint.setBackColor(hint.backColor() == rgb(0xFFC080) ? frame : rgb(0xFFC080));
    }
    if (time == 1) hint.setBackColor(frame);
}

}  // namespace vk41
