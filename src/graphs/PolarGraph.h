#pragma once

#include "PlotLink.h"

#include <cstdint>

// The polar diagrams of a far-field pattern: the azimuth cut in slot 1 and the elevation cut in
// slot 2, drawn on PlotHost, with the -3 dB circle in the polar window.
namespace lobex {

// Draws columns left and right (0: none) of both cuts: the azimuth cut at the chosen elevation
// (the cmbParam entry at SelectedSetIndex when SetChosen, else the maximum's) and, when the grid
// has one, the elevation cut through azimuths 0 and 180. False when a cut cannot be built.
// From a class that also implements DataView, call it as lobex::ShowPattern.
bool ShowPattern(GraphContext& ctx, int left, int right);

// One polar document from the cut in the series: area 1 the azimuth diagram (slot 1), area 2
// the elevation diagram (slot 2, which also fills the result labels). False when nothing was
// drawn.
bool PlotPolar(GraphContext& ctx, int left, int right, int area);

// The result labels of the pattern on show (lblMaxElev, ...), as the window shows them.
PatternLabels ResultLabels(const AppState& state);

// The radius of the level 3 dB below the maximum on the fourth-power scale of the cuts.
float BeamCircleRadius(const AppState& state);

// Adds the green dotted -3 dB circle to a polar document as the curve after its `curves` data
// curves.
void AddBeamCircle(GraphContext& ctx, float radius, std::int32_t document, std::int32_t curves);

} // namespace lobex
