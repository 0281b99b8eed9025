#include "CompareTable.h"

#include "PatternFigures.h"

#include <QHeaderView>

namespace lobex {

CompareTable::CompareTable(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("tblCompare"));
    setColumnCount(5);
    setHorizontalHeaderLabels(
        {tr("Файл"), tr("Макс., dBi"), tr("F/B, dB"), tr("-3 dB, °"), tr("Возв., °")});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    // The figures keep their width; long file names give way, shortened in the middle where
    // the names of one series of files differ.
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    hide();
}

void CompareTable::ShowRows(const std::vector<CompareRow>& rows, std::string_view separator) {
    setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto cell = [this, r](int column, const std::string& text) {
            auto* item = new QTableWidgetItem(QString::fromStdString(text));
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            setItem(static_cast<int>(r), column, item);
        };
        cell(0, rows[r].label);
        // The difference under the value: both side by side would not fit the frame.
        for (std::size_t f = 0; f < rows[r].figures.size(); ++f) {
            const std::string& difference = rows[r].differences[f];
            cell(static_cast<int>(f) + 1,
                 difference.empty() ? rows[r].figures[f] : rows[r].figures[f] + "\n" + difference);
        }
        // The name may be shortened to fit, and the row has room for four figures only: the
        // whole name and every figure of the pattern under the pointer.
        const QString tip = QString::fromStdString(rows[r].label) + QStringLiteral("\n") +
                            PatternFiguresFrame::Summary(rows[r].metrics, separator);
        for (int column = 0; column < columnCount(); ++column) {
            if (QTableWidgetItem* at = item(static_cast<int>(r), column)) {
                at->setToolTip(tip);
            }
        }
    }
    resizeRowsToContents();
    setVisible(!rows.empty());
}

} // namespace lobex
