#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_window.h"
#include "ui/properties.h"

namespace vk41 {
namespace {

using testing::TestApp;
using testing::TestWindow;

TEST(WindowRegistry, CreatesOneInstanceOnFirstUse) {
    TestApp t;
    EXPECT_EQ(t.app.existing("Test"), nullptr);
    t.app.open("Test");
    Form* first = t.app.existing("Test");
    t.app.open("Test");
    EXPECT_EQ(t.app.existing("Test"), first);
    EXPECT_EQ(t.test().loads, 1);
    EXPECT_TRUE(first->visible());
}

TEST(WindowRegistry, HidingAWindowNeverOpenedCreatesItHidden) {
    TestApp t;
    t.app.hide("Other");
    ASSERT_NE(t.app.existing("Other"), nullptr);
    EXPECT_TRUE(t.app.existing("Other")->loaded());
    EXPECT_FALSE(t.app.existing("Other")->visible());
    // Reaching a control creates the window hidden too.
    t.app.form("Test").control("Count");
    EXPECT_FALSE(t.test().visible());
}

TEST(WindowRegistry, AWindowClosedAndOpenedAgainLoadsAgain) {
    TestApp t;
    t.app.open("Test");
    t.test().kept = 7;
    t.app.close("Test");
    EXPECT_FALSE(t.app.existing("Test")->loaded());
    EXPECT_FALSE(t.app.anyVisible());
    t.app.open("Test");
    EXPECT_EQ(t.test().loads, 2);
    EXPECT_EQ(t.test().control("Count").caption(), "2");
    EXPECT_EQ(t.test().kept, 7);
}

TEST(WindowLoad, RestoresEveryDesignValue) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    Control& body = w.control("Body");
    body.setLeft(4000);
    body.setFillColor(rgb(0x123456));
    w.control("Wire").setX2(10);
    w.control("Hint", 2).setVisible(true);
    w.control("Mode", 0).setValue(true);
    w.setCaption("другое");
    t.app.close("Test");
    t.app.open("Test");
    EXPECT_EQ(body.left(), 200);
    EXPECT_EQ(body.fillColor(), rgb(0x00FF00));
    EXPECT_EQ(w.control("Wire").x2(), 3000);
    EXPECT_FALSE(w.control("Hint", 2).visible());
    EXPECT_TRUE(w.control("Mode", 1).value());
    EXPECT_FALSE(w.control("Mode", 0).value());
    EXPECT_EQ(w.caption(), "Окно Test");
}

TEST(WindowLoad, RestartResetsControlsInPlaceAndKeepsVariables) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    Control* body = &w.control("Body");
    body->setTop(999);
    w.kept = 42;
    t.app.restart("Test");
    EXPECT_EQ(&w, t.app.existing("Test"));
    EXPECT_EQ(body, &w.control("Body"));  // the same control object
    EXPECT_EQ(body->top(), 200);
    EXPECT_EQ(w.kept, 42);
    EXPECT_EQ(w.loads, 2);
    EXPECT_TRUE(w.visible());
}

TEST(WindowLoad, UnloadStopsTheWindowsTimers) {
    TestApp t;
    t.app.open("Test");
    t.scheduler.advanceBy(250);
    t.app.close("Test");
    t.scheduler.advanceBy(1000);
    EXPECT_EQ(t.test().log, (std::vector<std::string>{"fast@100", "fast@200"}));
}

TEST(UserActions, ReachOnlyVisibleEnabledControlsOfShownWindows) {
    TestApp t;
    t.app.hide("Test");
    TestWindow& w = t.test();
    EXPECT_FALSE(w.click(w.control("Go")));  // window hidden
    t.app.open("Test");
    EXPECT_TRUE(w.click(w.control("Go")));
    EXPECT_FALSE(w.click(w.control("Off")));  // disabled
    w.control("Rad").setVisible(false);
    EXPECT_FALSE(w.click(w.control("Mode", 0)));  // its frame is hidden
    w.control("Rad").setVisible(true);
    w.control("Rad").setEnabled(false);
    EXPECT_FALSE(w.click(w.control("Mode", 0)));  // its frame is disabled
    EXPECT_EQ(w.log, (std::vector<std::string>{"Go-1"}));
}

TEST(UserActions, AnOptionSelectedClearsTheOthersOfItsFrame) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    w.click(w.control("Mode", 0));
    EXPECT_TRUE(w.control("Mode", 0).value());
    EXPECT_FALSE(w.control("Mode", 1).value());
    w.click(w.control("Mode", 0));  // clicked again: still selected, click fires
    w.control("Mode", 1).setValue(true);
    EXPECT_FALSE(w.control("Mode", 0).value());
    EXPECT_EQ(w.log, (std::vector<std::string>{"Mode0", "Mode0", "Mode1"}));
}

TEST(UserActions, ComboTypingAndPickingFireTheirEvents) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    w.typeText(w.control("Pick"), "что угодно \"\\");
    EXPECT_EQ(w.control("Pick").text(), "что угодно \"\\");
    w.pickItem(w.control("Pick"), "3");
    EXPECT_EQ(w.control("Pick").text(), "3");
    EXPECT_EQ(w.log, (std::vector<std::string>{"change-1", "pick-1"}));
}

TEST(UserActions, MenuItemsRunTheirActionsAndInertOnesNothing) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    EXPECT_TRUE(w.chooseMenu("Открыть"));
    EXPECT_TRUE(w.chooseMenu("Ничего"));
    EXPECT_TRUE(w.chooseMenu("Файл"));
    EXPECT_FALSE(w.chooseMenu("Нет такого"));
    EXPECT_EQ(w.log, (std::vector<std::string>{"open"}));
}

struct HitCase {
    float x, y;
    const char* toolTip;
};

class ToolTips : public ::testing::TestWithParam<HitCase> {};

TEST_P(ToolTips, ComeFromTheTopmostLabelThroughLinesAndShapes) {
    TestApp t;
    t.app.open("Test");
    EXPECT_EQ(t.test().toolTipAt(GetParam().x, GetParam().y), GetParam().toolTip)
        << "at " << GetParam().x << ", " << GetParam().y;
}

INSTANTIATE_TEST_SUITE_P(
    Points, ToolTips,
    ::testing::Values(HitCase{10, 10, "подсказка 0"},      // corner of the lower label
                      HitCase{400, 400, "подсказка 0"},    // under the shape
                      HitCase{100, 750, "подсказка 0"},    // under the wide line
                      HitCase{1200, 1200, "подсказка 1"},  // where the labels overlap
                      HitCase{2499, 2499, "подсказка 1"},  // last twip inside
                      HitCase{2500, 2500, ""},             // just outside
                      HitCase{3100, 100, ""},              // a hidden label shows nothing
                      HitCase{5900, 4400, ""}),
    [](const ::testing::TestParamInfo<HitCase>& row) {
        return "X" + std::to_string(static_cast<int>(row.param.x)) + "_Y" +
               std::to_string(static_cast<int>(row.param.y));
    });

TEST(MouseMoves, GoToTheLabelUnderTheMouseWithItsOwnCoordinates) {
    TestApp t;
    t.app.open("Test");
    TestWindow& w = t.test();
    w.mouseMove(1100, 1200);
    w.mouseMove(300, 300);
    w.mouseMove(5000, 4000);
    EXPECT_EQ(w.log, (std::vector<std::string>{"move1 100,200", "move0 300,300"}));
}

TEST(Properties, AreReachableByTheirDesignNames) {
    TestApp t;
    Control& body = t.test().control("Body");
    EXPECT_EQ(formatValue(getProperty(body, "FillColor").value), "#00FF00");
    EXPECT_EQ(formatValue(getProperty(body, "Left").value), "200");
    EXPECT_EQ(getProperty(body, "Caption").error, PropertyError::NotOfThisKind);
    EXPECT_EQ(getProperty(body, "Colour").error, PropertyError::Unknown);
    EXPECT_EQ(setProperty(body, "Left", Twips{12.4}), PropertyError::None);
    EXPECT_EQ(formatValue(getProperty(body, "Left").value), "12");
    EXPECT_EQ(setProperty(body, "Visible", std::string("yes")), PropertyError::WrongType);
    Control& wire = t.test().control("Wire");
    EXPECT_EQ(getProperty(wire, "Left").error, PropertyError::NotOfThisKind);
    EXPECT_EQ(formatValue(getProperty(wire, "BorderWidth").value), "5");
}

TEST(Revision, ChangesOnlyWhenSomethingChanged) {
    TestApp t;
    Control& body = t.test().control("Body");
    const auto before = t.test().revision();
    body.setLeft(body.left());
    EXPECT_EQ(t.test().revision(), before);
    body.setLeft(body.left() + 1);
    EXPECT_GT(t.test().revision(), before);
}

}  // namespace
}  // namespace vk41

namespace vk41 {
namespace {

// Found by fuzzing: a window torn down after the design it was made from
// (static objects ending in the reverse order of their making) must not
// read the design again. Here the design outlives the window but every row
// of it is blank by the end: a window that asked it which of its controls
// are timers would find none and leave its running timer to the scheduler.
TEST(WindowEnd, NeedsNoDesign) {
    Scheduler scheduler;
    App app(scheduler);
    FormDesign design = testing::TestWindow::layout("Test");
    auto window = std::make_unique<Form>(app, design);
    window->load();
    ASSERT_TRUE(scheduler.nextDue().has_value()) << "the design's timer does not run";
    for (ControlDesign& row : design.controls) row = ControlDesign{};
    window.reset();
    EXPECT_FALSE(scheduler.nextDue().has_value()) << "a timer of the ended window still runs";
}

}  // namespace
}  // namespace vk41
