#include "CompareTable.h"

#include "PatternFigures.h"
#include "platform/QtTranslations.h"

#include <QHeaderView>

namespace lobex {

CompareTable::CompareTable(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("tblCompare"));
    setColumnCount(5);
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
    setHorizontalHeaderLabels(
        {tr("Файл"), tr("Макс., dBi"), tr("F/B, dB"), tr("-3 dB, °"), tr("Возв., °")});
    Fill(rows, separator);
}

void CompareTable::ShowImpedanceRows(const std::vector<CompareRow>& rows, bool sweeps,
                                     const QString& parameter, std::string_view separator) {
    if (sweeps) {
        setHorizontalHeaderLabels(
            {tr("Файл"), tr("КСВ мин."), tr("f, MHz"), tr("Полоса, MHz"), tr("Резонанс, MHz")});
    } else {
        setHorizontalHeaderLabels(
            {tr("Файл"), tr("КСВ мин."), parameter, QStringLiteral("R"), QStringLiteral("jX")});
    }
    Fill(rows, separator);
}

void CompareTable::Fill(const std::vector<CompareRow>& rows, std::string_view separator) {
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
        QString tip = QString::fromStdString(rows[r].label) + QStringLiteral("\n");
        if (rows[r].detail.empty()) {
            tip += PatternFiguresFrame::Summary(rows[r].metrics, separator);
        }
        for (const auto& [caption, value] : rows[r].detail) {
            tip += QStringLiteral("\n") + ShownText(caption) + QLatin1Char(' ') +
                   QString::fromStdString(value);
        }
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
