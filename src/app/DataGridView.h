#pragma once

#include "core/GridTable.h"

#include <QTableView>

#include <string>

namespace lobex {

class GridModel;

// The data grid (ctlGrid): the rows the program prepared, read-only, whole rows selected. The
// selection stays on the data rows, and Ctrl+C copies the selected rows as a block. A click on
// a column's header sorts the rows by it, numerically, a second click the other way round; the
// selected rows stay selected.
class DataGridView final : public QTableView {
    Q_OBJECT
public:
    explicit DataGridView(QWidget* parent);

    // Shows the table, of which the first dataRows rows hold data; the selected row stays where
    // it was while it still exists, as the grid keeps it when its cells change.
    void Show(const GridTable& table, int dataRows);
    // Selects the whole row (1 = the first data row; the first row when there is no data).
    void SelectRow(int row);
    // The decimal separator the numbers in the cells are written with, for sorting them.
    void SetDecimalSeparator(const std::string& separator);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CopySelection();
    void KeepSelectionOnData();

    GridModel* model_ = nullptr;
    int dataRows_ = 0;
};

} // namespace lobex
