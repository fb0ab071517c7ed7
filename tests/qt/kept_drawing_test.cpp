// A window repaints from the drawing it keeps, redrawing only where the model
// changed. Whatever runs between two frames, the next one must show exactly
// what a window opened afresh on the same model shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <sstream>

#include "tools/script_driver.h"
#include "ui/qt/form_window.h"

namespace vk41 {
namespace {

QImage shown(qt::FormWindow& window) {
    window.sync();
    QApplication::processEvents();
    return window.clientArea()->grab().toImage();
}

QImage openedAfresh(Form& form, double scale) {
    qt::FormWindow fresh(form, {});
    fresh.fitWindowTo(scale);
    fresh.show();
    return shown(fresh);
}

struct Step {
    const char* what;
    const char* script;
};

// clang-format off
const Step kSteps[] = {
    {"RUN in \"Описание и демонстрация\"", "click Objectt.Radix(0)\nclick Objectt.Vis(0)\nrun 3000\n"},
    {"the tank fills and the tour goes on",  "run 60000\n"},
    {"STOP",                                 "click Objectt.Vis(1)\nrun 500\n"},
    {"Restart",                              "click Objectt.Vis(2)\nrun 500\n"},
    {"the valve's handle up",                "click Objectt.Vis(0)\nrun 2000\nclick Objectt.Hand_Down\nrun 2000\n"},
};
// clang-format on

class KeptDrawing : public ::testing::TestWithParam<double> {};

TEST_P(KeptDrawing, ShowsWhatAFreshWindowShowsAfterEveryChange) {
    const double scale = GetParam();
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream open("menu Texttt Имитация\n");
    ASSERT_EQ(driver.run(open, err), 0) << err.str();
    Form& scheme = driver.app().form("Objectt");
    qt::FormWindow window(scheme, {});
    window.fitWindowTo(scale);
    window.show();
    shown(window);
    for (const Step& step : kSteps) {
        std::istringstream in(step.script);
        ASSERT_EQ(driver.run(in, err), 0) << err.str();
        const QImage kept = shown(window);
        EXPECT_TRUE(kept == openedAfresh(scheme, scale)) << step.what << " at scale " << scale;
    }
}

std::string percent(const ::testing::TestParamInfo<double>& scale) {
    return "Percent" + std::to_string(static_cast<int>(scale.param * 100));
}

// At 3 the drawing is too large to keep: it goes straight to the screen.
INSTANTIATE_TEST_SUITE_P(AtScales, KeptDrawing, ::testing::Values(1.0, 0.75, 1.5, 3.0), percent);

}  // namespace
}  // namespace vk41
