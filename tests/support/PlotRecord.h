#pragma once

#include "graphs/PlotApi.h"

#include <string>
#include <string_view>

namespace lobex::test {

// A plot record as the graph code fills it: DataFormat 2, the same number of points per curve,
// every curve drawn as a line. The engine's tests, benchmarks and picture gallery draw with it.
inline DPLOT MakeRecord(int curves, int points, const std::string& yLabel = "Y") {
    DPLOT plot;
    plot.Version = 2;
    plot.DataFormat = 2;
    plot.MaxCurves = curves;
    plot.MaxPoints = points;
    plot.NumCurves = curves;
    plot.Scale = 1;
    for (int c = 0; c < curves; ++c) {
        plot.NP[static_cast<std::size_t>(c)] = points;
        plot.LineType[static_cast<std::size_t>(c)] = 1;
    }
    SetTextField(plot.XAxis, std::string_view("Parameter\0", 10));
    SetTextField(plot.YAxis, yLabel);
    return plot;
}

} // namespace lobex::test
