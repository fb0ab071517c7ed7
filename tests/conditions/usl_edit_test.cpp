// The editor of the conditions block's program, driven as a person drives
// it: cells typed and picked, files opened and saved through the dialogs,
// the program loaded into the scheme's controller, undo and redo, and the
// question when the window closes with edits not saved.
#include "conditions/usl_edit.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "case_name.h"
#include "conditions/program_file.h"
#include "plant/objectt.h"
#include "program_print.h"
#include "tools/script_driver.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

using notation::Column;

constexpr const char* kClean = "Замечаний нет: программу можно загрузить в контроллер.";
constexpr Colour kMarked = rgb(0xFF0000);
constexpr const char* kUnchanged = "Программа в редакторе осталась прежней.";
constexpr const char* kQuestion =
    "dialog = \"Программа блока условий: Сохранить изменения программы?\"\n";

// A driver argument: quoted, so blanks and tabs stay in it.
std::string arg(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

std::string cell(int k, Column column) {
    return "Usl_Edit.Cell(" + std::to_string(UslEdit::cellIndex(k, column)) + ")";
}

// The program as the driver starts it, the scheme opened and the editor
// opened from its menu; files go to a folder of the test's own.
class UslEditTest : public ::testing::Test {
  protected:
    UslEditTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "usl-edit-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
        run("menu Texttt Имитация\nmenu Objectt Программа\n");
    }
    ~UslEditTest() override {
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    void SetUp() override { ASSERT_FALSE(dir_.empty()) << "mkdtemp failed"; }

    UslEdit& editor() { return driver.app().form<UslEdit>(kUslEdit); }
    Objectt& scheme() { return driver.app().form<Objectt>(kObjectt); }

    // Runs driver lines and returns what they printed.
    std::string run(const std::string& lines) {
        std::istringstream in(lines);
        std::ostringstream err;
        out.str("");
        EXPECT_EQ(driver.run(in, err), 0) << err.str();
        return out.str();
    }
    // A property or variable as `get` prints it, without the path.
    std::string get(const std::string& path) {
        const std::string printed = run("get " + path + "\n");
        return printed.substr(path.size() + 3, printed.size() - path.size() - 4);
    }
    std::string text(int k, Column column) { return get(cell(k, column) + ".Text"); }
    // The driver reads no colour of a combo: the model's.
    Colour back(int k, Column column) {
        return editor().control("Cell", UslEdit::cellIndex(k, column)).backColor();
    }
    // A question's answer may be words apart: given to the dialogs' queue.
    void answer(const std::string& given) { driver.app().queuedDialogs().answer(given); }
    void type(int k, Column column, const std::string& typed) {
        run("text " + cell(k, column) + " " + arg(typed) + "\n");
    }
    std::string checkList() { return editor().control("Check_List").text(); }
    std::string message() { return editor().control("Message_Lab").caption(); }

    std::string file(const std::string& name) { return dir_ + "/" + name; }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Opens `path` through the editor's dialog; returns what was printed.
    std::string open(const std::string& path) {
        return run("answer " + path + "\nclick Usl_Edit.Open\n");
    }
    std::string saveAs(const std::string& path) {
        return run("answer " + path + "\nclick Usl_Edit.Save_As\n");
    }

    std::ostringstream out;
    ScriptDriver driver{out};

  private:
    std::string dir_;
};

// A program of empty rows, every kind, constants, counters and long comments.
Program variedProgram() {
    std::string longComment;
    for (int i = 0; i < 30; ++i)
        longComment += "Длинный комментарий «в кавычках», №" + std::to_string(i) + ". ";
    Program p;
    p.at(1) = {
        Comparison::Equal,        {OperandKind::Input, 5}, {OperandKind::Constant, 1}, 4, 1, 0, 0,
        "Насос от нижнего уровня"};
    p.at(2) = {
        Comparison::NotEqual, {OperandKind::Output, 4}, {OperandKind::Constant, 0}, 6, 1, 0, 1,
        longComment};
    p.at(3) = {Comparison::Greater,
               {OperandKind::Counter, 1},
               {OperandKind::Constant, 65535},
               5,
               1,
               0,
               2,
               ""};
    p.at(5) = {Comparison::Less, {OperandKind::Flag, 3}, {OperandKind::Counter, 4}, 0, 0, 0, 32,
               "Меньше"};
    p.at(14).comment = "Пустая строка с комментарием";
    return p;
}

// ---------------------------------------------------------------------------
// The table.

TEST_F(UslEditTest, OpensOnTheControllersProgramWithNothingToSave) {
    EXPECT_EQ(get("Usl_Edit.Caption"), "\"Программа блока условий\"");
    EXPECT_EQ(editor().program(), factoryProgram());
    EXPECT_EQ(text(1, Column::Kind), "\"если О1 Равен О2\"");
    EXPECT_EQ(text(1, Column::First), "\"Self / 133\"");
    EXPECT_EQ(text(4, Column::Kind), "\"Нет\"");
    EXPECT_EQ(editor().control("Cell", UslEdit::cellIndex(1, Column::Comment)).text(),
              factoryProgram().at(1).comment);
    EXPECT_EQ(checkList(), kClean);
    EXPECT_FALSE(editor().unsaved());
    EXPECT_EQ(run("close Usl_Edit\nget Usl_Edit.Loaded\n"), "Usl_Edit.Loaded = False\n");
}

TEST_F(UslEditTest, OpensOnAProgramLoadedBeforeIt) {
    const std::string path = file("varied.tsv");
    write(path, programText(variedProgram()));
    run("close Usl_Edit\nprogram " + path + "\nmenu Objectt Программа\n");
    EXPECT_EQ(editor().program(), variedProgram());
    EXPECT_EQ(text(3, Column::First), "\"8 / 1\"");
}

TEST_F(UslEditTest, TitlesAndNumbersStandOverAndBesideTheCells) {
    for (Column column : {Column::Kind, Column::First, Column::Second, Column::Output,
                          Column::ValueIf, Column::ValueElse, Column::DependsOn, Column::Comment}) {
        const int c = UslEdit::cellIndex(1, column);
        EXPECT_EQ(editor().control("Head", c).caption(), notation::title(column)) << c;
    }
    for (int k = 1; k <= kOperators; ++k) {
        EXPECT_EQ(editor().control("Row_No", k - 1).caption(), std::to_string(k));
        EXPECT_EQ(editor().find("Cell", UslEdit::kRowCells * (k - 1) + 7), nullptr) << k;
        EXPECT_EQ(editor().control("Cell", UslEdit::cellIndex(k, Column::Kind)).top(),
                  editor().control("Row_No", k - 1).top());
    }
    EXPECT_LE(editor().design().width, 19000);
    EXPECT_LE(editor().design().height, 11000);
}

// Every entry of every list reads, and gives the value it names.
TEST_F(UslEditTest, EveryListEntryReadsAsTheValueItStartsWith) {
    type(1, Column::Output, "self / D3");
    for (Column column : {Column::Kind, Column::First, Column::Second, Column::Output,
                          Column::ValueIf, Column::ValueElse, Column::DependsOn}) {
        const std::vector<std::string> items =
            editor().control("Cell", UslEdit::cellIndex(1, column)).items();
        ASSERT_FALSE(items.empty());
        for (const std::string& item : items) {
            if (item == "Нет") continue;  // would disable the row's other cells
            run("pick " + cell(1, column) + " " + arg(item) + "\n");
            EXPECT_NE(back(1, column), kMarked) << item;
            const std::string shown = notation::cell(editor().program().at(1), column);
            EXPECT_EQ(item.substr(0, item.find(" — ")), shown) << item;
            if (column == Column::Output) type(1, Column::Output, "self / D3");
        }
        type(1, column, notation::cell(factoryProgram().at(1), column));
    }
}

TEST_F(UslEditTest, ListsNameWhatTheInstallationWiresToTheOperands) {
    const auto& operands = editor().control("Cell", UslEdit::cellIndex(1, Column::First)).items();
    for (const char* entry :
         {"Self / 6 — вход 6, верхний концевой выключатель", "Self / 132 — выход 4, реле насоса",
          "Self / 1 — вход 1", "8 / 1 — счётчик расхода воды (ИМ-9)", "У/Ф N2 — флаг оператора 2",
          "0", "1"})
        EXPECT_NE(std::find(operands.begin(), operands.end(), entry), operands.end()) << entry;
    EXPECT_EQ(operands.size(), 32u + 32 + 32 + 4 + 2);
    const auto& outputs = editor().control("Cell", UslEdit::cellIndex(1, Column::Output)).items();
    EXPECT_EQ(outputs.front(), "нет");
    EXPECT_EQ(outputs[4], "self / D4 — реле насоса");
    EXPECT_EQ(outputs[7], "self / D7");
    const auto& flags = editor().control("Cell", UslEdit::cellIndex(1, Column::DependsOn)).items();
    EXPECT_EQ(flags.size(), 33u);
    EXPECT_EQ(flags[20], "У/Ф N20 — его не поднимает ни один оператор");
}

TEST(Notation, ReadsAnOperandOutputAndFlagBeforeTheirMeaning) {
    EXPECT_EQ(notation::readOperand("Self / 6 — вход 6").value, (Operand{OperandKind::Input, 6}));
    EXPECT_EQ(notation::readOperand("8/1  —").value, (Operand{OperandKind::Counter, 1}));
    EXPECT_EQ(notation::readOutput("self / D4 — реле насоса").value, 4);
    EXPECT_EQ(notation::readDepends("У/Ф N2 — флаг — оператора 2").value, 2);
    // The dash of a meaning stands after a blank.
    EXPECT_FALSE(notation::readOperand("Self / 6— вход 6").value);
    EXPECT_FALSE(notation::readOperand("— вход 6").value);
}

// ---------------------------------------------------------------------------
// Cells that do not read.

struct BadCell {
    const char* name;
    Column column;
    const char* typed;
    const char* why;  // the tooltip, in the reader's words
};

class MarkedCell : public UslEditTest, public ::testing::WithParamInterface<BadCell> {};

TEST_P(MarkedCell, IsRedWithItsReasonUntilItReads) {
    const BadCell& bad = GetParam();
    const std::string path = cell(1, bad.column);
    const Colour plain = back(1, bad.column);
    const std::string good = notation::cell(factoryProgram().at(1), bad.column);
    type(1, bad.column, bad.typed);
    EXPECT_EQ(back(1, bad.column), kMarked);
    EXPECT_EQ(get(path + ".ToolTipText"), arg(bad.why));
    EXPECT_EQ(editor().program(), factoryProgram()) << "the last good value stays";
    EXPECT_EQ(checkList(), std::string("Оператор 1, ошибка: столбец «") +
                               notation::title(bad.column) + "»: «" + bad.typed + "» — " + bad.why);
    EXPECT_TRUE(hasErrors(editor().findings()));
    type(1, bad.column, good);
    EXPECT_EQ(back(1, bad.column), plain);
    EXPECT_NE(get(path + ".ToolTipText"), arg(bad.why));
    EXPECT_EQ(checkList(), kClean);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reader, MarkedCell, ::testing::Values(
    BadCell{"Kind",          Column::Kind,      "почти равен", "вид оператора: Нет, если О1 Равен О2, если О1 Не равен О2, если О1 Больше О2 или если О1 Меньше О2"},
    BadCell{"Input",         Column::First,     "Self / 200",  "входы Self / 1…32, выходы Self / 129…160"},
    BadCell{"Blank",         Column::First,     "",            "операнд: Self / 1…32 (входы), Self / 129…160 (выходы), У/Ф N1…N32 (флаги), 8 / 1…8 / 4 (счётчики) или число от 0 до 65535"},
    BadCell{"Counter",       Column::Second,    "9 / 1",       "счётчики ведомого ВК-12 с адресом 8: 8 / 1…8 / 4"},
    BadCell{"Constant",      Column::Second,    "70000",       "число от 0 до 65535"},
    BadCell{"Output",        Column::Output,    "self / D40",  "«нет» или собственный выход self / D1…D32"},
    BadCell{"Value",         Column::ValueIf,   "2",           "значение 0 или 1 (0 р3, 1 р3)"},
    BadCell{"Flag",          Column::DependsOn, "У/Ф N33",     "«нет» или флаг условия У/Ф N1…N32"},
    BadCell{"TabInComment",  Column::Comment,   "насос\tвключён", "в комментарии не может быть табуляции: он записывается в один столбец файла"}
), testing::caseName<BadCell>);
// clang-format on

TEST_F(UslEditTest, ALongBadTextIsQuotedCutShort) {
    type(1, Column::First, std::string(100, 'x'));
    EXPECT_EQ(checkList(), "Оператор 1, ошибка: столбец «Операнд 1»: «" + std::string(60, 'x') +
                               "…» — операнд: Self / 1…32 (входы), Self / 129…160 (выходы), "
                               "У/Ф N1…N32 (флаги), 8 / 1…8 / 4 (счётчики) или число от 0 до "
                               "65535");
}

TEST_F(UslEditTest, TheListNamesEachRowsWarningsAfterItsErrors) {
    type(2, Column::Output, "self / D9");
    type(2, Column::Second, "Self / 999");
    EXPECT_EQ(checkList(),
              "Оператор 2, ошибка: столбец «Операнд 2»: «Self / 999» — входы Self / 1…32, выходы "
              "Self / 129…160\nОператор 2, предупреждение: пишет выход 9 (self / D9), а к нему "
              "ничего не подключено: установка подключена к выходам 3–6");
}

// ---------------------------------------------------------------------------
// Cells the row's kind makes meaningless.

struct RowKind {
    const char* name;
    int row;
    std::vector<std::pair<Column, const char*>> edits;
    const char* enabled;  // c = 0..6 and 8: '1' enabled, '0' disabled
};

class DisabledCells : public UslEditTest, public ::testing::WithParamInterface<RowKind> {};

TEST_P(DisabledCells, FollowTheRowsKindAndOutput) {
    const RowKind& r = GetParam();
    for (const auto& [column, typed] : r.edits) type(r.row, column, typed);
    std::string enabled;
    for (Column column : {Column::Kind, Column::First, Column::Second, Column::Output,
                          Column::ValueIf, Column::ValueElse, Column::DependsOn, Column::Comment}) {
        const bool on = get(cell(r.row, column) + ".Enabled") == "True";
        enabled += on ? '1' : '0';
        // A disabled cell shows what the row holds.
        if (!on) {
            EXPECT_EQ(text(r.row, column), "\"-\"") << notation::title(column);
        }
    }
    EXPECT_EQ(enabled, r.enabled);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, DisabledCells, ::testing::Values(
    RowKind{"WithAnOutput",       1,  {},                                             "11111111"},
    RowKind{"WithoutAnOutput",    2,  {},                                             "11110011"},
    RowKind{"Empty",              4,  {},                                             "10000001"},
    RowKind{"MadeEmpty",          1,  {{Column::Kind, "Нет"}},                        "10000001"},
    RowKind{"OutputTakenAway",    1,  {{Column::Output, "нет"}},                      "11110011"},
    RowKind{"OutputGiven",        2,  {{Column::Output, "self / D4"}},                "11111111"},
    RowKind{"EmptyGivenAKind",    4,  {{Column::Kind, "если О1 Больше О2"}},          "11110011"},
    RowKind{"BadKindKeepsTheOld", 4,  {{Column::Kind, "больше чем"}},                 "10000001"}
), testing::caseName<RowKind>);
// clang-format on

TEST_F(UslEditTest, ARowMadeEmptyKeepsOnlyItsComment) {
    type(1, Column::Kind, "Нет");
    Operator empty;
    empty.comment = factoryProgram().at(1).comment;
    EXPECT_EQ(editor().program().at(1), empty);
    // Given a kind again, its operands are to be filled in.
    type(1, Column::Kind, "Равен");
    EXPECT_EQ(back(1, Column::First), kMarked);
    EXPECT_EQ(text(1, Column::Output), "\"нет\"");
    EXPECT_TRUE(hasErrors(editor().findings()));
}

// ---------------------------------------------------------------------------
// Undo and redo.

TEST_F(UslEditTest, UndoAndRedoGoBackAndForthOverEdits) {
    type(1, Column::First, "Self / 5");
    type(2, Column::Second, "Self / 999");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(text(2, Column::Second), "\"1\"");
    EXPECT_NE(back(2, Column::Second), kMarked);
    EXPECT_EQ(editor().program().at(1).first, (Operand{OperandKind::Input, 5}));
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(editor().program(), factoryProgram());
    EXPECT_EQ(text(1, Column::First), "\"Self / 133\"");
    EXPECT_FALSE(editor().unsaved());
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(message(), "Отменять нечего.");
    run("menu Usl_Edit Повторить\nmenu Usl_Edit Повторить\n");
    EXPECT_EQ(text(2, Column::Second), "\"Self / 999\"");
    EXPECT_EQ(back(2, Column::Second), kMarked);
    EXPECT_EQ(editor().program().at(1).first, (Operand{OperandKind::Input, 5}));
    run("menu Usl_Edit Повторить\n");
    EXPECT_EQ(message(), "Повторять нечего.");
}

TEST_F(UslEditTest, KeysTypedIntoOneCellAreOneStepAndAPickIsItsOwn) {
    for (const char* keys : {"S", "Se", "Self / 1", "Self / 13"}) type(1, Column::First, keys);
    run("pick " + cell(1, Column::First) + " " +
        arg("Self / 6 — вход 6, верхний концевой выключатель") + "\n");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(text(1, Column::First), "\"Self / 13\"");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(text(1, Column::First), "\"Self / 133\"");
}

TEST_F(UslEditTest, UndoBringsBackWhatACellHeldBeforeItWentOutOfUse) {
    type(1, Column::ValueIf, "7");
    type(1, Column::Output, "нет");
    EXPECT_EQ(text(1, Column::ValueIf), "\"-\"");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(text(1, Column::ValueIf), "\"7\"");
    EXPECT_EQ(back(1, Column::ValueIf), kMarked);
}

TEST_F(UslEditTest, UndoKeepsTheLastHundredSteps) {
    for (int step = 0; step < 101; ++step) type(1 + step % 2, Column::Second, std::to_string(step));
    for (int step = 0; step < 100; ++step) run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(text(1, Column::Second), "\"0\"") << "the first step is let go";
    EXPECT_EQ(text(2, Column::Second), "\"1\"");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(message(), "Отменять нечего.");
}

TEST_F(UslEditTest, ANewEditLeavesNothingToRedo) {
    type(1, Column::First, "Self / 5");
    run("menu Usl_Edit Отменить\n");
    type(2, Column::First, "Self / 6");
    run("menu Usl_Edit Повторить\n");
    EXPECT_EQ(message(), "Повторять нечего.");
    EXPECT_EQ(editor().program().at(1), factoryProgram().at(1));
}

TEST_F(UslEditTest, TheFactoryProgramIsOneStepBack) {
    type(1, Column::Kind, "Нет");
    type(2, Column::First, "Self / 7");
    Program edited = editor().program();
    run("click Usl_Edit.Factory\n");
    EXPECT_EQ(editor().program(), factoryProgram());
    EXPECT_FALSE(editor().unsaved()) << "back to the program it opened on";
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(editor().program(), edited);
    run("menu Usl_Edit Повторить\n");
    EXPECT_EQ(editor().program(), factoryProgram());
}

// ---------------------------------------------------------------------------
// Files.

TEST_F(UslEditTest, AFileComesBackAsItWasWritten) {
    for (const Program& program : {factoryProgram(), variedProgram()}) {
        const std::string from = file("from.tsv"), to = file("to.tsv");
        write(from, programText(program));
        EXPECT_EQ(open(from), "dialog = \"Открыть программу блока условий\"\n");
        EXPECT_EQ(message(), "Открыт файл " + from + ".");
        EXPECT_EQ(editor().program(), program);
        EXPECT_FALSE(editor().unsaved());
        EXPECT_EQ(saveAs(to), "dialog = \"Сохранить программу блока условий\"\n");
        EXPECT_EQ(read(to), read(from));
    }
}

TEST_F(UslEditTest, ASavedProgramIsNoLongerUnsaved) {
    type(1, Column::Kind, "Нет");
    EXPECT_TRUE(editor().unsaved());
    saveAs(file("saved.tsv"));
    EXPECT_FALSE(editor().unsaved());
    EXPECT_EQ(message(), "Программа сохранена в файл " + file("saved.tsv") + ".");
    EXPECT_EQ(parseProgram(read(file("saved.tsv")), "saved.tsv").program, editor().program());
    // Undone, the edit is unsaved again; opened, the file is what is saved.
    run("menu Usl_Edit Отменить\n");
    EXPECT_TRUE(editor().unsaved());
    open(file("saved.tsv"));
    EXPECT_FALSE(editor().unsaved());
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(editor().program(), factoryProgram()) << "opening a file is one step back";
}

TEST_F(UslEditTest, ACancelledDialogChangesNothing) {
    type(1, Column::First, "Self / 5");
    run("answer\nclick Usl_Edit.Open\nanswer\nclick Usl_Edit.Save_As\n");
    EXPECT_EQ(editor().program().at(1).first, (Operand{OperandKind::Input, 5}));
    EXPECT_TRUE(editor().unsaved());
}

TEST_F(UslEditTest, APlaceThatCannotBeWrittenKeepsTheEdits) {
    type(1, Column::First, "Self / 5");
    saveAs(file("no/such/folder.tsv"));
    EXPECT_EQ(message(), file("no/such/folder.tsv") +
                             ": файл не создаётся. Программа не сохранена, изменения остались "
                             "в редакторе.");
    EXPECT_TRUE(editor().unsaved());
    EXPECT_EQ(editor().program().at(1).first, (Operand{OperandKind::Input, 5}));
}

TEST_F(UslEditTest, AProgramWithErrorsIsNotSaved) {
    type(1, Column::First, "Self / 500");
    EXPECT_EQ(saveAs(file("bad.tsv")), "") << "no dialog is asked";
    EXPECT_FALSE(std::filesystem::exists(file("bad.tsv")));
    EXPECT_EQ(message(),
              "Программа не сохранена: в ней есть ошибки, и файл получил бы вместо "
              "отмеченных ячеек их прежние значения.");
}

struct BadFile {
    const char* name;
    std::string contents;
    const char* said;  // what the message says of the file, after its name
};

std::string bigFile() {
    std::string text = "№\tВид\tОперанд 1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\n";
    while (text.size() < 3 * 1024 * 1024) text += "# " + std::string(70, 'x') + "\n";
    return text;
}

std::string withRows(const std::string& rows) {
    return "№\tВид\tОперанд 1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\tКомментарий\n" +
           rows;
}

class BadFiles : public UslEditTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, AreRefusedWithTheReasonAndLeaveTheEditorAsItWas) {
    type(2, Column::First, "Self / 7");
    type(3, Column::Second, "Self / 999");
    const Program before = editor().program();
    const std::string cellBefore = text(3, Column::Second);
    const std::string path = file("bad.tsv");
    write(path, GetParam().contents);
    open(path);
    EXPECT_EQ(message(), path + ": " + GetParam().said + ". " + kUnchanged);
    EXPECT_EQ(editor().program(), before);
    EXPECT_EQ(text(3, Column::Second), cellBefore);
    EXPECT_EQ(back(3, Column::Second), kMarked);
    EXPECT_TRUE(editor().unsaved());
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(editor().program().at(2).first, (Operand{OperandKind::Input, 7}))
        << "the edits before are still to be undone";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reader, BadFiles, ::testing::Values(
    BadFile{"OtherFormat",      "name,value\nalpha,1\n",
            "строка 1: это не программа блока условий — первой должна идти строка заголовка «№, Вид, Операнд 1, Операнд 2, Выход, Знач. IF, Знач. ELSE, Зависит от, Комментарий» со столбцами через табуляцию"},
    BadFile{"Binary",           std::string("\x7F" "ELF\x02\x01\x01\0\0\xFF\xFE", 11),
            "это не текст в кодировке UTF-8"},
    BadFile{"Megabytes",        bigFile(),
            "файл больше 1 МБ — это не программа блока условий"},
    BadFile{"Empty",            "",
            "файл пуст — в нём нет заголовка программы блока условий"},
    BadFile{"RowFifteen",       withRows("15\tНет\n"),
            "строка 2, столбец «№»: «15» — номер оператора от 1 до 14"},
    BadFile{"RowTwice",         withRows("3\tНет\n\n3\tНет\n"),
            "строка 4, столбец «№»: «3» — оператор 3 уже задан в строке 2"},
    BadFile{"TooFewColumns",    withRows("1\tесли О1 Равен О2\tSelf / 133\t0\n"),
            "строка 2, столбец «Выход»: «» — столбца нет: в строке оператора 9 столбцов через табуляцию"},
    BadFile{"OperandPastRange", withRows("1\tесли О1 Равен О2\tSelf / 200\t0\tнет\t-\t-\tнет\t\n"),
            "строка 2, столбец «Операнд 1»: «Self / 200» — входы Self / 1…32, выходы Self / 129…160"},
    BadFile{"TabInComment",     withRows("2\tНет\t-\t-\t-\t-\t-\t-\tодин\tдва\n"),
            "оператор 2, столбец «Комментарий»: в комментарии не может быть табуляции: он записывается в один столбец файла"}
), testing::caseName<BadFile>);
// clang-format on

TEST_F(UslEditTest, AFileThatIsNotThereIsSaidSo) {
    open(file("missing.tsv"));
    EXPECT_EQ(message(), file("missing.tsv") + ": файл не открывается. " + kUnchanged);
}

// ---------------------------------------------------------------------------
// Loading into the controller.

TEST_F(UslEditTest, LoadingSwitchesAnIdleSchemeToRunThePrograms) {
    type(13, Column::Output, "нет");
    run("click Usl_Edit.Load\n");
    EXPECT_EQ(scheme().controller().program(), editor().program());
    EXPECT_EQ(get("Objectt.Radix(3).Value"), "True");
    EXPECT_EQ(message(),
              "Программа загружена в контроллер: он выполняет её со следующего цикла, "
              "с выходами и флагами, как они стоят. Схема переключена в режим «Работа "
              "по программе»: нажмите на ней RUN.");
}

TEST_F(UslEditTest, LoadingDuringTheDemonstrationLeavesItsMode) {
    run("click Objectt.Radix(2)\nclick Objectt.Vis(0)\nrun 1000\n");
    type(13, Column::Output, "нет");
    run("click Usl_Edit.Load\n");
    EXPECT_EQ(scheme().controller().program(), editor().program());
    EXPECT_EQ(get("Objectt.Radix(2).Value"), "True");
    EXPECT_NE(message().find("Схема работает в другом режиме"), std::string::npos) << message();
}

TEST_F(UslEditTest, AProgramWithErrorsIsNotLoaded) {
    type(1, Column::Output, "self / D99");
    run("click Usl_Edit.Load\n");
    EXPECT_EQ(scheme().controller().program(), factoryProgram());
    EXPECT_EQ(get("Objectt.Radix(3).Value"), "False");
    EXPECT_EQ(message(),
              "Программа не загружена в контроллер: в ней есть ошибки — ячейки, "
              "отмеченные красным, их причины в списке проверки.");
}

// The last operator writes the pump's output off in every cycle. Loaded
// while the plant runs, it takes over at the next cycle: until then the
// outputs stand as the factory program left them.
TEST_F(UslEditTest, ALoadedProgramDrivesThePlantFromItsFirstCycle) {
    run("click Objectt.Radix(3)\nclick Objectt.Vis(0)\nrun 500\n");
    constexpr int kPump = 1 << 3;
    ASSERT_EQ(std::stoi(get("Objectt.Ctl_Outputs")) & kPump, kPump) << "the pump runs";
    type(13, Column::Output, "self / D4");
    type(13, Column::ValueIf, "0 р3");
    EXPECT_EQ(checkList().find("ошибка"), std::string::npos) << checkList();
    run("click Usl_Edit.Load\n");
    EXPECT_EQ(std::stoi(get("Objectt.Ctl_Outputs")) & kPump, kPump) << "before its first cycle";
    run("run 100\n");
    EXPECT_EQ(std::stoi(get("Objectt.Ctl_Outputs")) & kPump, 0);
    run("run 100\n");
    EXPECT_EQ(get("Objectt.Pump_On"), "False");
    run("run 10000\n");
    EXPECT_EQ(get("Objectt.Pump_On"), "False");
    EXPECT_EQ(get("Objectt.Radix(3).Value"), "True");
}

// ---------------------------------------------------------------------------
// Closing with edits not saved.

struct CloseAnswer {
    const char* name;
    std::vector<std::string> answers;  // "FILE" stands for the file to save to
    bool closed;
    bool written;
};

class CloseQuestion : public UslEditTest, public ::testing::WithParamInterface<CloseAnswer> {};

TEST_P(CloseQuestion, ClosesOnlyWhenTheEditsAreSavedOrGivenUp) {
    const std::string path = file("closing.tsv");
    type(1, Column::Kind, "Нет");
    for (const std::string& given : GetParam().answers) answer(given == "FILE" ? path : given);
    const std::string said = run("close Usl_Edit\n");
    EXPECT_EQ(said.substr(0, std::string(kQuestion).size()), kQuestion);
    EXPECT_EQ(get("Usl_Edit.Loaded"), GetParam().closed ? "False" : "True");
    EXPECT_EQ(std::filesystem::exists(path), GetParam().written);
    if (!GetParam().closed) return;
    // Opened again, it shows the controller's program.
    run("menu Objectt Программа\n");
    EXPECT_EQ(editor().program(), factoryProgram());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestion, ::testing::Values(
    CloseAnswer{"Save",          {"Сохранить", "FILE"}, true,  true},
    CloseAnswer{"SaveCancelled", {"Сохранить", ""},     false, false},
    CloseAnswer{"DoNotSave",     {"Не сохранять"},      true,  false},
    CloseAnswer{"Cancel",        {"Отмена"},            false, false},
    CloseAnswer{"DialogClosed",  {},                    false, false}
), testing::caseName<CloseAnswer>);
// clang-format on

TEST_F(UslEditTest, ClosesWithoutAQuestionWhenNothingIsUnsaved) {
    type(1, Column::Kind, "Нет");
    run("menu Usl_Edit Отменить\n");
    EXPECT_EQ(run("close Usl_Edit\nget Usl_Edit.Loaded\n"), "Usl_Edit.Loaded = False\n");
}

}  // namespace
}  // namespace vk41
