#pragma once

#include "core/GridTable.h"

#include <QTableView>

namespace lobex {

class GridModel;

// The data grid (ctlGrid): the rows the program prepared, read-only, whole rows selected. The
// selection stays on the data rows, and Ctrl+C copies the selected rows as a block.
class DataGridView final : public QTableView {
    Q_OBJECT
public:
    explicit DataGridView(QWidget* parent);

    // Shows the table, of which the first dataRows rows hold data; the selected row stays where
    // it was while it still exists, as the grid keeps it when its cells change.
    void Show(const GridTable& table, int dataRows);
    // Selects the whole row (1 = the first data row; the first row when there is no data).
    void SelectRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CopySelection();
    void KeepSelectionOnData();

    GridModel* model_ = nullptr;
    int dataRows_ = 0;
};

} // namespace lobex
