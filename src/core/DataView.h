#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// What the data grid shows: one caption per column and the cell texts of each row, in the
// order the user sees them. The program's own logic fills it; windows only display it.
struct GridTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // Rows the grid shows at least, empty ones below the data included.
    int shownRows = 20;
};

// The controls of the main window that loading and parsing change. frmData implements it with
// real widgets; tests and lobex-cli with plain recorders.
class DataView {
public:
    virtual ~DataView() = default;

    // The set / wire / elevation list (cmbParam). Selecting an entry behaves like a user's
    // selection: the window's click handler runs (and does nothing while ComboFilling is set).
    virtual void ParamClear() = 0;
    virtual void ParamAddItem(std::string_view text, int itemData) = 0;
    virtual int ParamCount() const = 0;
    virtual std::string ParamItemText(int index) const = 0;
    virtual int ParamItemData(int index) const = 0;
    virtual int ParamListIndex() const = 0; // -1 when nothing is selected
    virtual void ParamSetListIndex(int index) = 0;
    virtual void ParamSetEnabled(bool enabled) = 0;
    // The caption beside the list: "Набор:", "Провод:", "Угол Места:".
    virtual void SetParamCaption(std::string_view caption) = 0;

    // The two curve lists, filled from the series labels for a data kind.
    virtual void FillCombos(int kind) = 0;
    // The 3D button and the elevation result labels of the pattern.
    virtual void SetPatternControls(bool enabled) = 0;
    // The status line.
    virtual void SetStatus(std::string_view text) = 0;

    // The data grid: show the table as a whole, and select a whole row (1 = first data row).
    virtual void ShowGrid(const GridTable& table) = 0;
    virtual void SelectGridRow(int row) = 0;

    // Lets pending window events run during long work.
    virtual void PumpEvents() = 0;
};

} // namespace lobex
