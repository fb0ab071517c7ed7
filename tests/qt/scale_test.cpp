// The client area at a scale of its design: snapshots, the keyboard zoom,
// a resized window, the widgets laid out together, the mouse hit-testing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <sstream>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"
#include "ui/qt/snapshot.h"

namespace vk41 {
namespace {

struct Opened {
    std::ostringstream out, err;
    ScriptDriver driver;
    explicit Opened(const std::string& script)
        : driver(out, [](Form& form, const std::string& file, double scale) {
              return qt::saveSnapshot(form, file, scale);
          }) {
        std::istringstream in(script);
        EXPECT_EQ(driver.run(in, err), 0) << err.str();
    }
    Form& form(const char* name) { return driver.app().form(name); }
};

// ---- Snapshots at a scale.

struct SnapshotCase {
    const char* name;
    const char* command;  // after the scheme is opened
    int width, height;    // of the picture written
};

void PrintTo(const SnapshotCase& c, std::ostream* os) {
    *os << c.command;
}

class SnapshotCommand : public ::testing::TestWithParam<SnapshotCase> {};

TEST_P(SnapshotCommand, WritesThePictureAtItsScale) {
    const SnapshotCase& c = GetParam();
    // A blank in the name: a file name may hold one.
    const QTemporaryDir dir;
    const std::string file = dir.filePath("vk41 scale.png").toStdString();
    std::string command = c.command;
    command.replace(command.find("FILE"), 4, file);
    Opened opened("menu Texttt Имитация\n" + command + "\n");
    const QImage image(QString::fromStdString(file));
    EXPECT_EQ(image.size(), QSize(c.width, c.height)) << command;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scheme, SnapshotCommand, ::testing::Values(
    //           name              command                          width height
    SnapshotCase{"DesignSize",     "snapshot Objectt FILE",         1264, 918},
    SnapshotCase{"Half",           "snapshot Objectt FILE 0.5",      632, 459},
    SnapshotCase{"ThreeQuarters",  "snapshot Objectt FILE 0.75",     948, 689},
    SnapshotCase{"Double",         "snapshot Objectt FILE 2",       2528, 1836},
    SnapshotCase{"QuotedFile",     "snapshot Objectt \"FILE\" 1.5", 1896, 1377}),
    [](const ::testing::TestParamInfo<SnapshotCase>& row) { return std::string(row.param.name); });
// clang-format on

TEST(SnapshotCommand, AtTheDesignScaleIsThePictureItAlwaysWas) {
    Opened opened("menu Texttt Имитация\n");
    const QImage plain = qt::renderClientArea(opened.form("Objectt"));
    EXPECT_EQ(qt::renderClientArea(opened.form("Objectt"), 1.0), plain);
}

TEST(SnapshotCommand, RefusesAScaleOutOfRange) {
    std::ostringstream out, err;
    ScriptDriver driver(out, [](Form&, const std::string&, double) { return std::string(); });
    std::istringstream in("menu Texttt Имитация\nsnapshot Objectt x.png 9\n");
    EXPECT_EQ(driver.run(in, err), 2);
    EXPECT_EQ(err.str(), "error: line 2: a snapshot's scale lies between 0.2 and 4\n");
}

// ---- The window.

class SchemeWindow : public ::testing::Test {
  protected:
    Opened opened{"menu Texttt Имитация\n"};
    qt::FormWindow window{opened.form("Objectt"), {}};
    void SetUp() override {
        window.show();
        QApplication::processEvents();
    }
    QSize client() const { return window.clientArea()->size(); }
};

TEST_F(SchemeWindow, ZoomsWithTheKeyboardAndScrollsPastItsSize) {
    const QSize before = window.size();
    struct Step {
        QKeyCombination keys;
        double scale;
    };
    // clang-format off
    const Step steps[] = {
        {Qt::CTRL | Qt::Key_Plus,  1.25},
        {Qt::CTRL | Qt::Key_Equal, 1.5},
        {Qt::CTRL | Qt::Key_Minus, 1.25},
        {Qt::CTRL | Qt::Key_0,     1.0},
        {Qt::CTRL | Qt::Key_Minus, 0.9},
        {Qt::CTRL | Qt::Key_Minus, 0.75},
    };
    // clang-format on
    for (const Step& step : steps) {
        QTest::keyClick(&window, step.keys.key(), step.keys.keyboardModifiers());
        EXPECT_DOUBLE_EQ(window.scale(), step.scale);
        EXPECT_EQ(client(), QSize(qRound(1264 * step.scale), qRound(918 * step.scale)));
        EXPECT_EQ(window.size(), before) << "a zoom leaves the window's size alone";
    }
}

TEST_F(SchemeWindow, FollowsTheWindowsSizeKeepingItsProportions) {
    window.resize(700, 900);  // narrow and tall: the width decides
    QApplication::processEvents();
    EXPECT_NEAR(window.scale(), 700.0 / 1264, 1e-9);
    EXPECT_EQ(client().width(), 700);
    EXPECT_NEAR(client().height(), 918 * 700.0 / 1264, 1);
    window.resize(1600, 500 + window.height() - window.centralWidget()->height());
    QApplication::processEvents();
    EXPECT_NEAR(window.scale(), 500.0 / 918, 1e-9);
    EXPECT_EQ(client().height(), 500);
}

// Every widget at the scale: its rectangle, and the font of a native one.
TEST_F(SchemeWindow, LaysEveryWidgetOutAtTheScale) {
    Opened modbusOpened("menu Texttt Имитация\nmenu Objectt ModBus\n");
    Form& modbus = modbusOpened.form("ModB_Frm");
    qt::FormWindow modbusWindow(modbus, {});
    for (const double scale : {0.6, 1.5, 2.0}) {
        modbusWindow.fitWindowTo(scale);
        int widgets = 0;
        for (const Control& c : modbus.controls()) {
            const QString name =
                c.index() < 0
                    ? QString::fromStdString(c.name())
                    : QString("%1(%2)").arg(QString::fromStdString(c.name())).arg(c.index());
            const QWidget* w = modbusWindow.findChild<QWidget*>(name);
            if (!w) continue;
            ++widgets;
            const QRectF design(c.left() / 15, c.top() / 15, c.width() / 15, c.height() / 15);
            EXPECT_NEAR(w->x(), design.x() * scale, 1) << name.toStdString() << " at " << scale;
            EXPECT_NEAR(w->y(), design.y() * scale, 1) << name.toStdString() << " at " << scale;
            EXPECT_NEAR(w->width(), design.width() * scale, 1) << name.toStdString();
            EXPECT_NEAR(w->height(), design.height() * scale, 1) << name.toStdString();
            if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
                EXPECT_NEAR(QFontInfo(combo->font()).pixelSize(), 11 * scale, 1)
                    << name.toStdString();
            }
        }
        EXPECT_GT(widgets, 40);
    }
}

// The mouse at the scaled centre of a hint label finds that label's tooltip.
TEST_F(SchemeWindow, FindsTheDeviceUnderTheMouseAtEveryScale) {
    Form& scheme = opened.form("Objectt");
    for (const double scale : {0.6, 0.75, 1.5, 2.0}) {
        window.setScale(scale);
        for (int device : {1, 3, 5, 13}) {
            const Control& hint = scheme.control("Object", device);
            const QPoint at(static_cast<int>((hint.left() + hint.width() / 2) * scale / 15),
                            static_cast<int>((hint.top() + hint.height() / 2) * scale / 15));
            QWidget* client = window.clientArea();
            QWidget* target = client->childAt(at) ? client->childAt(at) : client;
            const QPoint local = target->mapFrom(client, at);
            QHelpEvent help(QEvent::ToolTip, local, target->mapToGlobal(local));
            QApplication::sendEvent(target, &help);
            EXPECT_EQ(QToolTip::text().toStdString(), hint.toolTip())
                << "Object(" << device << ") at scale " << scale;
        }
    }
}

// A press on a request's CRC cell opens the CRC steps, wherever the cell is
// drawn at the window's scale.
TEST(ModbusWindow, APressOnTheCrcCellOpensItsStepsAtEveryScale) {
    for (const double scale : {0.6, 1.0, 1.5}) {
        Opened opened("menu Texttt Имитация\nmenu Objectt ModBus\nrun 300\n");
        Form& modbus = opened.form("ModB_Frm");
        qt::FormWindow window(modbus, {});
        window.fitWindowTo(scale);
        window.show();
        const Control& cell = modbus.control("Q", 6);
        const QPoint at(static_cast<int>((cell.windowLeft() + cell.width() / 2) * scale / 15),
                        static_cast<int>((cell.windowTop() + cell.height() / 2) * scale / 15));
        QWidget* client = window.clientArea();
        QWidget* target = client->childAt(at) ? client->childAt(at) : client;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(client, at));
        const Form* steps = opened.driver.app().existing("CRC_Steps");
        ASSERT_NE(steps, nullptr) << "at scale " << scale;
        EXPECT_TRUE(steps->visible()) << "at scale " << scale;
    }
}

}  // namespace
}  // namespace vk41
