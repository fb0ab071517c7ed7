#include "ui/design_text.h"

#include <gtest/gtest.h>

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

TEST(DesignText, NamesTheLineOfAMistake) {
    for (const char* bad :
         {"line A 1 2 3", "shape B 1 2 3 4 kind=star", "label C 1 2 3 4 colour=#000000",
          "line D 1 2 3 4 color=red", "label E 1 2 3 4 caption=\"open", "widget F 1 2 3 4",
          "label G(x) 1 2 3 4", "label H 1 2 3 4 shiny"}) {
        try {
            parseDesign(std::string("form W\n\n") + bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const DesignError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("line 3: ")) << e.what();
        }
    }
}

TEST(DesignText, EveryWindowOfTheProgramParses) {
    for (const char* file : {"objectt.form"}) EXPECT_NO_THROW(embeddedDesign(file)) << file;
}

}  // namespace
}  // namespace vk41
