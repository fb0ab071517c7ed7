// A chart in a window's design: read from its `.form` line, placed like any
// windowed control, its properties by name, its data source kept across a
// load.
#include <gtest/gtest.h>

#include "ui/app.h"
#include "ui/chart.h"
#include "ui/design_text.h"
#include "ui/properties.h"

namespace vk41 {
namespace {

const FormDesign& chartDesign() {
    static const FormDesign design = parseDesign(R"(form C
size 3000 3000
label Under 0 0 3000 3000 caption=под
chart Graph 150 300 1500 900 size=9 back=#FFFFFF
)");
    return design;
}

// A source that gives nothing but counts the cursor's moves.
struct Source : ChartSource {
    std::uint64_t chartRevision() const override { return 0; }
    std::vector<ChartSeries> chartSeries() const override { return {}; }
    std::vector<ChartMark> chartMarks() const override { return {}; }
    ChartAxis timeAxis() const override { return {}; }
    ChartAxis valueAxis() const override { return {}; }
    void pointAt(std::optional<double> x) override { at = x; }
    std::optional<double> cursor() const override { return at; }
    std::optional<double> at;
};

TEST(ChartControl, IsReadFromItsDesignLine) {
    const ControlDesign& row = chartDesign().controls.at(1);
    EXPECT_EQ(row.kind, ControlKind::Chart);
    EXPECT_EQ(row.name, "Graph");
    EXPECT_EQ(row.props.left, 150);
    EXPECT_EQ(row.props.height, 900);
    EXPECT_EQ(row.props.font.size, 9);
    EXPECT_EQ(row.props.backColor, rgb(0xFFFFFF));
}

TEST(ChartControl, HasThePlacedControlsPropertiesOnly) {
    EXPECT_EQ(checkProperty(ControlKind::Chart, "Left"), PropertyError::None);
    EXPECT_EQ(checkProperty(ControlKind::Chart, "Visible"), PropertyError::None);
    EXPECT_EQ(checkProperty(ControlKind::Chart, "ToolTipText"), PropertyError::None);
    EXPECT_EQ(checkProperty(ControlKind::Chart, "Caption"), PropertyError::NotOfThisKind);
    EXPECT_EQ(checkProperty(ControlKind::Chart, "Text"), PropertyError::NotOfThisKind);
}

TEST(ChartControl, TakesTheMouseAboveTheLabelsAndKeepsItsSourceAcrossALoad) {
    Scheduler scheduler;
    App app(scheduler);
    Form form(app, chartDesign());
    Source source;
    form.control("Graph").setChart(&source);
    form.load();
    const Control* hit = form.hitTest(200, 400);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->name(), "Graph");
    EXPECT_EQ(form.hitTest(2000, 2000)->name(), "Under");
    form.unload();
    form.load();
    EXPECT_EQ(form.control("Graph").chart(), &source);
    const std::uint64_t before = form.control("Graph").changedAt();
    form.control("Graph").chartMoved();
    EXPECT_GT(form.control("Graph").changedAt(), before);
}

}  // namespace
}  // namespace vk41
