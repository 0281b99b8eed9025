#pragma once

#include "FakePlotApi.h"
#include "GraphWorld.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace lobex::test {

// The graph code over a fake engine, every picture box 400 x 300.
struct GraphHarness : GraphWorldOver<FakePlotApi> {
    GraphHarness() : GraphWorldOver(PlotHostKind::MainWindow) {
        for (int slot = 0; slot < kPlotSlotCount; ++slot) {
            view.SetSlotSize(slot, 400, 300);
        }
    }
};

// A column with its values and the limits the readers store for it.
inline void SetSeries(DataSet& data, int column, const std::string& label,
                      std::initializer_list<float> values) {
    SeriesRecord& series = data.Series[static_cast<std::size_t>(column)];
    series.Label = label;
    series.Values = values;
    series.Min = *std::min_element(series.Values.begin(), series.Values.end());
    series.Max = *std::max_element(series.Values.begin(), series.Values.end());
}

} // namespace lobex::test
