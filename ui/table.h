#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vk41 {

// What a table control shows: rows of text under column headings, one row
// selected or none. The window that owns the table provides it and keeps the
// rows; the view asks only for the cells it draws, so a table of many
// thousands of rows costs no more than the rows in sight.
class TableSource {
  public:
    virtual ~TableSource() = default;

    // Grows whenever the rows or the selection change, so a view takes them
    // again only then.
    virtual std::uint64_t tableRevision() const = 0;
    struct Column {
        std::string heading;
        float width{0};  // twips, as the design measures
    };
    virtual std::vector<Column> tableColumns() const = 0;
    virtual int tableRows() const = 0;
    virtual std::string tableCell(int row, int column) const = 0;

    // The selected row, -1 for none; selecting -1 clears the selection.
    virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;
};

}  // namespace vk41
