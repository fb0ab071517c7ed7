// The trends' chart on the screen: its line series hold the window's traces
// point for point, it takes new data only while shown, and the mouse over
// it reads every trace in the window's cursor line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <sstream>

#include "app/windows.h"
#include "conditions/trend_frm.h"
#include "shell_windows.h"
#include "tools/script_driver.h"
#include "ui/qt/chart_view.h"
#include "ui/qt/form_window.h"
#include "ui/qt/shell.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

class TrendChart : public ::testing::Test {
  protected:
    TrendChart() {
        for (const char* line :
             {"menu Texttt Имитация", "click Objectt.Radix(3)", "click Objectt.Hand_Upp",
              "click Objectt.Hand_Upp", "click Objectt.Vis(0)", "run 90000", "force input 4 0"})
            driver.execute(line);
        driver.app().open(kTrendFrm);
        driver.execute("run 30000");
        window.show();
        QApplication::processEvents();
    }
    TrendFrm& trends() { return driver.app().form<TrendFrm>(kTrendFrm); }
    qt::ChartView& chart() {
        auto* view = window.findChild<qt::ChartView*>("Graph");
        EXPECT_NE(view, nullptr);
        return *view;
    }
    // Every series against the window's traces; empty when they agree.
    std::string mismatch() {
        const std::vector<ChartSeries> model = trends().chartSeries();
        const std::vector<QLineSeries*>& shown = chart().traces();
        if (shown.size() != model.size()) return "series " + std::to_string(shown.size());
        for (std::size_t i = 0; i < model.size(); ++i) {
            const QList<QPointF> points = shown[i]->points();
            if (shown[i]->name().toStdString() != model[i].name)
                return "the name of " + model[i].name;
            if (points.size() != static_cast<qsizetype>(model[i].points.size()))
                return model[i].name + ": " + std::to_string(points.size()) + " points, not " +
                       std::to_string(model[i].points.size());
            for (qsizetype p = 0; p < points.size(); ++p) {
                const ChartPoint& m = model[i].points[static_cast<std::size_t>(p)];
                if (points[p] != QPointF(m.x, m.y))
                    return model[i].name + ": point " + std::to_string(p);
            }
        }
        return "";
    }

    std::ostringstream out;
    ScriptDriver driver{out};
    qt::FormWindow window{driver.app().form(kTrendFrm), [this] { window.sync(); }};
};

TEST_F(TrendChart, ItsSeriesHoldTheTracesPointForPoint) {
    EXPECT_EQ(mismatch(), "");
    // The pump's trace has its jumps; the level rises and falls.
    EXPECT_GT(chart().traces()[3]->count(), 4);
    EXPECT_GE(chart().traces()[0]->count(), 3);
}

TEST_F(TrendChart, TakesNewDataOnlyWhileShown) {
    window.hide();
    const qsizetype before = chart().traces()[0]->count();
    driver.execute("run 20000");
    window.sync();
    EXPECT_EQ(chart().traces()[0]->count(), before);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(mismatch(), "");
    EXPECT_NE(chart().traces()[0]->count(), before);
}

TEST_F(TrendChart, FollowsThePlantAfterEachRefresh) {
    driver.execute("run 5000");
    window.sync();
    EXPECT_EQ(mismatch(), "");
}

TEST_F(TrendChart, TheMouseOverItReadsEveryTraceThen) {
    QChart* c = chart().chart();
    const QPointF middle = c->plotArea().center();
    const QPoint at = chart().mapFromScene(c->mapToScene(middle));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), chart().viewport()->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart().viewport(), &move);
    ASSERT_TRUE(trends().cursor().has_value());
    const double time = *trends().cursor();
    // The middle of the first ten minutes.
    EXPECT_NEAR(time, 300, 5);
    const std::string caption = trends().control("Cursor_Lab").caption();
    EXPECT_EQ(caption, trends().textAt(time));
    EXPECT_NE(caption.find("выход 4 = "), std::string::npos) << caption;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&chart(), &leave);
    EXPECT_FALSE(trends().cursor().has_value());
}

// ctest runs this suite on a simulated 1366 x 768 laptop screen too.
TEST(OnASmallScreenTrends, OpenFromTheConditionsBlocksMenuInsideTheScreen) {
    Trainer program;
    qt::Shell shell{program.app};
    shell.start();
    testing::chooseMenu("Texttt", "Имитация");
    testing::chooseMenu("Objectt", "Блок Условий");
    qt::FormWindow* block = testing::windowOf("Bl_Usl");
    ASSERT_NE(block, nullptr);
    QAction* trends = nullptr;
    for (QAction* item : block->menuBar()->actions())
        if (item->menu())
            for (QAction* sub : item->menu()->actions())
                if (sub->text() == "Тренды…") trends = sub;
    ASSERT_NE(trends, nullptr);
    trends->trigger();
    QApplication::processEvents();
    qt::FormWindow* window = testing::windowOf(kTrendFrm);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_LE(window->scale(), 1.0);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect client(window->clientArea()->mapToGlobal(QPoint(0, 0)),
                       window->clientArea()->size());
    EXPECT_TRUE(screen.contains(client)) << client.width() << " x " << client.height();
}

}  // namespace
}  // namespace vk41
