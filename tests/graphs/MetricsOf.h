#pragma once

#include "graphs/PlotApi.h"

namespace lobex::test {

// Plot metrics of a plotting area from (left, top) to (right, bottom) with the values at its
// edges.
inline PlotMetrics Metrics(int left, int top, int right, int bottom, float xLo, float yLo,
                           float xHi, float yHi) {
    PlotMetrics m;
    m.Left = left;
    m.Top = top;
    m.Right = right;
    m.Bottom = bottom;
    m.XLo = xLo;
    m.YLo = yLo;
    m.XHi = xHi;
    m.YHi = yHi;
    return m;
}

} // namespace lobex::test
