#include "ui/design_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ui/resources.h"

namespace vk41 {
namespace {

TEST(DesignText, ReadsWindowAndControlsInDrawingOrder) {
    const FormDesign d = parseDesign(R"(# a window
form W
caption "Окно  с \"кавычками\" "
size 1500 900
back buttonface
border dialog
menu File "Файл"
menu Open "Открыть" File
line Wire(3) 0 10 200 10 color=#D8FFFF width=15 hidden
shape Body 10 20 30 40 kind=circle fill=#00FF00 border=none
label Tip 1 2 3 4 caption="a b" size=12 bold back=window tip="подсказка" transparent
frame Rad 0 0 100 100 caption=Режим
option Mode(1) 1 1 50 10 in=Rad selected disabled
combo Pick 0 0 10 10 text=2 items="1|2||3"
timer Tick interval=300
)");
    EXPECT_EQ(d.name, "W");
    EXPECT_EQ(d.caption, "Окно  с \"кавычками\" ");
    EXPECT_EQ(d.width, 1500);
    EXPECT_EQ(d.border, Border::FixedDialog);
    ASSERT_EQ(d.menu.size(), 2u);
    EXPECT_EQ(d.menu[1].parent, "File");
    ASSERT_EQ(d.controls.size(), 7u);
    const Props& wire = d.controls[0].props;
    EXPECT_EQ(d.controls[0].index, 3);
    EXPECT_EQ(wire.y2, 10);
    EXPECT_EQ(wire.borderColor, rgb(0xD8FFFF));
    EXPECT_EQ(wire.borderWidth, 15);
    EXPECT_FALSE(wire.visible);
    const Props& body = d.controls[1].props;
    EXPECT_EQ(body.shape, ShapeKind::Circle);
    EXPECT_TRUE(body.filled);
    EXPECT_FALSE(body.bordered);
    const Props& tip = d.controls[2].props;
    EXPECT_EQ(tip.caption, "a b");
    EXPECT_EQ(tip.font.size, 12);
    EXPECT_TRUE(tip.font.bold);
    EXPECT_FALSE(tip.opaque);
    EXPECT_EQ(tip.toolTip, "подсказка");
    EXPECT_EQ(d.controls[4].container, "Rad");
    EXPECT_TRUE(d.controls[4].props.value);
    EXPECT_FALSE(d.controls[4].props.enabled);
    EXPECT_EQ(d.controls[5].props.items, (std::vector<std::string>{"1", "2", "", "3"}));
    EXPECT_EQ(d.controls[6].props.interval, 300);
}

TEST(DesignText, ReadsEveryWordOfAChoice) {
    const FormDesign d = parseDesign(R"(form W
label A 0 0 1 1 align=left
label B 0 0 1 1 align=center
label C 0 0 1 1 align=right
textbox D 0 0 1 1 scroll=none
textbox E 0 0 1 1 scroll=horizontal
textbox F 0 0 1 1 scroll=vertical
textbox G 0 0 1 1 scroll=both
shape H 0 0 1 1 kind=rrect border=#0000FF
)");
    ASSERT_EQ(d.controls.size(), 8u);
    EXPECT_EQ(d.controls[0].props.alignment, Align::Left);
    EXPECT_EQ(d.controls[1].props.alignment, Align::Center);
    EXPECT_EQ(d.controls[2].props.alignment, Align::Right);
    EXPECT_EQ(d.controls[3].props.scrollBars, ScrollBars::None);
    EXPECT_EQ(d.controls[4].props.scrollBars, ScrollBars::Horizontal);
    EXPECT_EQ(d.controls[5].props.scrollBars, ScrollBars::Vertical);
    EXPECT_EQ(d.controls[6].props.scrollBars, ScrollBars::Both);
    EXPECT_EQ(d.controls[7].props.shape, ShapeKind::RoundedRectangle);
    EXPECT_EQ(d.controls[7].props.borderColor, rgb(0x0000FF));
    EXPECT_TRUE(d.controls[7].props.bordered);
}

// A malformed third line of a design and what the parser says of it.
struct Mistake {
    const char* name;
    const char* line;
    const char* error;
};

void PrintTo(const Mistake& m, std::ostream* out) {
    *out << m.line;
}

class DesignMistakes : public ::testing::TestWithParam<Mistake> {};

TEST_P(DesignMistakes, AreErrorsNamingTheLineAndTheWord) {
    const Mistake& m = GetParam();
    try {
        parseDesign(std::string("form W\n\n") + m.line);
        ADD_FAILURE() << "accepted: " << m.line;
    } catch (const DesignError& e) {
        EXPECT_EQ(std::string(e.what()), std::string("line 3: ") + m.error) << m.line;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, DesignMistakes, ::testing::Values(
    //     name                  line                                          error
    Mistake{"UnknownAlignment",  "label A 1 2 3 4 align=middle",               "'middle' is no value of align="},
    Mistake{"UnknownScrollBars", "textbox A 1 2 3 4 scroll=sideways",          "'sideways' is no value of scroll="},
    Mistake{"UnknownShape",      "shape A 1 2 3 4 kind=star",                  "'star' is no value of kind="},
    Mistake{"ColourByName",      "line A 1 2 3 4 color=red",                   "'red' is no value of color="},
    Mistake{"ShortColour",       "shape A 1 2 3 4 fill=#FFF",                  "'#FFF' is no value of fill="},
    Mistake{"OutlineByName",     "shape A 1 2 3 4 border=thick",               "'thick' is no value of border="},
    Mistake{"SizeInWords",       "label A 1 2 3 4 size=big",                   "'big' is no value of size="},
    Mistake{"UnknownKey",        "label A 1 2 3 4 colour=#000000",             "unknown key 'colour'"},
    Mistake{"FlagAsKey",         "label A 1 2 3 4 hidden=1",                   "unknown key 'hidden'"},
    Mistake{"UnknownWord",       "label A 1 2 3 4 shiny",                      "unknown word 'shiny'"},
    Mistake{"KeyAsWord",         "label A 1 2 3 4 caption",                    "unknown word 'caption'"},
    Mistake{"TextWithoutKey",    "label A 1 2 3 4 \"hidden\"",                 "text without a key: \"hidden\""},
    Mistake{"ThreeCoordinates",  "line A 1 2 3",                               "'A' needs 4 coordinates"},
    Mistake{"WordForCoordinate", "label A 1 2 wide 4",                         "not a number: 'wide'"},
    Mistake{"UnclosedQuote",     "label A 1 2 3 4 caption=\"open",             "quoted text without its closing quote"},
    Mistake{"UnknownKind",       "widget A 1 2 3 4",                           "unknown line 'widget'"},
    Mistake{"BadIndex",          "label A(x) 1 2 3 4",                         "not a number: 'x'"},
    Mistake{"UnknownBorder",     "border thin",                                "not a border: 'thin'"},
    Mistake{"WindowColour",      "back white",                                 "not a colour: 'white'"},
    Mistake{"ExtraSize",         "size 1500 900 10",                           "wrong number of words after 'size'"},
    Mistake{"KeyOnWindowLine",   "caption text=Окно",                          "unknown key 'text'"}),
    [](const ::testing::TestParamInfo<Mistake>& row) { return std::string(row.param.name); });
// clang-format on

// Every design the program embeds, a new one included without naming it here.
TEST(DesignText, EveryWindowOfTheProgramParses) {
    int forms = 0;
    for (const auto& [file, text] : embeddedResources()) {
        if (!file.ends_with(".form")) continue;
        ++forms;
        try {
            embeddedDesign(file);
        } catch (const DesignError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    EXPECT_GE(forms, 5) << "the program's designs are not embedded";
}

}  // namespace
}  // namespace vk41
