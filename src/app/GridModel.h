#pragma once

#include "core/DataView.h"

#include <QAbstractTableModel>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace lobex {

// The data grid's contents for the table view: the texts the program's own logic prepared,
// shown as they are, with empty rows below the data as the classic grid has them. The data
// rows can be shown sorted by a column; the empty rows stay below them.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // A table with the same columns keeps the sort the user chose; other columns start again in
    // the program's own order.
    void SetTable(const GridTable& table);
    int DataRows() const { return static_cast<int>(table_.rows.size()); }
    // The column the rows are sorted by, -1 while they are in the program's order.
    int SortColumn() const { return sortColumn_; }
    // The decimal separator the cells' numbers are written with.
    void SetDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Sorts the data rows by column (-1: back to the program's order). Selections and the
    // current cell move with their rows.
    void sort(int column, Qt::SortOrder order) override;

private:
    std::vector<std::size_t> OrderFor(int column, Qt::SortOrder order) const;

    GridTable table_;
    int columns_ = 0;
    // The table row shown at each data row of the grid.
    std::vector<std::size_t> order_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::string decimalSeparator_ = ".";
};

} // namespace lobex
