#pragma once

#include <QTableView>
#include <cstdint>
#include <functional>

#include "ui/qt/control_view.h"
#include "ui/table.h"

namespace vk41::qt {

class TableModel;

// A table control: its window's rows in a Qt table, drawn a screenful at a
// time from the source. It takes the rows again only when the source's
// revision has moved; while its last row is in sight it keeps the newest in
// sight, as a log does. A row the user selects is told to the source.
class TableView : public QTableView, public ControlView {
  public:
    using Select = std::function<void(int row)>;
    TableView(QWidget* parent, Select select);
    ~TableView() override;

    void showControl(const Control& control, double scale) override;

  private:
    void takeRows();

    Select select_;
    TableModel* model_;
    TableSource* source_{nullptr};
    static constexpr std::uint64_t kNever = ~0ull;
    std::uint64_t shown_{kNever};
    double scale_{0};
    bool syncing_{false};   // our own selection and scrolling, not the user's
    bool following_{true};  // the newest row is kept in sight
};

}  // namespace vk41::qt
