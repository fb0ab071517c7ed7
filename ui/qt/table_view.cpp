#include "ui/qt/table_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

#include "ui/qt/convert.h"

namespace vk41::qt {

// The source's cells as Qt asks for them, one at a time.
class TableModel : public QAbstractTableModel {
  public:
    explicit TableModel(QObject* parent) : QAbstractTableModel(parent) {}

    void show(TableSource* source) {
        beginResetModel();
        source_ = source;
        columns_ = source ? source->tableColumns() : std::vector<TableSource::Column>{};
        rows_ = source ? source->tableRows() : 0;
        endResetModel();
    }
    const std::vector<TableSource::Column>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!source_ || !index.isValid() || index.row() >= rows_) return {};
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
        return toQString(source_->tableCell(index.row(), index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= static_cast<int>(columns_.size()))
            return {};
        return toQString(columns_[static_cast<std::size_t>(section)].heading);
    }

  private:
    TableSource* source_{nullptr};
    std::vector<TableSource::Column> columns_;
    int rows_{0};
};

TableView::TableView(QWidget* parent, Select select)
    : QTableView(parent), select_(std::move(select)), model_(new TableModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    // Rows of one height are laid out without measuring each of them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    // Scrolled to the end by the user, it follows the newest row again.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!syncing_) following_ = value == verticalScrollBar()->maximum();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_ && current.isValid()) select_(current.row());
            });
}

TableView::~TableView() = default;

void TableView::showControl(const Control& c, double scale) {
    const QFont font = toQFont(c.font(), scale, logicalDpiY());
    showCommon(*this, c, scale, font);
    const bool rescaled = scale != scale_;
    scale_ = scale;
    if (c.table() != source_ || rescaled) shown_ = kNever;
    source_ = c.table();
    if (rescaled) verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    takeRows();
}

void TableView::takeRows() {
    if (source_ && source_->tableRevision() == shown_) return;
    const bool firstTime = shown_ == kNever;
    shown_ = source_ ? source_->tableRevision() : kNever;
    syncing_ = true;
    const int scrolled = verticalScrollBar()->value();
    model_->show(source_);
    if (firstTime) {
        const auto& columns = model_->columns();
        for (int i = 0; i < static_cast<int>(columns.size()); ++i)
            setColumnWidth(
                i,
                static_cast<int>(columns[static_cast<std::size_t>(i)].width / 15.0 * scale_ + 0.5));
    }
    const int row = source_ ? source_->selectedRow() : -1;
    if (row >= 0 && row < model_->rowCount({}))
        selectionModel()->setCurrentIndex(
            model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The scroll bar's range follows the new rows only once laid out.
    updateGeometries();
    verticalScrollBar()->setValue(following_ ? verticalScrollBar()->maximum() : scrolled);
    syncing_ = false;
}

}  // namespace vk41::qt
