// Typing into the Modbus window's combos as a person does, key by key into
// the real widgets: the window's model gets exactly what was typed, even
// where a longer list entry starts with it, and the next exchange tick
// composes the request from it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <sstream>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"

namespace vk41 {
namespace {

struct TypingCase {
    const char* name;
    const char* combo;
    int index;  // -1 for a single combo
    const char* typed;
    int cell;  // the request cell Q(cell) that shows it
    const char* shown;
};

void PrintTo(const TypingCase& c, std::ostream* os) {
    *os << c.combo << " <- \"" << c.typed << '"';
}

class TypingIntoACombo : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingIntoACombo, KeepsTheTypedTextAndTheNextTickComposesIt) {
    const TypingCase& c = GetParam();
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream script("menu Texttt Имитация\nmenu Objectt ModBus\nrun 300\n");
    ASSERT_EQ(driver.run(script, err), 0) << err.str();
    Form& modbus = driver.app().form("ModB_Frm");
    qt::FormWindow* window = nullptr;
    qt::FormWindow view(modbus, [&] { window->sync(); });
    window = &view;
    view.show();

    const Control& control = modbus.control(c.combo, c.index);
    // The widget is named as the script driver names the control.
    const QString widget =
        c.index < 0 ? QString(c.combo) : QString("%1(%2)").arg(c.combo).arg(c.index);
    auto* combo = view.findChild<QComboBox*>(widget);
    ASSERT_NE(combo, nullptr) << widget.toStdString();
    QLineEdit* edit = combo->lineEdit();
    ASSERT_NE(edit, nullptr);
    // Inline completion, where it is on, works only in the focused widget.
    view.activateWindow();
    edit->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, c.typed);

    EXPECT_EQ(edit->text().toStdString(), c.typed);
    EXPECT_EQ(control.text(), c.typed);

    driver.scheduler().advanceBy(300);  // the exchange tick
    EXPECT_EQ(modbus.control("Q", c.cell).caption(), c.shown);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ModbusWindow, TypingIntoACombo, ::testing::Values(
    //         name          combo      index typed cell shown
    TypingCase{"Address",    "ContNum",  -1,  "1",  0,   "01"},
    TypingCase{"TwoKeys",    "ContNum",  -1,  "10", 0,   "10"},
    TypingCase{"FirstFlag",  "Комбо1",    5,  "3",  3,   "03"},
    TypingCase{"FlagCount",  "Комбо1",    6,  "2",  5,   "02"}),
    [](const ::testing::TestParamInfo<TypingCase>& row) { return std::string(row.param.name); });
// clang-format on

// A number the window does not take marks its combo on the screen, not only
// in the model, and a number it takes clears the mark.
TEST(ArbitraryNumberCombo, IsRedOnTheScreenWhileItHoldsANumberTheWindowDoesNotTake) {
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream script(
        "menu Texttt Имитация\nmenu Objectt ModBus\nclick ModB_Frm.Branch(4)\nrun 300\n");
    ASSERT_EQ(driver.run(script, err), 0) << err.str();
    qt::FormWindow* window = nullptr;
    qt::FormWindow view(driver.app().form("ModB_Frm"), [&] { window->sync(); });
    window = &view;
    view.show();
    auto* combo = view.findChild<QComboBox*>("Cond_Val");
    ASSERT_NE(combo, nullptr);
    const QColor field = combo->palette().color(QPalette::Base);
    ASSERT_NE(field, QColor(Qt::red));

    view.activateWindow();
    combo->lineEdit()->setFocus();
    QApplication::processEvents();
    const auto retype = [&](const char* text) {
        QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(combo->lineEdit(), text);
    };
    retype("70000");
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(Qt::red));
    retype("5");
    EXPECT_EQ(combo->palette().color(QPalette::Base), field);
}

}  // namespace
}  // namespace vk41
