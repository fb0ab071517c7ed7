#include "tools/script_driver.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/script_parse.h"

namespace vk41 {
namespace {

struct ScriptRun {
    int status;
    std::string out;
    std::string err;
};

ScriptRun runScript(const std::string& script) {
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream in(script);
    const int status = driver.run(in, err);
    return {status, out.str(), err.str()};
}

TEST(ScriptLines, SplitIntoCommandWordsAndText) {
    using script::splitLine;
    EXPECT_EQ(splitLine("  # a comment").command, "");
    EXPECT_EQ(splitLine("").command, "");
    const auto menu = splitLine("menu Objectt Блок Условий");
    EXPECT_EQ(menu.args, (std::vector<std::string>{"Objectt", "Блок Условий"}));
    const auto typed = splitLine("text ModB_Frm.Комбо1(0) a # not a comment");
    EXPECT_EQ(typed.args[1], "a # not a comment");
    const auto quotedText = splitLine(R"(text W.C(1) "two  spaces \"q\" \\ " # comment)");
    EXPECT_EQ(quotedText.args[1], "two  spaces \"q\" \\ ");
    const auto tick = splitLine("tick Objectt.Часы1 5 # five times");
    EXPECT_EQ(tick.args, (std::vector<std::string>{"Objectt.Часы1", "5"}));
    EXPECT_EQ(splitLine("get Texttt.Caption\r").args[0], "Texttt.Caption");
}

TEST(ScriptLines, RejectBadQuotingAndPaths) {
    using script::ScriptError;
    EXPECT_THROW(script::splitLine(R"(text A.B "open)"), ScriptError);
    EXPECT_THROW(script::splitLine(R"(text A.B "x" y)"), ScriptError);
    EXPECT_THROW(script::splitLine(R"(text A.B "\n")"), ScriptError);
    for (const char* bad : {"Texttt", ".A", "A..B", "A.B(", "A.B()", "A.B(x)", "A.B(1", "A.B.C.D",
                            "A.B.C(1)", "A.B(-1)", "A.(1)"})
        EXPECT_THROW(script::parsePath(bad), ScriptError) << bad;
    const auto path = script::parsePath("Objectt.Vis(2).Enabled");
    EXPECT_EQ(path.window, "Objectt");
    EXPECT_EQ(path.parts[0].index, 2);
    EXPECT_EQ(path.parts[1].name, "Enabled");
}

struct ErrorCase {
    const char* name;
    const char* script;
    const char* message;
};

class ScriptErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ScriptErrors, StopTheRunWithStatusTwoAfterTheLinesBefore) {
    const ScriptRun run =
        runScript(std::string("get Texttt.Loaded\n") + GetParam().script + "\nget Texttt.Loaded\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "Texttt.Loaded = True\n");
    EXPECT_EQ(run.err, std::string("error: line 2: ") + GetParam().message + "\n");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, ScriptErrors, ::testing::Values(
    //        name                          line                              message
    ErrorCase{"UnknownCommand",             "jump Texttt",                    "unknown command 'jump'"},
    ErrorCase{"UnknownWindow",              "get Nowhere.Loaded",             "unknown window 'Nowhere'"},
    ErrorCase{"UnknownControl",             "get Texttt.Nothing.Visible",     "unknown control 'Nothing' in Texttt"},
    ErrorCase{"UnknownProperty",            "get Texttt.TextComm.Colour",     "unknown property 'Colour'"},
    ErrorCase{"PropertyOfAnotherKind",      "get Texttt.TextComm.Caption",    "a text box has no property 'Caption'"},
    ErrorCase{"NoProperty",                 "get Texttt.TextComm",            "'Texttt.TextComm' names no property"},
    ErrorCase{"UnknownVariable",            "get Texttt.Unknown_Var",         "unknown variable 'Unknown_Var' in Texttt"},
    ErrorCase{"IndexNotAnArray",            "get Texttt.TextComm(0).Visible", "'TextComm' is not a control array"},
    ErrorCase{"ClickOnAProperty",           "click Texttt.TextComm.Visible",  "'Texttt.TextComm.Visible' is not a control"},
    ErrorCase{"UnknownMenuItem",            "menu Texttt Справка",            "no menu item \"Справка\" in Texttt"},
    ErrorCase{"NegativeCount",              "run -5",                         "not a count: '-5'"},
    ErrorCase{"MissingArgument",            "run",                            "'run' takes 1 argument"},
    ErrorCase{"NotANumber",                 "mouse Texttt 1 x",               "not a number: 'x'"},
    ErrorCase{"TextIntoATextBox",           "text Texttt.TextComm abc",       "'Texttt.TextComm' is not a combo"},
    ErrorCase{"TickOnATextBox",             "tick Texttt.TextComm",           "'Texttt.TextComm' is not a timer"},
    ErrorCase{"SnapshotOfAnUnloadedWindow", "snapshot Objectt /tmp/x.png",    "window Objectt is not loaded"},
    ErrorCase{"IndexedVariable",            "get Texttt.Caption(1)",          "unknown variable 'Caption' in Texttt"}),
    [](const ::testing::TestParamInfo<ErrorCase>& row) { return std::string(row.param.name); });
// clang-format on

TEST(ScriptGet, NeverCreatesAWindow) {
    const ScriptRun run = runScript(
        "get Objectt.Loaded\nget Objectt.Visible\nget Objectt.Caption\nget Bl_Usl.Loaded\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Objectt.Loaded = False\nObjectt.Visible = <not loaded>\n"
              "Objectt.Caption = <not loaded>\nBl_Usl.Loaded = False\n");
}

TEST(ScriptActions, OnWindowsNotShownDoNothing) {
    const ScriptRun run = runScript(
        "menu Objectt ModBus\nclose Bl_Usl\nmouse Objectt 10 10\ntooltip Objectt 10 10\n"
        "get ModB_Frm.Loaded\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "tooltip = \"\"\nModB_Frm.Loaded = False\n");
}

}  // namespace
}  // namespace vk41
