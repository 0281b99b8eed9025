#pragma once

#include "GridTable.h"

#include <string>
#include <string_view>

namespace lobex {

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
    // The main window's 3D button alone; a far-field load disables it before reading.
    virtual void Set3DButtonEnabled(bool enabled) = 0;
    // Draws both polar cuts of the loaded pattern, curves `left` and `right` (0: none); the
    // cuts themselves are built with BuildCut. A view without graphs builds the cuts only
    // (BuildPatternCuts). False when a cut cannot be built.
    virtual bool ShowPattern(int left, int right) = 0;
    // The status line.
    virtual void SetStatus(std::string_view text) = 0;

    // The data grid: show the table as a whole, and select a whole row (1 = first data row).
    virtual void ShowGrid(const GridTable& table) = 0;
    virtual void SelectGridRow(int row) = 0;
    // The grid's current row (1 = first data row).
    virtual int GridCurrentRow() const = 0;

    // Lets pending window events run during long work. The grid sort calls it once per step, so
    // it should be cheap (a window may run its event loop only every few milliseconds).
    virtual void PumpEvents() = 0;
};

} // namespace lobex
