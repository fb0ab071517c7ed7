// Each windowed control's widget shows its control: as the window opens, and
// again after a handler changes the control and the window syncs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QPlainTextEdit>
#include <ostream>
#include <sstream>
#include <string>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"

namespace vk41 {
namespace {

std::string checked(const QWidget& w) {
    return qobject_cast<const QAbstractButton*>(&w)->isChecked() ? "checked" : "clear";
}
std::string caption(const QWidget& w) {
    return qobject_cast<const QAbstractButton*>(&w)->text().toStdString();
}
std::string comboText(const QWidget& w) {
    return qobject_cast<const QComboBox*>(&w)->currentText().toStdString();
}
std::string comboList(const QWidget& w) {
    const auto* combo = qobject_cast<const QComboBox*>(&w);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items.join('|').toStdString();
}
std::string boxText(const QWidget& w) {
    return qobject_cast<const QPlainTextEdit*>(&w)->toPlainText().toStdString();
}
std::string shown(const QWidget& w) {
    return w.isHidden() ? "hidden" : "shown";
}
std::string enabled(const QWidget& w) {
    return w.isEnabled() ? "enabled" : "disabled";
}
std::string toolTip(const QWidget& w) {
    return w.toolTip().toStdString();
}
std::string left(const QWidget& w) {
    return std::to_string(w.x());
}

struct ViewCase {
    const char* name;
    const char* window;
    const char* control;
    int index;  // -1 for a single control
    void (*change)(Control&);
    std::string (*shows)(const QWidget&);
    const char* before;  // as the window opens; null: not checked
    const char* after;
};

void PrintTo(const ViewCase& c, std::ostream* os) {
    *os << c.window << '.' << c.control << '(' << c.index << ')';
}

class ControlViews : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ControlViews, ShowTheirControlAndFollowItsChanges) {
    const ViewCase& c = GetParam();
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream script("menu Texttt Имитация\nmenu Objectt ModBus\n");
    ASSERT_EQ(driver.run(script, err), 0) << err.str();
    Form& form = driver.app().form(c.window);
    qt::FormWindow window(form, {});

    const QString name =
        c.index < 0 ? QString(c.control) : QString("%1(%2)").arg(c.control).arg(c.index);
    const QWidget* widget = window.findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name.toStdString();
    if (c.before) {
        EXPECT_EQ(c.shows(*widget), c.before) << "as the window opens";
    }
    c.change(form.control(c.control, c.index));
    window.sync();
    EXPECT_EQ(c.shows(*widget), c.after) << "after the change";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, ControlViews, ::testing::Values(
    //       name             window      control         index  change                                        shows      before        after
    ViewCase{"OptionValue",   "ModB_Frm", "Count_Length",  0, [](Control& ctl) { ctl.setValue(true); },          checked,   "clear",      "checked"},
    ViewCase{"OptionCaption", "ModB_Frm", "Dec",          -1, [](Control& ctl) { ctl.setCaption("десять"); },    caption,   "десятичная", "десять"},
    ViewCase{"ButtonCaption", "Objectt",  "Vis",           0, [](Control& ctl) { ctl.setCaption("ПУСК"); },      caption,   "RUN",        "ПУСК"},
    ViewCase{"ButtonEnabled", "Objectt",  "Vis",           1, [](Control& ctl) { ctl.setEnabled(true); },        enabled,   "disabled",   "enabled"},
    ViewCase{"ButtonToolTip", "Objectt",  "Hand_Down",    -1, [](Control& ctl) { ctl.setToolTip("вниз"); },      toolTip,   "",           "вниз"},
    ViewCase{"ComboText",     "ModB_Frm", "ContNum",      -1, [](Control& ctl) { ctl.setText("100"); },          comboText, "127",        "100"},
    ViewCase{"ComboList",     "ModB_Frm", "ContNum",      -1, [](Control& ctl) { ctl.setItems({"5", "6"}); },    comboList, "127|100|1",  "5|6"},
    ViewCase{"ComboPlace",    "ModB_Frm", "ContNum",      -1, [](Control& ctl) { ctl.setLeft(1500); },           left,      "80",         "100"},
    ViewCase{"TextBoxText",   "Texttt",   "TextComm",     -1, [](Control& ctl) { ctl.setText("страница"); },     boxText,   nullptr,      "страница"},
    ViewCase{"TextBoxShown",  "Texttt",   "TextComm",     -1, [](Control& ctl) { ctl.setVisible(true); },        shown,     "hidden",     "shown"},
    ViewCase{"PictureHidden", "ModB_Frm", "Commn",        -1, [](Control& ctl) { ctl.setVisible(false); },       shown,     "shown",      "hidden"},
    ViewCase{"FrameHidden",   "ModB_Frm", "Формат",       -1, [](Control& ctl) { ctl.setVisible(false); },       shown,     "shown",      "hidden"}),
    [](const ::testing::TestParamInfo<ViewCase>& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41
