// The conditions block shows the program loaded into the controller: the
// factory program as the window's picture, any other drawn over it on the
// picture's own rows and columns, with its markers and its comments.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <sstream>
#include <string>

#include "case_name.h"
#include "conditions/bl_usl.h"
#include "conditions/controller.h"
#include "conditions/notation.h"
#include "modbus/controller_image.h"
#include "plant/objectt.h"
#include "program_print.h"
#include "running_program.h"
#include "tools/script_driver.h"

namespace vk41 {
namespace {

using notation::Column;

// The picture's geometry in pixels (tools/pictures/vk41_pictures.cpp): the
// header takes rows 5..27, operator k rows 28 + 23(k - 1) .. 50 + 23(k - 1),
// the last its bottom border; the picture is 717 x 355.
constexpr int kHeaderTop = 5;
constexpr int kHeaderBottom = 27;
constexpr int kPictureWidth = 717;
constexpr int kPictureHeight = 355;
constexpr int rowTop(int k) {
    return kHeaderBottom + 1 + 23 * (k - 1);
}
constexpr int rowBottom(int k) {
    return rowTop(k) + 22;
}

// The eight titled columns, between their borders, the number first.
struct TableColumn {
    Column column;
    int left, right;
};
// clang-format off
constexpr std::array<TableColumn, 8> kColumns = {{
    {Column::Number,     66, 100},
    {Column::Kind,      100, 254},
    {Column::First,     258, 334},
    {Column::Second,    334, 412},
    {Column::Output,    412, 483},
    {Column::ValueIf,   483, 554},
    {Column::ValueElse, 554, 632},
    {Column::DependsOn, 632, 711},
}};
// clang-format on

constexpr double px(float twips) {
    return twips / 15.0;
}

Operand self(int k) {
    return k > kOwnOutputBase ? Operand{OperandKind::Output, k - kOwnOutputBase}
                              : Operand{OperandKind::Input, k};
}

// The factory program with the rows it leaves empty put to work, each in
// another comparison: operator 4 watches for no accident, 7 copies flag 4
// while the pump runs, 10 counts the flow, 14 switches output 7 with the UV
// lamp. Operators 7 and 14 have no comment.
Program everyRowUsed() {
    Program p = factoryProgram();
    p.at(4) = {Comparison::Equal, self(133), {OperandKind::Constant, 0}, 0, 0, 0, 0, "нет аварии"};
    p.at(7) = {
        Comparison::NotEqual, {OperandKind::Flag, 4}, {OperandKind::Constant, 0}, 0, 0, 0, 5, ""};
    p.at(10) = {Comparison::Greater,
                {OperandKind::Counter, 1},
                {OperandKind::Constant, 5},
                0,
                0,
                0,
                0,
                "расход больше 5 импульсов"};
    p.at(14) = {Comparison::Less,
                {OperandKind::Counter, 1},
                {OperandKind::Constant, 65535},
                7,
                1,
                0,
                13,
                ""};
    return p;
}

// The factory table, only one comment told otherwise: its table is drawn,
// and reads as the picture does.
Program commentChanged() {
    Program p = factoryProgram();
    p.at(5).comment = "насос включён — взводим флаг 5";
    return p;
}

// Fourteen rows "Нет": nothing runs, nothing is raised.
Program allEmpty() {
    return Program{};
}

struct ProgramCase {
    const char* name;
    Program (*program)();
    std::set<int> mustShow;  // operators whose markers show at some time of the run
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const ProgramCase kPrograms[] = {
    // name              program          markers that show at some time
    {"EveryRowUsed",     &everyRowUsed,   {1, 2, 4, 5, 7, 8, 10, 13, 14}},
    {"CommentChanged",   &commentChanged, {1, 2, 5, 8, 13}},
    {"AllEmpty",         &allEmpty,       {}},
};
// clang-format on

class ProgramShown : public testing::RunningProgram {
  protected:
    BlUsl& window() { return driver.app().form<BlUsl>("Bl_Usl"); }
    Control& c(const char* name, int index = -1) { return window().control(name, index); }
    // A program loaded shows from the window's next tick on.
    void load(const Program& program) {
        scheme().controller().load(program);
        driver.execute("run 100");
    }

    // Operator k's cell in the table's column `col`, the number's 0.
    Control& cell(int k, std::size_t col) {
        return c("Tab_Cell", 8 * (k - 1) + static_cast<int>(col));
    }

    // The controls of the drawn table, and how many of them show.
    struct Parts {
        int all{0};
        int shown{0};
    };
    Parts tableParts() {
        Parts parts;
        const auto count = [&](const Control& part) {
            ++parts.all;
            parts.shown += part.visible();
        };
        for (const char* name : {"Tab_Back", "Tab_Head"}) count(c(name));
        for (const char* name : {"Tab_Line", "Tab_Title", "Tab_Cell", "Tab_Cut"})
            for (int i = 0; Control* part = window().find(name, i); ++i) count(*part);
        return parts;
    }
    // The comment under the mouse at the middle of operator k's row.
    std::string commentAt(int k, float x) {
        window().mouseMove(x, static_cast<float>((rowTop(k) + 11) * 15));
        return c("Curent_Coment").caption();
    }
};

TEST_F(ProgramShown, TheFactoryProgramShowsThePictureAndNoDrawnTable) {
    driver.execute("run 3000");
    EXPECT_EQ(tableParts().shown, 0);
    // The cover and the band, 16 lines across and 10 down, the titles, the
    // cells and the dashes.
    EXPECT_EQ(tableParts().all, 2 + 26 + 8 + 8 * kOperators + kOperators);
    EXPECT_EQ(window().design().picture, "bl_usl_table.png");
}

TEST_F(ProgramShown, WithNoSchemeTheFactoryProgramIsLoaded) {
    std::ostringstream quiet;
    ScriptDriver fresh{quiet};
    EXPECT_EQ(loadedProgram(fresh.app()), factoryProgram());
    EXPECT_EQ(fresh.app().existing("Objectt"), nullptr) << "asking creates no window";
    fresh.app().open("Bl_Usl");
    fresh.execute("run 500");
    EXPECT_FALSE(fresh.app().form("Bl_Usl").control("Tab_Back").visible());
}

TEST_F(ProgramShown, TheFactoryProgramBackHidesTheDrawnTable) {
    load(everyRowUsed());
    ASSERT_EQ(tableParts().shown, tableParts().all);
    ASSERT_EQ(commentAt(4, 2655), "нет аварии");
    load(factoryProgram());
    EXPECT_EQ(tableParts().shown, 0);
    EXPECT_EQ(commentAt(4, 2655), factoryProgram().at(4).comment);
    load(everyRowUsed());
    EXPECT_EQ(tableParts().shown, tableParts().all) << "shown again with the next program";
}

TEST_F(ProgramShown, TheTableFollowsTheProgramFromTickToTick) {
    load(everyRowUsed());
    Program next = everyRowUsed();
    next.at(4).kind = Comparison::Greater;
    scheme().controller().load(next);
    EXPECT_EQ(cell(4, 1).caption(), "если О1 Равен О2") << "until the tick";
    driver.execute("run 100");
    EXPECT_EQ(cell(4, 1).caption(), "если О1 Больше О2");
}

// The drawn table lies on the picture's pixels: its cover over the whole
// picture, the grey band over the header, the grid on the borders, each
// cell inside its row and column.
TEST_F(ProgramShown, TheDrawnTableLiesOnThePicturesRowsAndColumns) {
    const Control& back = c("Tab_Back");
    EXPECT_EQ(px(back.left()), 0);
    EXPECT_EQ(px(back.top()), 0);
    EXPECT_EQ(px(back.width()), kPictureWidth);
    EXPECT_EQ(px(back.height()), kPictureHeight);
    const Control& head = c("Tab_Head");
    EXPECT_EQ(px(head.left()), kColumns.front().left);
    EXPECT_EQ(px(head.top()), kHeaderTop);
    EXPECT_EQ(px(head.top() + head.height()) - 1, kHeaderBottom);
    EXPECT_EQ(head.fillColor(), rgb(0xC0C0C0));

    // Lines across the table at the pixel rows of the header and the rows'
    // bottoms, lines down at the column borders, each the table's length.
    std::set<double> across, down;
    for (int i = 0; Control* line = window().find("Tab_Line", i); ++i) {
        if (line->y1() == line->y2()) {
            across.insert(px(line->y1()));
            EXPECT_EQ(px(line->x1()), kColumns.front().left) << "line " << i;
            EXPECT_EQ(px(line->x2()), kPictureWidth - 1) << "line " << i;
        } else {
            ASSERT_EQ(line->x1(), line->x2()) << "line " << i;
            down.insert(px(line->x1()));
            EXPECT_EQ(px(line->y1()), kHeaderTop) << "line " << i;
            EXPECT_EQ(px(line->y2()), rowBottom(kOperators)) << "line " << i;
        }
    }
    std::set<double> rows = {kHeaderTop, kHeaderBottom};
    for (int k = 1; k <= kOperators; ++k) rows.insert(rowBottom(k));
    EXPECT_EQ(across, rows);
    // 254 and 258 make the double line; the ninth column starts at 711.
    std::set<double> borders = {254, 258};
    for (const TableColumn& column : kColumns) {
        borders.insert(column.left);
        borders.insert(column.right);
    }
    EXPECT_EQ(down, borders);

    for (std::size_t col = 0; col < kColumns.size(); ++col) {
        const TableColumn& column = kColumns[col];
        const Control& title = c("Tab_Title", static_cast<int>(col));
        EXPECT_GT(px(title.left()), column.left) << "title " << col;
        EXPECT_LE(px(title.left() + title.width()), column.right) << "title " << col;
        EXPECT_GT(px(title.top()), kHeaderTop) << "title " << col;
        EXPECT_LT(px(title.top() + title.height()), kHeaderBottom) << "title " << col;
        for (int k = 1; k <= kOperators; ++k) {
            const Control& text = cell(k, col);
            EXPECT_GT(px(text.left()), column.left) << "row " << k << " column " << col;
            EXPECT_LE(px(text.left() + text.width()), column.right)
                << "row " << k << " column " << col;
            EXPECT_GE(px(text.top()), rowTop(k)) << "row " << k << " column " << col;
            // The cell keeps clear of the last rows, where the activity bar lies.
            EXPECT_LE(px(text.top() + text.height()), rowBottom(k) - 4)
                << "row " << k << " column " << col;
        }
    }
}

// A flag marker lies within its operator's row, left of the table; an
// activity bar under the operator's number, on its row's bottom border (the
// design puts some a few pixels above it, some below).
TEST_F(ProgramShown, EveryOperatorsMarkersLieOnItsRow) {
    for (int k = 1; k <= kOperators; ++k) {
        const Control& flag = c("Flag", k - 1);
        EXPECT_GE(px(flag.top()), rowTop(k)) << "flag " << k;
        EXPECT_LE(px(flag.top() + flag.height()), rowBottom(k)) << "flag " << k;
        EXPECT_LE(px(flag.left() + flag.width()), kColumns.front().left) << "flag " << k;
        const Control& bar = c("Usl", k - 1);
        EXPECT_EQ(bar.y1(), bar.y2()) << "bar " << k;
        EXPECT_NEAR(px(bar.y1()), rowBottom(k), 3) << "bar " << k;
        EXPECT_GE(px(bar.x1()), kColumns.front().left) << "bar " << k;
        EXPECT_LE(px(bar.x2()), kColumns.front().right) << "bar " << k;
    }
}

class LoadedProgram : public ProgramShown, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(LoadedProgram, IsDrawnCellByCell) {
    const Program program = GetParam().program();
    load(program);
    EXPECT_EQ(tableParts().shown, tableParts().all) << "the whole table shows";
    for (std::size_t col = 0; col < kColumns.size(); ++col) {
        const Column column = kColumns[col].column;
        EXPECT_EQ(c("Tab_Title", static_cast<int>(col)).caption(), notation::title(column));
        for (int k = 1; k <= kOperators; ++k) {
            const std::string expected = column == Column::Number
                                             ? std::to_string(k)
                                             : notation::cell(program.at(k), column);
            EXPECT_EQ(cell(k, col).caption(), expected)
                << "row " << k << ", " << notation::title(column);
        }
    }
    for (int k = 1; k <= kOperators; ++k) EXPECT_EQ(c("Tab_Cut", k - 1).caption(), "-") << k;
}

// The markers show the flags and the active operators of the controller's
// last cycle, rows 4, 7, 10 and 14 included.
TEST_P(LoadedProgram, ShowsTheMarkersOfItsLastCycle) {
    load(GetParam().program());
    std::set<int> flagsSeen, barsSeen;
    for (int n = 0; n < 400; ++n) {
        driver.execute("run 700");
        for (int k = 1; k <= kOperators; ++k) {
            const bool flag = c("Flag", k - 1).visible();
            const bool bar = c("Usl", k - 1).visible();
            ASSERT_EQ(flag, bitOf(cycle().flags, k)) << "flag " << k << " at step " << n;
            ASSERT_EQ(bar, bitOf(cycle().active, k)) << "bar " << k << " at step " << n;
            if (flag) flagsSeen.insert(k);
            if (bar) barsSeen.insert(k);
        }
    }
    for (int k : GetParam().mustShow) {
        EXPECT_TRUE(flagsSeen.contains(k)) << "the flag of operator " << k << " never showed";
        EXPECT_TRUE(barsSeen.contains(k)) << "the bar of operator " << k << " never showed";
    }
    if (GetParam().mustShow.empty()) {
        EXPECT_EQ(flagsSeen, std::set<int>{});
        EXPECT_EQ(barsSeen, std::set<int>{});
    }
}

TEST_P(LoadedProgram, ShowsItsCommentsUnderTheMouse) {
    const Program program = GetParam().program();
    load(program);
    for (int k = 1; k <= kOperators; ++k)
        for (float x : {1560.0f, 2655.0f, 7000.0f, 10400.0f}) {
            commentAt(k % kOperators + 1, x);  // another row first
            EXPECT_EQ(commentAt(k, x), program.at(k).comment) << "operator " << k << " at " << x;
        }
}

INSTANTIATE_TEST_SUITE_P(Programs, LoadedProgram, ::testing::ValuesIn(kPrograms),
                         testing::caseName<ProgramCase>);

TEST_F(ProgramShown, TheMenuOpensTheProgramsEditor) {
    ASSERT_TRUE(window().hasMenuItem("Редактировать программу…"));
    if (!driver.app().isRegistered("Usl_Edit")) GTEST_SKIP() << "the editor is not built in";
    driver.execute("menu Bl_Usl Редактировать программу…");
    EXPECT_TRUE(driver.app().form("Usl_Edit").visible());
}

}  // namespace
}  // namespace vk41
