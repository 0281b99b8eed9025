#pragma once

#include "core/DataView.h"

#include <QAbstractTableModel>

namespace lobex {

// The data grid's contents for the table view: the texts the program's own logic prepared,
// shown as they are, with empty rows below the data as the classic grid has them.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetTable(const GridTable& table);
    int DataRows() const { return static_cast<int>(table_.rows.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    GridTable table_;
    int columns_ = 0;
};

} // namespace lobex
