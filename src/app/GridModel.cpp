#include "GridModel.h"

#include <algorithm>

namespace lobex {

void GridModel::SetTable(const GridTable& table) {
    beginResetModel();
    table_ = table;
    // With data, the columns are those the rows fill; the header may name unused ones empty.
    columns_ = static_cast<int>(table_.header.size());
    if (!table_.rows.empty()) {
        while (columns_ > static_cast<int>(table_.rows.front().size()) &&
               table_.header[static_cast<std::size_t>(columns_ - 1)].empty()) {
            --columns_;
        }
    }
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return std::max(static_cast<int>(table_.rows.size()), table_.shownRows);
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (row >= table_.rows.size() || column >= table_.rows[row].size()) {
        return {};
    }
    return QString::fromStdString(table_.rows[row][column]);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    const auto column = static_cast<std::size_t>(section);
    return column < table_.header.size() ? QString::fromStdString(table_.header[column])
                                         : QVariant();
}

} // namespace lobex
