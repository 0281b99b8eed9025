#include "DataGridView.h"

#include "GridModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace lobex {
namespace {

// Grid columns are 800 twips wide in the classic 8-point face. Wider faces get wider columns,
// enough for the header's "Впер/Наз" (longer captions show whole in their tooltips) and for a
// value such as -145.85, whichever language the headers are in.
int ColumnWidth(const QWidget& grid) {
    constexpr int twipsWidth = 800 / 15;
    constexpr int padding = 10;
    const QFontMetrics metrics = grid.fontMetrics();
    const int captionWidth = metrics.horizontalAdvance(QStringLiteral("Впер/Наз")) + padding;
    const int valueWidth = metrics.horizontalAdvance(QStringLiteral("-000.00")) + padding;
    return std::max({twipsWidth, captionWidth, valueWidth});
}

constexpr int kGridColumns = 7;

} // namespace

DataGridView::DataGridView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("ctlGrid"));
    model_ = new GridModel(this);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth(*this));
    setMinimumWidth(ColumnWidth(*this) * kGridColumns + 24);
    // The rows come in the program's own order; sorting starts with the first header click.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &DataGridView::KeepSelectionOnData);
}

void DataGridView::Show(const GridTable& table, int dataRows) {
    const int current = currentIndex().isValid() ? currentIndex().row() + 1 : 0;
    dataRows_ = dataRows;
    model_->SetTable(table);
    if (model_->SortColumn() < 0) {
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    if (current > 0 && current <= model_->rowCount()) {
        SelectRow(current);
    }
    for (int c = 0; c < model_->columnCount(); ++c) {
        // A caption wider than the column ("Впер/Назад", "Угол Места") widens it to show whole.
        setColumnWidth(c, std::max(ColumnWidth(*this), horizontalHeader()->sectionSizeHint(c)));
    }
}

void DataGridView::SelectRow(int row) {
    const QModelIndex index = model_->index(dataRows_ == 0 ? 0 : std::max(row, 1) - 1, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void DataGridView::SetDecimalSeparator(const std::string& separator) {
    model_->SetDecimalSeparator(separator);
}

// Moving below the last data row goes back to it.
void DataGridView::KeepSelectionOnData() {
    const int rows = dataRows_;
    if (rows > 0 && currentIndex().isValid() && currentIndex().row() >= rows) {
        QTimer::singleShot(0, this, [this, rows] { SelectRow(rows); });
    }
}

void DataGridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    QTableView::keyPressEvent(event);
}

// Tab between cells, a line per row.
void DataGridView::CopySelection() {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (index.row() < model_->DataRows()) {
            rows << index.row();
        }
    }
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (int c = 0; c < model_->columnCount(); ++c) {
            cells << model_->index(row, c).data().toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    if (!lines.isEmpty()) {
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

} // namespace lobex
