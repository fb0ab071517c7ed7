// The program on a 1366 x 768 laptop screen (ctest runs this suite on such a
// simulated screen): every window opens scaled to fit it, the run controls
// are on the screen, and the mouse still finds the devices of the scheme.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolTip>

#include "app/windows.h"
#include "shell_windows.h"
#include "ui/qt/form_window.h"
#include "ui/qt/shell.h"

namespace vk41 {
namespace {

using testing::chooseMenu;
using testing::windowOf;

QRect onScreen(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// What the tooltip says when the mouse rests at `at`, client pixels.
QString tooltipAt(qt::FormWindow& window, QPoint at) {
    QWidget* client = window.clientArea();
    QWidget* target = client->childAt(at);
    if (!target) target = client;
    const QPoint local = target->mapFrom(client, at);
    QHelpEvent help(QEvent::ToolTip, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

class OnASmallScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        shell.start();
        chooseMenu("Texttt", "Имитация");
        chooseMenu("Objectt", "Блок Условий");
        chooseMenu("Objectt", "ModBus");  // hides the conditions block again
        QApplication::processEvents();
    }
    Trainer program;
    qt::Shell shell{program.app};
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
};

TEST_F(OnASmallScreen, EveryWindowsClientAreaLiesInsideTheScreen) {
    for (const char* name : {"Texttt", "Objectt", "Bl_Usl", "ModB_Frm"}) {
        qt::FormWindow* window = windowOf(name);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_LE(window->scale(), 1.0) << name;
        EXPECT_TRUE(screen.contains(onScreen(window->clientArea())))
            << name << " at scale " << window->scale() << ": client area "
            << onScreen(window->clientArea()).width() << " x "
            << onScreen(window->clientArea()).height() << " on a screen of " << screen.width()
            << " x " << screen.height();
    }
    // The scheme does not fit at its design size: it is shown smaller.
    EXPECT_LT(windowOf("Objectt")->scale(), 1.0);
}

TEST_F(OnASmallScreen, TheProgramsWindowsLieInsideTheScreen) {
    chooseMenu("Objectt", "Программа");
    QApplication::processEvents();
    // "Трасса и точки останова…" in the editor's menu "Отладка".
    for (QAction* menu : windowOf("Usl_Edit")->menuBar()->actions())
        if (menu->menu())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == QStringLiteral("Трасса и точки останова…")) item->trigger();
    QApplication::processEvents();
    for (const char* name : {"Usl_Edit", "Debug_Frm"}) {
        qt::FormWindow* window = windowOf(name);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_TRUE(screen.contains(onScreen(window->clientArea())))
            << name << " at scale " << window->scale();
    }
}

TEST_F(OnASmallScreen, RunIsOnTheScreen) {
    const auto* run = windowOf("Objectt")->findChild<QWidget*>("Vis(0)");
    ASSERT_NE(run, nullptr);
    EXPECT_TRUE(run->isVisible());
    EXPECT_TRUE(screen.contains(onScreen(run)))
        << "RUN at " << onScreen(run).x() << ", " << onScreen(run).y();
}

TEST_F(OnASmallScreen, ATooltipAtTheScaledCentreOfAHintNamesItsDevice) {
    qt::FormWindow& scheme = *windowOf("Objectt");
    const Control& pump = scheme.form().control("Object", 1);
    const double toPixels = scheme.scale() / 15.0;
    const QPoint centre(static_cast<int>((pump.left() + pump.width() / 2) * toPixels),
                        static_cast<int>((pump.top() + pump.height() / 2) * toPixels));
    EXPECT_EQ(tooltipAt(scheme, centre).toStdString(), pump.toolTip());
    EXPECT_EQ(pump.toolTip(), "Насос водяной");
}

}  // namespace
}  // namespace vk41
