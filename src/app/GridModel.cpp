#include "GridModel.h"

#include "core/GridOrder.h"
#include "platform/QtTranslations.h"

#include <algorithm>
#include <numeric>

namespace lobex {

void GridModel::SetTable(const GridTable& table) {
    beginResetModel();
    if (table.header != table_.header) {
        sortColumn_ = -1;
    }
    table_ = table;
    // With data, the columns are those the rows fill; the header may name unused ones empty.
    columns_ = static_cast<int>(table_.header.size());
    if (!table_.rows.empty()) {
        while (columns_ > static_cast<int>(table_.rows.front().size()) &&
               table_.header[static_cast<std::size_t>(columns_ - 1)].empty()) {
            --columns_;
        }
    }
    if (sortColumn_ >= columns_) {
        sortColumn_ = -1;
    }
    order_ = OrderFor(sortColumn_, sortOrder_);
    endResetModel();
}

std::vector<std::size_t> GridModel::OrderFor(int column, Qt::SortOrder order) const {
    if (column < 0 || column >= columns_) {
        std::vector<std::size_t> natural(table_.rows.size());
        std::iota(natural.begin(), natural.end(), std::size_t{0});
        return natural;
    }
    return SortedRowOrder(table_, static_cast<std::size_t>(column), order == Qt::DescendingOrder,
                          decimalSeparator_);
}

void GridModel::sort(int column, Qt::SortOrder order) {
    const std::vector<std::size_t> next = OrderFor(column, order);
    sortColumn_ = column < columns_ ? column : -1;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Where each table row is shown after the sort.
    std::vector<int> shownAt(next.size());
    for (std::size_t row = 0; row < next.size(); ++row) {
        shownAt[next[row]] = static_cast<int>(row);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        int row = index.row();
        if (row < static_cast<int>(order_.size())) {
            row = shownAt[order_[static_cast<std::size_t>(row)]];
        }
        after << createIndex(row, index.column());
    }
    order_ = next;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
    const auto shown = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (shown >= order_.size()) {
        return {};
    }
    const std::vector<std::string>& cells = table_.rows[order_[shown]];
    return column < cells.size() ? QString::fromStdString(cells[column]) : QVariant();
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // A first click on a column sorts it ascending, whichever way the last column went.
    if (role == Qt::InitialSortOrderRole) {
        return static_cast<int>(Qt::AscendingOrder);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    const auto column = static_cast<std::size_t>(section);
    return column < table_.header.size() ? ShownText(table_.header[column]) : QVariant();
}

} // namespace lobex
