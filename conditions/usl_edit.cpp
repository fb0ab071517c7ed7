#include "conditions/usl_edit.h"

#include <optional>
#include <string_view>

#include "conditions/program_file.h"
#include "modbus/memory_map.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

using notation::Column;

// A cell that does not read, marked as the Modbus window marks a number it
// does not take.
constexpr Colour kMarked = rgb(0xFF0000);
// The scheme's option Radix(3), "Работа по программе".
constexpr int kProgramOption = 3;

constexpr Colour kNumberColour = rgb(0xE0E0E0);
// Edits kept for undo; older ones are let go.
constexpr std::size_t kUndoSteps = 100;

constexpr const char* kTitle = "Программа блока условий";
constexpr const char* kFilter = "Программа блока условий (*.tsv)";
constexpr const char* kTabInComment =
    "в комментарии не может быть табуляции: он записывается в один столбец файла";
constexpr const char* kBreakInComment =
    "в комментарии не может быть перевода строки: он записывается в одну строку файла";

// The column of each cell of a row, by its place c in the row; c = 7 has none.
// clang-format off
constexpr std::array<Column, 8> kRowColumns = {
    Column::Kind,    Column::First,     Column::Second,    Column::Output,
    Column::ValueIf, Column::ValueElse, Column::DependsOn, Column::Comment,
};
// clang-format on

int placeOf(Column column) {
    return column == Column::Comment ? 8 : static_cast<int>(column) - 1;
}

bool meaningful(const Operator& op, Column column) {
    if (column == Column::Kind || column == Column::Comment) return true;
    if (op.kind == Comparison::None) return false;
    const bool value = column == Column::ValueIf || column == Column::ValueElse;
    return !value || op.output != 0;
}

std::string withMeaning(std::string text, const std::string& meaning) {
    return meaning.empty() ? text : text + " — " + meaning;
}

std::string terminalMeaning(const char* what, int k, const char* wiring) {
    std::string text = what + std::to_string(k);
    return wiring ? text + ", " + wiring : text;
}

std::string flagMeaning(int k) {
    return k <= kOperators ? "флаг оператора " + std::to_string(k)
                           : std::string("его не поднимает ни один оператор");
}

// What an operand means in this installation, as its list entry says it.
std::string operandMeaning(const Operand& operand) {
    const int k = operand.number;
    switch (operand.kind) {
        case OperandKind::Input:
            return terminalMeaning("вход ", k, memory_map::inputWiring(k));
        case OperandKind::Output:
            return terminalMeaning("выход ", k, memory_map::outputWiring(k));
        case OperandKind::Flag:
            return flagMeaning(k);
        case OperandKind::Counter:
            return memory_map::counters()[static_cast<std::size_t>(k - 1)].name;
        default:
            return {};
    }
}

std::string operandEntry(const Operand& operand) {
    return withMeaning(notation::operandText(operand), operandMeaning(operand));
}

std::string outputEntry(int k) {
    const char* wiring = k == 0 ? nullptr : memory_map::outputWiring(k);
    return withMeaning(notation::outputText(k), wiring ? wiring : "");
}

std::string dependsEntry(int k) {
    return withMeaning(notation::dependsText(k), k == 0 ? "" : flagMeaning(k));
}

std::vector<std::string> operandList() {
    std::vector<std::string> list;
    for (int k = 1; k <= kDiscreteTerminals; ++k)
        list.push_back(operandEntry({OperandKind::Input, k}));
    for (int k = 1; k <= kDiscreteTerminals; ++k)
        list.push_back(operandEntry({OperandKind::Output, k}));
    for (int k = 1; k <= kConditionFlags; ++k) list.push_back(operandEntry({OperandKind::Flag, k}));
    for (int n = 1; n <= kLineCounters; ++n)
        list.push_back(operandEntry({OperandKind::Counter, n}));
    for (int value : {0, 1}) list.push_back(operandEntry({OperandKind::Constant, value}));
    return list;
}

template <typename Entry>
std::vector<std::string> numbered(int most, Entry entry) {
    std::vector<std::string> list;
    for (int k = 0; k <= most; ++k) list.push_back(entry(k));
    return list;
}

// The legal values of a column, as its cells list them.
const std::vector<std::string>& listOf(Column column) {
    static const std::vector<std::string> kinds = {
        notation::kindText(Comparison::None), notation::kindText(Comparison::Equal),
        notation::kindText(Comparison::NotEqual), notation::kindText(Comparison::Greater),
        notation::kindText(Comparison::Less)};
    static const std::vector<std::string> operands = operandList();
    static const std::vector<std::string> outputs = numbered(kDiscreteTerminals, outputEntry);
    static const std::vector<std::string> values = {notation::valueText(0), notation::valueText(1)};
    static const std::vector<std::string> flags = numbered(kConditionFlags, dependsEntry);
    static const std::vector<std::string> none;
    switch (column) {
        case Column::Kind:
            return kinds;
        case Column::First:
        case Column::Second:
            return operands;
        case Column::Output:
            return outputs;
        case Column::ValueIf:
        case Column::ValueElse:
            return values;
        case Column::DependsOn:
            return flags;
        default:
            return none;
    }
}

// What a good cell's tooltip says: the meaning of its value, or the whole
// comment, which the cell is too narrow to show.
std::string meaningOf(const Operator& op, Column column) {
    switch (column) {
        case Column::First:
            return operandMeaning(op.first);
        case Column::Second:
            return operandMeaning(op.second);
        case Column::Output:
            return op.output == 0 ? std::string() : outputEntry(op.output);
        case Column::DependsOn:
            return op.dependsOn == 0 ? std::string() : dependsEntry(op.dependsOn);
        case Column::Comment:
            return op.comment;
        default:
            return {};
    }
}

// A comment is written into one column of one line of the file.
std::optional<std::string> commentProblem(std::string_view text) {
    if (text.find('\t') != std::string_view::npos) return kTabInComment;
    if (text.find_first_of("\r\n") != std::string_view::npos) return kBreakInComment;
    return std::nullopt;
}

// The first operator whose comment the file could not write back as read.
int commentWithTab(const Program& program) {
    for (int k = 1; k <= kOperators; ++k)
        if (program.at(k).comment.find('\t') != std::string::npos) return k;
    return 0;
}

// A typed text as an error quotes it: a long one is cut at a character's end.
std::string quotedText(std::string_view text) {
    constexpr std::size_t kLongest = 60;
    if (text.size() <= kLongest) return "«" + std::string(text) + "»";
    std::size_t end = kLongest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "«" + std::string(text.substr(0, end)) + "…»";
}

}  // namespace

const FormDesign& UslEdit::layout() {
    return embeddedDesign("usl_edit.form");
}

int UslEdit::cellIndex(int k, Column column) {
    return kRowCells * (k - 1) + placeOf(column);
}

UslEdit::UslEdit(App& app) : DebuggingForm(app, layout()) {
    onChange("Cell", [this](int cell) { edited(cell, true); });
    onPick("Cell", [this](int cell) { edited(cell, false); });
    onClick("Load", [this](int) { loadIntoController(); });
    onClick("Factory", [this](int) {
        replaceAll(factoryProgram());
        say("В редакторе заводская программа; в контроллер она ещё не загружена.");
    });
    onClick("Open", [this](int) { openFile(); });
    onClick("Save_As", [this](int) { saveAs(); });
    onMenu("Undo", [this] { undo(); });
    onMenu("Redo", [this] { redo(); });
    onClick("Row_No", [this](int row) { toggleOperatorBreak(this->app(), row + 1); });
    onTimer("Dbg_Clock", [this] { showDebugging(); });
}

// Each opening shows the program the controller holds: edits not saved were
// given up when the window closed.
void UslEdit::onLoad() {
    for (int k = 1; k <= kOperators; ++k)
        for (Column column : kRowColumns)
            control("Cell", cellIndex(k, column)).setItems(listOf(column));
    undo_.clear();
    redo_.clear();
    typing_ = -1;
    showContent(contentOf(app().form<Objectt>(kObjectt).controller().program()));
    present_ = saved_ = current();
    say("В редакторе программа, загруженная в контроллер.");
    forgetDebugging();
    showDebugging();
}

// The numbers show the operator about to run and the breakpoints.
void UslEdit::showStepping() {
    const Controller& c = app().form<Objectt>(kObjectt).controller();
    const int next = operatorAboutToRun(app());
    for (int k = 1; k <= kOperators; ++k) {
        Control& number = control("Row_No", k - 1);
        const BreakMark mark = operatorBreak(c, k);
        number.setCaption((mark == BreakMark::On    ? "●"
                           : mark == BreakMark::Off ? "○"
                                                    : "") +
                          std::to_string(k));
        number.setForeColor(mark == BreakMark::None ? kBlack : kBreakColour);
        number.setBackColor(k == next ? kNextColour : kNumberColour);
    }
}

// Keys typed into one cell one after another make one step of undo, as a
// value is typed; a pick from the list is a step of its own.
void UslEdit::edited(int cell, bool typing) {
    refresh(Texts::Edited);
    Content now = current();
    if (now != present_) {
        if (!typing || typing_ != cell) remember(present_);
        redo_.clear();
        present_ = std::move(now);
    }
    typing_ = typing ? cell : -1;
}

void UslEdit::remember(const Content& before) {
    undo_.push_back(before);
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
}

void UslEdit::refresh(Texts texts) {
    findings_.clear();
    for (int k = 1; k <= kOperators; ++k) refreshRow(k, texts);
    for (Finding& warning : checkProgram(program_)) findings_.push_back(std::move(warning));
    control("Check_List").setText(checkListText(findings_));
}

// The row's cells read in order into its last good operator: the kind and
// the output decide which of the later cells mean anything.
void UslEdit::refreshRow(int k, Texts texts) {
    Operator op = program_.at(k);
    for (Column column : kRowColumns) readCell(k, column, op, texts);
    program_.at(k) = std::move(op);
}

// A cell out of use shows what the row holds ("-"); one that comes into use
// by an edit starts from what the row holds there ("0 р3", "нет", or "-"
// for an operand still to be given).
void UslEdit::readCell(int k, Column column, Operator& op, Texts texts) {
    Control& cell = control("Cell", cellIndex(k, column));
    const bool used = meaningful(op, column);
    const bool cameIntoUse = used && !cell.enabled() && texts == Texts::Edited;
    cell.setEnabled(used);
    if (!used || cameIntoUse) cell.setText(notation::cell(op, column));
    std::optional<std::string> why;
    if (used && column == Column::Comment) why = commentProblem(cell.text());
    if (used && !why) why = notation::readCell(op, column, cell.text());
    cell.setBackColor(why ? kMarked : cell.design().props.backColor);
    cell.setToolTip(why ? *why : used ? meaningOf(op, column) : std::string());
    if (why)
        findings_.push_back({k, Severity::Error,
                             std::string("столбец «") + notation::title(column) +
                                 "»: " + quotedText(cell.text()) + " — " + *why});
}

UslEdit::Content UslEdit::current() {
    Content content{program_, {}};
    for (int k = 1; k <= kOperators; ++k)
        for (Column column : kRowColumns) {
            const auto i = static_cast<std::size_t>(cellIndex(k, column));
            content.texts[i] = control("Cell", static_cast<int>(i)).text();
        }
    return content;
}

UslEdit::Content UslEdit::contentOf(const Program& program) {
    Content content{program, {}};
    for (int k = 1; k <= kOperators; ++k)
        for (Column column : kRowColumns)
            content.texts[static_cast<std::size_t>(cellIndex(k, column))] =
                notation::cell(program.at(k), column);
    return content;
}

void UslEdit::showContent(const Content& content) {
    program_ = content.program;
    for (int k = 1; k <= kOperators; ++k)
        for (Column column : kRowColumns) {
            const int i = cellIndex(k, column);
            control("Cell", i).setText(content.texts[static_cast<std::size_t>(i)]);
        }
    refresh(Texts::Kept);
}

// A whole table put into the editor is one step of undo.
void UslEdit::replaceAll(const Program& program) {
    const Content before = present_;
    showContent(contentOf(program));
    present_ = current();
    typing_ = -1;
    if (present_ == before) return;
    remember(before);
    redo_.clear();
}

void UslEdit::undo() {
    typing_ = -1;
    if (undo_.empty()) return say("Отменять нечего.");
    redo_.push_back(std::move(present_));
    present_ = std::move(undo_.back());
    undo_.pop_back();
    showContent(present_);
}

void UslEdit::redo() {
    typing_ = -1;
    if (redo_.empty()) return say("Повторять нечего.");
    undo_.push_back(std::move(present_));
    present_ = std::move(redo_.back());
    redo_.pop_back();
    showContent(present_);
}

// The controller takes the program at its next cycle, with its outputs and
// flags as they stand; an idle scheme is switched to run it.
void UslEdit::loadIntoController() {
    if (hasErrors(findings_))
        return say(
            "Программа не загружена в контроллер: в ней есть ошибки — ячейки, отмеченные "
            "красным, их причины в списке проверки.");
    Objectt& scheme = app().form<Objectt>(kObjectt);
    scheme.controller().load(program_);
    std::string said =
        "Программа загружена в контроллер: он выполняет её со следующего цикла, с выходами и "
        "флагами, как они стоят.";
    if (!scheme.programMode() && !scheme.running()) {
        scheme.control("Radix", kProgramOption).setValue(true);
        said += " Схема переключена в режим «Работа по программе»: нажмите на ней RUN.";
    } else if (!scheme.programMode()) {
        said +=
            " Схема работает в другом режиме: программа выполняется в режиме «Работа по "
            "программе».";
    }
    say(said);
}

void UslEdit::openFile() {
    const std::optional<std::string> file =
        app().dialogs().openFile("Открыть программу блока условий", kFilter);
    if (!file) return;
    ProgramRead read = readProgramFile(*file);
    if (read.program)
        if (const int k = commentWithTab(*read.program))
            read = {std::nullopt, *file + ": оператор " + std::to_string(k) +
                                      ", столбец «Комментарий»: " + kTabInComment};
    if (!read.program) return say(read.error + ". Программа в редакторе осталась прежней.");
    replaceAll(*read.program);
    saved_ = present_;
    file_ = *file;
    say("Открыт файл " + *file + ".");
}

// Returns whether the program is in the file.
bool UslEdit::saveAs() {
    if (hasErrors(findings_)) {
        say("Программа не сохранена: в ней есть ошибки, и файл получил бы вместо отмеченных "
            "ячеек их прежние значения.");
        return false;
    }
    const std::optional<std::string> file = app().dialogs().saveFile(
        "Сохранить программу блока условий", kFilter, file_.empty() ? "программа.tsv" : file_);
    if (!file) return false;
    if (const std::string error = writeProgramFile(*file, program_); !error.empty()) {
        say(error + ". Программа не сохранена, изменения остались в редакторе.");
        return false;
    }
    saved_ = present_;
    file_ = *file;
    say("Программа сохранена в файл " + *file + ".");
    return true;
}

bool UslEdit::mayClose() {
    if (!unsaved()) return true;
    switch (app().dialogs().ask(kTitle, "Сохранить изменения программы?",
                                {"Сохранить", "Не сохранять", "Отмена"})) {
        case 0:
            return saveAs();
        case 1:
            return true;
        default:
            return false;
    }
}

void UslEdit::say(const std::string& message) {
    control("Message_Lab").setCaption(message);
}

}  // namespace vk41
