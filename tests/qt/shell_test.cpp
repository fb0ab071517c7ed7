#include "ui/qt/shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/windows.h"
#include "shell_windows.h"
#include "ui/qt/form_window.h"

namespace vk41 {
namespace {

using testing::chooseMenu;
using testing::windowOf;

TEST(Shell, StartsOnTheDescriptionWindowAlone) {
    Trainer program;
    qt::Shell shell{program.app};
    shell.start();
    ASSERT_NE(windowOf("Texttt"), nullptr);
    EXPECT_TRUE(windowOf("Texttt")->isVisible());
    EXPECT_EQ(windowOf("Texttt")->windowTitle(), "ВОДОПОДГОТОВКА техническое решение");
    EXPECT_EQ(windowOf("Objectt"), nullptr);
}

TEST(Shell, EndsWhenTheLastVisibleWindowClosesThoughAHiddenOneIsLoaded) {
    Trainer program;
    qt::Shell shell{program.app};
    shell.start();
    chooseMenu("Texttt", "Имитация");
    chooseMenu("Objectt", "Блок Условий");
    chooseMenu("Objectt", "ModBus");
    ASSERT_TRUE(windowOf("ModB_Frm")->isVisible());
    EXPECT_FALSE(windowOf("Bl_Usl")->isVisible());
    EXPECT_TRUE(shell.app().existing("Bl_Usl")->loaded());

    bool ended = false;
    QTimer::singleShot(0, [] {
        windowOf("ModB_Frm")->close();
        windowOf("Objectt")->close();
        EXPECT_TRUE(windowOf("Texttt")->isVisible());
        windowOf("Texttt")->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(1); });
    guard.start(10000);
    ended = QApplication::exec() == 0;
    EXPECT_TRUE(ended) << "the program did not end";
    EXPECT_FALSE(shell.app().existing("Objectt")->loaded());
}

}  // namespace
}  // namespace vk41
