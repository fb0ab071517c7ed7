#pragma once

#include <QChartView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "ui/chart.h"
#include "ui/qt/control_view.h"

class QAbstractAxis;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace vk41::qt {

// A chart control: its window's traces as Qt Charts line series, its marks
// as vertical dashed lines with their texts, the cursor as a line where the
// mouse rests. It takes the data again only when the source's revision has
// moved and only while it is shown; the source moves it a few times a second.
class ChartView : public QChartView, public ControlView {
  public:
    // Told the time under the mouse as it moves, none when it leaves.
    using PointAt = std::function<void(std::optional<double>)>;
    ChartView(QWidget* parent, PointAt pointAt);

    void showControl(const Control& control, double scale) override;
    // The traces' series, in the source's order.
    const std::vector<QLineSeries*>& traces() const { return traces_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void takeData();
    void setTimeAxis(const ChartAxis& axis);
    void setValueAxis(const ChartAxis& axis);
    void showTraces(const std::vector<ChartSeries>& series);
    void showMarks(const std::vector<ChartMark>& marks);
    void placeOverlays();
    QLineSeries* addSeries(const QColor& colour, Qt::PenStyle style);

    PointAt pointAt_;
    ChartSource* source_{nullptr};
    static constexpr std::uint64_t kNever = ~0ull;
    std::uint64_t shown_{kNever};  // the source's revision on the chart
    QValueAxis* time_{nullptr};
    QAbstractAxis* values_{nullptr};
    std::vector<QLineSeries*> traces_;
    std::vector<ChartMark> marks_;
    std::vector<QLineSeries*> markLines_;
    std::vector<QGraphicsSimpleTextItem*> markTexts_;
    QGraphicsLineItem* cursorLine_{nullptr};
    double valueFrom_{0}, valueTo_{1};
    double penWidth_{1.5};
};

}  // namespace vk41::qt
