#include "ui/qt/snapshot.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <sstream>

#include "ui/qt/form_window.h"

#include "tools/script_driver.h"

namespace vk41 {
namespace {

// Runs a script and renders the window it leaves behind.
QImage render(const std::string& script, const char* window) {
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream in(script);
    EXPECT_EQ(driver.run(in, err), 0) << err.str();
    return qt::renderClientArea(driver.app().form(window));
}

int darkPixels(const QImage& image, QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 80) ++dark;
    return dark;
}

struct WindowCase {
    const char* script;
    const char* window;
    int width, height;  // client area, pixels
    QRgb background;
};

class WindowPictures : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowPictures, HaveTheirClientSizeAndBackground) {
    const WindowCase& c = GetParam();
    const QImage image = render(c.script, c.window);
    ASSERT_EQ(image.size(), QSize(c.width, c.height)) << c.window;
    for (QPoint p : {QPoint(0, 0), QPoint(c.width - 1, c.height - 1)})
        EXPECT_EQ(image.pixel(p) & 0xFFFFFF, c.background & 0xFFFFFF)
            << c.window << " at " << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowPictures,
    ::testing::Values(WindowCase{"", "Texttt", 921, 801, 0xF0F0F0},
                      WindowCase{"menu Texttt Имитация\n", "Objectt", 1264, 918, 0xFFFFFF},
                      WindowCase{"menu Texttt Имитация\nmenu Objectt Блок Условий\n", "Bl_Usl", 917,
                                 576, 0xFFFFFF},
                      WindowCase{"menu Texttt Имитация\nmenu Objectt ModBus\n", "ModB_Frm", 936,
                                 849, 0xFFFFFF}));

TEST(DescriptionPictures, APageShowsItsTextAndPicture) {
    const QImage image = render("menu Texttt Общее\n", "Texttt");
    // TextComm spans 8..833 x 8..409 pixels: bold black text fills its first lines.
    EXPECT_GT(darkPixels(image, QRect(12, 12, 700, 60)), 2000);
    // Comn's bitmap, the scheme, fills its box from (56, 424) on.
    int drawn = 0;
    for (int y = 430; y < 790; y += 4)
        for (int x = 60; x < 690; x += 4)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xF0F0F0u) ++drawn;
    EXPECT_GT(drawn, 5000);
    // Nothing beyond the text box and the picture.
    EXPECT_EQ(image.pixel(900, 300) & 0xFFFFFF, 0xF0F0F0u);
}

TEST(DescriptionPictures, TheEquipmentPageHasNoPicture) {
    const QImage image = render("menu Texttt Общее\nmenu Texttt Оборудование\n", "Texttt");
    EXPECT_GT(darkPixels(image, QRect(52, 20, 500, 40)), 1000);
    EXPECT_EQ(darkPixels(image, QRect(56, 430, 600, 360)), 0);
}

QStringList menuTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* a : actions) texts << a->text();
    return texts;
}

TEST(WindowMenus, StandInTheirMenuBarOrder) {
    std::ostringstream out;
    ScriptDriver driver(out);
    qt::FormWindow description(driver.app().form("Texttt"), {});
    const QList<QAction*> bar = description.menuBar()->actions();
    EXPECT_EQ(menuTexts(bar), (QStringList{"Назначение", "Описание", "Имитация", "Оборудование"}));
    ASSERT_NE(bar[1]->menu(), nullptr);
    EXPECT_EQ(menuTexts(bar[1]->menu()->actions()),
              (QStringList{"Общее", "Деморежим", "Блок условий", "ModBus"}));
    qt::FormWindow scheme(driver.app().form("Objectt"), {});
    EXPECT_EQ(menuTexts(scheme.menuBar()->actions()),
              (QStringList{"Деморежим", "Блок Условий", "Программа", "ModBus", "Шина ModBus"}));
    EXPECT_EQ(scheme.windowTitle(), "Схема установки");
}

TEST(WindowMenus, ChoosingAnItemActsOnTheModel) {
    std::ostringstream out;
    ScriptDriver driver(out);
    int events = 0;
    qt::FormWindow description(driver.app().form("Texttt"), [&] { ++events; });
    description.show();
    description.menuBar()->actions()[3]->trigger();  // Оборудование
    EXPECT_TRUE(driver.app().form("Texttt").control("Text_Dev").visible());
    EXPECT_EQ(events, 1);
}

}  // namespace
}  // namespace vk41

int main(int argc, char** argv) {
    // ctest may name a simulated screen: "offscreen:configfile=…".
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
