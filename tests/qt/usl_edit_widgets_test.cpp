// The program editor's real widgets: typing into a cell key by key, the red
// mark and its reason on a value that does not read, undo from the keyboard,
// and the question a window with unsaved edits asks when it is closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/windows.h"
#include "shell_windows.h"
#include "ui/qt/form_window.h"
#include "ui/qt/shell.h"

namespace vk41 {
namespace {

using testing::chooseMenu;
using testing::windowOf;

class EditorWidgets : public ::testing::Test {
  protected:
    // Opened as a person opens it, from the scheme's menu.
    EditorWidgets() {
        shell.start();
        chooseMenu("Texttt", "Имитация");
        chooseMenu("Objectt", "Программа");
        QApplication::processEvents();
        window = windowOf("Usl_Edit");
    }

    // Operator k's cell in column c, as a person sees it.
    QLineEdit* cell(int k, int c) {
        auto* combo = window->findChild<QComboBox*>(QString("Cell(%1)").arg(9 * (k - 1) + c));
        return combo ? combo->lineEdit() : nullptr;
    }
    void typeInto(QLineEdit* edit, const QString& text) {
        window->activateWindow();
        edit->setFocus();
        QApplication::processEvents();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QApplication::processEvents();
    }
    Control& model(int k, int c) {
        return program.app.form("Usl_Edit").control("Cell", 9 * (k - 1) + c);
    }

    Trainer program;
    qt::Shell shell{program.app};
    qt::FormWindow* window{nullptr};
};

TEST_F(EditorWidgets, ATypedCellThatDoesNotReadIsMarkedWithItsReason) {
    ASSERT_NE(window, nullptr);
    QLineEdit* operand = cell(3, 1);
    ASSERT_NE(operand, nullptr);
    auto* combo = qobject_cast<QComboBox*>(operand->parent());
    const QColor field = combo->palette().color(QPalette::Base);

    typeInto(operand, "Self / 200");
    EXPECT_EQ(model(3, 1).text(), "Self / 200");
    EXPECT_NE(combo->palette().color(QPalette::Base), field) << "marked";
    EXPECT_TRUE(combo->toolTip().contains("Self / 129…160")) << combo->toolTip().toStdString();

    typeInto(operand, "Self / 5");
    EXPECT_EQ(combo->palette().color(QPalette::Base), field) << "the mark cleared";
    EXPECT_FALSE(combo->toolTip().contains("Self / 129…160"));
}

TEST_F(EditorWidgets, CtrlZTakesBackTheEditOverTheCellsOwnUndo) {
    ASSERT_NE(window, nullptr);
    QLineEdit* operand = cell(3, 1);
    ASSERT_NE(operand, nullptr);
    const std::string before = model(3, 1).text();
    typeInto(operand, "Self / 5");
    ASSERT_EQ(model(3, 1).text(), "Self / 5");
    QTest::keyClick(operand, Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(model(3, 1).text(), before);
    EXPECT_EQ(operand->text().toStdString(), before);
    QTest::keyClick(operand, Qt::Key_Y, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(model(3, 1).text(), "Self / 5");
}

// Closing the window with edits not saved asks; "Отмена" keeps it open,
// "Не сохранять" closes it.
TEST_F(EditorWidgets, ClosingWithUnsavedEditsAsksFirst) {
    ASSERT_NE(window, nullptr);
    typeInto(cell(5, 8), "my comment");
    for (const char* answer : {"Отмена", "Не сохранять"}) {
        QString asked;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            asked = box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == answer) b->click();
        });
        window->close();
        QApplication::processEvents();
        EXPECT_TRUE(asked.contains("Сохранить")) << answer << ": " << asked.toStdString();
        const bool closed = std::string(answer) == "Не сохранять";
        EXPECT_EQ(program.app.existing("Usl_Edit")->loaded(), !closed) << answer;
        if (!closed) {
            EXPECT_TRUE(window->isVisible()) << answer;
        }
    }
}

}  // namespace
}  // namespace vk41
