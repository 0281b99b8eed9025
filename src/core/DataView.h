#pragma once

#include "LoadResult.h"

#include <string_view>

namespace lobex {

// What a window does for the load flow. The flow changes the shared state; the view shows it.
// frmData implements it with widgets; HeadlessDataView serves runs without windows.
class DataView {
public:
    virtual ~DataView() = default;

    // A load begins: the plots close, and the grid, the set list and the log boxes show what
    // the state now holds.
    virtual void ShowLoadStart() = 0;
    // Draws both polar cuts of the pattern in the state now (a view without graphs builds the
    // cuts only). False when a cut cannot be built.
    virtual bool ShowPattern() = 0;
    // A load ended. On success the state holds its data and the view shows it (curve lists,
    // set list, grid, first graph); on failure the view disables what needs data.
    virtual void ShowLoadResult(const LoadResult& result) = 0;
    virtual void SetStatus(std::string_view text) = 0;
    // The wait cursor while reading.
    virtual void SetBusy(bool busy) = 0;
    // Lets pending window events run during long work; called often, so it should be cheap.
    virtual void PumpEvents() = 0;
};

} // namespace lobex
