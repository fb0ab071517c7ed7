#include "ui/qt/chart_view.h"

#include <QCategoryAxis>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

#include "ui/qt/convert.h"

namespace vk41::qt {

namespace {

QList<QPointF> toQPoints(const std::vector<ChartPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) list.append(QPointF(p.x, p.y));
    return list;
}

const QColor kMarkColour(110, 110, 110);

}  // namespace

ChartView::ChartView(QWidget* parent, PointAt pointAt)
    : QChartView(parent), pointAt_(std::move(pointAt)) {
    setRenderHint(QPainter::Antialiasing, false);
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    QChart* c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundRoundness(0);
    // The legend's names are long: the installation's wiring, one a line.
    c->legend()->setAlignment(Qt::AlignRight);
    time_ = new QValueAxis(this);
    time_->setLabelFormat("%.0f");
    c->addAxis(time_, Qt::AlignBottom);
    cursorLine_ = new QGraphicsLineItem(c);
    cursorLine_->setPen(QPen(Qt::black, 1));
    cursorLine_->setZValue(20);
    cursorLine_->hide();
    connect(c, &QChart::plotAreaChanged, this, [this] { placeOverlays(); });
}

void ChartView::showControl(const Control& control, double scale) {
    const QFont font = toQFont(control.font(), scale, logicalDpiY());
    showCommon(*this, control, scale, font);
    QChart* c = chart();
    setBackgroundBrush(toQColor(control.backColor()));
    c->setBackgroundBrush(toQColor(control.backColor()));
    if (c->legend()->font() != font) {
        c->legend()->setFont(font);
        time_->setLabelsFont(font);
        time_->setTitleFont(font);
        if (values_) values_->setLabelsFont(font);
        for (QGraphicsSimpleTextItem* text : markTexts_) text->setFont(font);
    }
    // The traces' pens thicken with the window's scale.
    if (penWidth_ != 1.5 * scale) {
        penWidth_ = 1.5 * scale;
        shown_ = kNever;
    }
    const int margin = static_cast<int>(4 * scale);
    c->setMargins(QMargins(margin, margin, margin, margin));
    source_ = control.chart();
    // A hidden chart takes its data when it is shown.
    if (isVisible()) takeData();
}

void ChartView::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    takeData();
}

void ChartView::takeData() {
    if (!source_ || source_->chartRevision() == shown_) return;
    shown_ = source_->chartRevision();
    setValueAxis(source_->valueAxis());
    setTimeAxis(source_->timeAxis());
    showTraces(source_->chartSeries());
    showMarks(source_->chartMarks());
    placeOverlays();
}

void ChartView::setTimeAxis(const ChartAxis& axis) {
    time_->setRange(axis.from, axis.to);
    time_->setTitleText(toQString(axis.title));
    time_->setLabelsVisible(axis.labelled);
    if (axis.step > 0) {
        time_->setTickType(QValueAxis::TicksDynamic);
        time_->setTickAnchor(0);
        time_->setTickInterval(axis.step);
    } else {
        time_->setTickType(QValueAxis::TicksFixed);
    }
}

// The value axis is made once, with the first data: named bands, or numbers.
void ChartView::setValueAxis(const ChartAxis& axis) {
    valueFrom_ = axis.from;
    valueTo_ = axis.to;
    if (!values_) {
        if (axis.bands.empty()) {
            values_ = new QValueAxis(this);
        } else {
            auto* bands = new QCategoryAxis(this);
            bands->setStartValue(axis.from);
            for (const ChartBand& band : axis.bands) bands->append(toQString(band.name), band.to);
            values_ = bands;
        }
        values_->setLabelsFont(time_->labelsFont());
        chart()->addAxis(values_, Qt::AlignLeft);
        for (QLineSeries* s : traces_) s->attachAxis(values_);
        for (QLineSeries* s : markLines_) s->attachAxis(values_);
    }
    values_->setRange(axis.from, axis.to);
    values_->setTitleText(toQString(axis.title));
    if (axis.bands.empty()) values_->setLabelsVisible(axis.labelled);
}

QLineSeries* ChartView::addSeries(const QColor& colour, Qt::PenStyle style) {
    auto* s = new QLineSeries(this);
    s->setPen(QPen(colour, 1.5, style));
    chart()->addSeries(s);
    s->attachAxis(time_);
    if (values_) s->attachAxis(values_);
    return s;
}

// Each trace's points replaced at once: one redraw per series, not per point.
void ChartView::showTraces(const std::vector<ChartSeries>& series) {
    while (traces_.size() < series.size()) traces_.push_back(addSeries(Qt::black, Qt::SolidLine));
    for (std::size_t i = 0; i < series.size(); ++i) {
        QLineSeries* s = traces_[i];
        const QString name = toQString(series[i].name);
        if (s->name() != name) s->setName(name);
        const QColor colour = toQColor(series[i].colour);
        if (s->pen().color() != colour || s->pen().widthF() != penWidth_)
            s->setPen(QPen(colour, penWidth_));
        s->replace(toQPoints(series[i].points));
    }
}

// A mark is a dashed vertical line over the whole height, out of the legend,
// with its text at the top.
void ChartView::showMarks(const std::vector<ChartMark>& marks) {
    marks_ = marks;
    while (markLines_.size() < marks.size()) {
        QLineSeries* line = addSeries(kMarkColour, Qt::DashLine);
        for (QLegendMarker* m : chart()->legend()->markers(line)) m->setVisible(false);
        markLines_.push_back(line);
        auto* text = new QGraphicsSimpleTextItem(chart());
        text->setFont(chart()->legend()->font());
        text->setBrush(kMarkColour.darker(150));
        text->setZValue(10);
        markTexts_.push_back(text);
    }
    for (std::size_t i = 0; i < markLines_.size(); ++i) {
        const bool used = i < marks.size();
        markLines_[i]->setVisible(used);
        markTexts_[i]->setVisible(used);
        if (!used) continue;
        const double x = marks[i].x;
        markLines_[i]->replace(QList<QPointF>{{x, valueFrom_}, {x, valueTo_}});
        markTexts_[i]->setText(toQString(marks[i].text));
    }
}

// The marks' texts and the cursor's line sit where their times are on the
// plot area. A text that would run into one before it goes a line lower.
void ChartView::placeOverlays() {
    const QRectF plot = chart()->plotArea();
    std::vector<double> rowEnds;  // where each line of texts ends so far
    for (std::size_t i = 0; i < marks_.size() && i < markTexts_.size(); ++i) {
        QGraphicsSimpleTextItem* text = markTexts_[i];
        const double x = chart()->mapToPosition(QPointF(marks_[i].x, valueTo_), markLines_[i]).x();
        const bool inside = x >= plot.left() && x <= plot.right();
        text->setVisible(inside);
        if (!inside) continue;
        const QRectF box = text->boundingRect();
        std::size_t row = 0;
        while (row < rowEnds.size() && rowEnds[row] > x) ++row;
        if (row == rowEnds.size()) rowEnds.push_back(0);
        rowEnds[row] = x + 2 + box.width() + 4;
        text->setPos(x + 2, plot.top() + 1 + static_cast<double>(row) * box.height());
    }
    const std::optional<double> cursor = source_ ? source_->cursor() : std::nullopt;
    if (!cursor || traces_.empty()) {
        cursorLine_->hide();
        return;
    }
    const double x = chart()->mapToPosition(QPointF(*cursor, valueFrom_), traces_[0]).x();
    cursorLine_->setLine(x, plot.top(), x, plot.bottom());
    cursorLine_->setVisible(x >= plot.left() && x <= plot.right());
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (traces_.empty()) return;
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const bool over = chart()->plotArea().contains(at);
    const std::optional<double> time =
        over ? std::optional(chart()->mapToValue(at, traces_[0]).x()) : std::nullopt;
    if (pointAt_) pointAt_(time);
    placeOverlays();
}

void ChartView::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    if (pointAt_) pointAt_(std::nullopt);
    placeOverlays();
}

}  // namespace vk41::qt
