#include "conditions/bl_usl.h"

#include <array>
#include <string>

#include "conditions/controller.h"
#include "conditions/notation.h"
#include "conditions/program.h"
#include "modbus/controller_image.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/process_status.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

constexpr Colour kHintColour = rgb(0xFFE0C0);
constexpr Colour kHintBlink = rgb(0xFFC0C0);

// The introduction covers the table for 200 ticks (20 s); the hint then
// blinks until tick 231 and never shows again.
constexpr std::int16_t kIntroEnd = 200;
constexpr std::int16_t kHintStart = 201;
constexpr std::int16_t kHintEnd = 231;

// The options Demo(1) to Demo(3) show a fixed situation.
constexpr std::array<Situation, 3> kSituations = {Situation::TankFull, Situation::Filling,
                                                  Situation::Accident};

bool raised(std::uint32_t flags, int k) {
    return (flags >> (k - 1) & 1) != 0;
}

// The drawn table's columns, left to right, as the picture prints them: the
// ninth, the comment, is cut off at the picture's edge and keeps its dash.
constexpr std::array<notation::Column, 8> kTableColumns = {
    notation::Column::Number,    notation::Column::Kind,     notation::Column::First,
    notation::Column::Second,    notation::Column::Output,   notation::Column::ValueIf,
    notation::Column::ValueElse, notation::Column::DependsOn};

// Everything the drawn table is made of: single controls and arrays.
constexpr std::array<const char*, 6> kTableParts = {"Tab_Back",  "Tab_Head", "Tab_Line",
                                                    "Tab_Title", "Tab_Cell", "Tab_Cut"};

void showTable(Form& window, bool shown) {
    for (const char* name : kTableParts) {
        if (Control* single = window.find(name)) single->setVisible(shown);
        for (int i = 0; Control* part = window.find(name, i); ++i) part->setVisible(shown);
    }
}

// The cell of row k in column c is Tab_Cell(8(k - 1) + c).
int cellIndex(int k, std::size_t c) {
    return static_cast<int>(kTableColumns.size() * static_cast<std::size_t>(k - 1) + c);
}

// Row k's cell in column c: the number is the row's own.
std::string cellText(const Program& program, int k, std::size_t c) {
    if (kTableColumns[c] == notation::Column::Number) return std::to_string(k);
    return notation::cell(program.at(k), kTableColumns[c]);
}

}  // namespace

const FormDesign& BlUsl::layout() {
    return embeddedDesign("bl_usl.form");
}

// The zones Lab(0)..Lab(13) lie over the operators' rows; Lab(14)..Lab(16),
// around the table, clear the comment.
const std::string& BlUsl::comment(int index, const Program& program) {
    static const std::string none;
    if (index < 0 || index >= kOperators) return none;
    return program.at(index + 1).comment;
}

BlUsl::BlUsl(App& app) : DebuggingForm(app, layout()) {
    onTimer("Часы1", [this] { tick(); });
    onMouseMove("Lab", [this](int index, float, float) { Lab_MouseMove(index); });
    onMenu("Edit", [this] { this->app().open(kUslEdit); });
    onMouseMove("Num", [this](int index, float, float) { Lab_MouseMove(index); });
    onClick("Num", [this](int index) { toggleOperatorBreak(this->app(), index + 1); });
    variables_.add("Intro_Ticks", Intro_Ticks);
}

// Closing the window ends its life: opened again, it starts over with the
// introduction.
void BlUsl::onLoad() {
    Intro_Ticks = 0;
    showProgram();
    forgetDebugging();
    showDebugging();
}

void BlUsl::Lab_MouseMove(int index) {
    control("Curent_Coment").setCaption(comment(index, loadedProgram(app())));
}

// The picture prints the factory program. Any other program loaded into the
// controller, by the editor or from a file, is drawn over it on the same
// rows and columns, so the markers and the mouse zones stay on its rows;
// the factory program back, the picture shows again.
void BlUsl::showProgram() {
    const Program& program = loadedProgram(app());
    const bool drawn = program != factoryProgram();
    showTable(*this, drawn);
    if (!drawn) return;
    for (std::size_t c = 0; c < kTableColumns.size(); ++c) {
        control("Tab_Title", static_cast<int>(c)).setCaption(notation::title(kTableColumns[c]));
        for (int k = 1; k <= kOperators; ++k)
            control("Tab_Cell", cellIndex(k, c)).setCaption(cellText(program, k, c));
    }
}

void BlUsl::tick() {
    Control& hint = control("Метка1");
    hint.setVisible(false);
    ++Intro_Ticks;
    hint.setBackColor(hint.backColor() == kHintColour ? kHintBlink : kHintColour);
    if (Intro_Ticks > kIntroEnd) {
        control("Introduction").setVisible(false);
        control("Scr").setVisible(false);
    }
    // Past the hint's time it is shown and hidden again within this tick,
    // so it never appears.
    if (Intro_Ticks > kHintStart) hint.setVisible(true);
    if (Intro_Ticks > kHintEnd) {
        hint.setVisible(false);
        Intro_Ticks = kHintEnd;
    }
    showProgram();
    showSituation();
    showDebugging();
}

// The options 1 to 3 show the factory program's cycle in their situation.
// "Деморежим" follows the controller: the last cycle of its program while
// it runs one, else the process status the demonstration writes, where 0
// clears the markers, 1, 2 and 3 set them, and anything else (the process's
// 4 for a run-dry tank, 497 before the process starts, fractions) leaves
// them as they are.
void BlUsl::showSituation() {
    for (std::size_t option = 1; option <= kSituations.size(); ++option) {
        if (!control("Demo", static_cast<int>(option)).value()) continue;
        showMarkers(situationImage(kSituations[option - 1]));
        return;
    }
    if (const Controller* controller = programController(app())) {
        // Until its first cycle the controller has raised nothing to show.
        if (controller->cycles() == 0) return clearMarkers();
        return showMarkers(readController(app()));
    }
    const double code = processStatusCode(app());
    if (code == 0)
        clearMarkers();
    else if (const auto situation = situationOfStatus(code))
        showMarkers(situationImage(*situation));
}

void BlUsl::clearMarkers() {
    for (int k = 1; k <= kOperators; ++k) {
        if (Control* flag = find("Flag", k - 1)) flag->setVisible(false);
        if (Control* bar = find("Usl", k - 1)) bar->setVisible(false);
    }
}

// A flag marker shows a raised flag; a bar shows an active operator: one that
// waits for no flag, or whose flag is raised. The table is uncovered at once.
void BlUsl::showMarkers(const ControllerImage& image) {
    control("Introduction").setVisible(false);
    control("Метка1").setVisible(false);
    control("Scr").setVisible(false);
    for (int k = 1; k <= kOperators; ++k) {
        if (Control* flag = find("Flag", k - 1)) flag->setVisible(raised(image.flags, k));
        if (Control* bar = find("Usl", k - 1)) bar->setVisible(raised(image.active, k));
    }
}

void BlUsl::showStepping() {
    const Controller& c = app().form<Objectt>(kObjectt).controller();
    for (int k = 1; k <= kOperators; ++k) {
        Control& mark = control("Brk_Mark", k - 1);
        const BreakMark kind = operatorBreak(c, k);
        mark.setVisible(kind != BreakMark::None);
        mark.setFillColor(kind == BreakMark::On ? kBreakColour : kWhite);
    }
    frameRow(operatorAboutToRun(app()));
}

// The frame's lines lie on the table's lines above and below row k.
void BlUsl::frameRow(int k) {
    for (int side = 0; side < 4; ++side) control("Dbg_Box", side).setVisible(k != 0);
    if (k == 0) return;
    const Control& above = control("Tab_Line", k);
    const Control& below = control("Tab_Line", k + 1);
    const float left = above.x1(), right = above.x2(), top = above.y1(), bottom = below.y1();
    const std::array<std::array<float, 4>, 4> ends = {{{left, top, right, top},
                                                       {left, bottom, right, bottom},
                                                       {left, top, left, bottom},
                                                       {right, top, right, bottom}}};
    for (int side = 0; side < 4; ++side) {
        Control& line = control("Dbg_Box", side);
        const auto& e = ends[static_cast<std::size_t>(side)];
        line.setX1(e[0]);
        line.setY1(e[1]);
        line.setX2(e[2]);
        line.setY2(e[3]);
    }
}

}  // namespace vk41
