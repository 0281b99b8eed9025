#pragma once

#include "PlotLink.h"

#include <array>
#include <cstddef>
#include <optional>

// The graphs of several results at once: every result's chosen curves on the axes of the one on
// show, each result in a line style of its own and named in the legend.
namespace lobex {

// How the curves of one result are drawn. Results differ by dash pattern and line width, never
// by colour alone: a print in black and white or a greyscale copy keeps the dashes, while
// colours of one lightness turn into the same grey. The colours stay those of the graph
// without comparison (the left list's curve red, the right list's blue), so that which curve is
// which still reads as it always did.
struct ResultLine {
    int lineType = 1;    // the plot engine's line types: 1 solid ... 5 dash-dot-dot
    double width = 10.0; // tenths of a point
};
// Eight results at most: the one on show (index 0, solid) and seven compared.
inline constexpr std::array<ResultLine, 8> kResultLines = {{
    {1, 10.0},
    {2, 10.0},
    {3, 15.0}, // dots need more ink than dashes to stay visible
    {4, 10.0},
    {5, 10.0},
    {1, 25.0},
    {2, 25.0},
    {4, 25.0},
}};

// The axis limits that hold every result's curves.
struct OverlayLimits {
    float xlo = 0.0f, xhi = 0.0f, ylo = 0.0f, yhi = 0.0f, y2lo = 0.0f, y2hi = 0.0f;
};

// The rectangular graph of columns left and right (0: none) over the result on show and every
// compared one: the overlay for the next document and the limits its axes need. None without
// comparisons.
std::optional<OverlayLimits> RectangularOverlay(const AppState& state, int left, int right,
                                                PlotOverlay& overlay);

// The polar diagram of `area` (kAzimuthSlot: the azimuth cut at the chosen elevation,
// kElevationSlot: the elevation cut through azimuths 0 and 180) over every far field compared,
// on one scale: absolute dBi, or each result to its own maximum when Compare.Normalise. False
// without comparisons. A compared pattern without the chosen elevation draws no azimuth cut.
bool PolarOverlay(const AppState& state, int left, int right, int area, PlotOverlay& overlay);

} // namespace lobex
