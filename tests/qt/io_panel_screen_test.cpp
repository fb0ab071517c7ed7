// The panel "Входы и выходы" on a 1366 x 768 laptop screen (ctest runs the
// OnASmallScreen suites on such a simulated screen): opened as the shell
// opens a window, it fits at its design size, every row on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "app/windows.h"
#include "ui/qt/form_window.h"

namespace vk41 {
namespace {

QRect onScreen(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

TEST(OnASmallScreenTheIoPanel, FitsAtItsDesignSize) {
    Trainer program;
    program.app.open(kIoFrm);
    qt::FormWindow window(program.app.form(kIoFrm), {});
    window.fitToScreen();
    window.show();
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_DOUBLE_EQ(window.scale(), 1.0);
    EXPECT_TRUE(screen.contains(onScreen(window.clientArea())))
        << "client area " << onScreen(window.clientArea()).width() << " x "
        << onScreen(window.clientArea()).height() << " on a screen of " << screen.width() << " x "
        << screen.height();
    const auto* last = window.findChild<QWidget*>("Out_Free(32)");
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(screen.contains(onScreen(last)));
}

}  // namespace
}  // namespace vk41
