#pragma once

#include "PlotLink.h"
#include "core/Texts.h"
#include "model/FarFieldPattern.h"

#include <string>
#include <string_view>

// B − A of two far-field patterns as curves against the angle, in the place of the polar
// diagrams: the window's "Разность" and lobex-cli plot --difference draw it alike.
namespace lobex {

// The two patterns and the names the graph gives them (their files).
struct DifferencePair {
    const FarFieldGrid& a;
    const FarFieldGrid& b;
    std::string nameA;
    std::string nameB;
};

// Draws into slot `area` the difference in dB of columns left and right (1 vertical,
// 2 horizontal, 3 total; right 0: none) of the azimuth cut at `elevation` (kAzimuthSlot) or of
// the elevation cut through azimuths 0 and 180 (kElevationSlot), on the angles both cuts hold,
// with a dotted zero line and titled "B − A" by the files. Answers the refusal to show when the
// cuts cannot be compared (then nothing is drawn and the slot is as it was), else empty; a
// document the engine refuses is told as every plot tells it.
std::string_view PlotDifference(GraphContext& ctx, const DifferencePair& pair, float elevation,
                                int left, int right, int area);

// "Разность" in the polar diagrams' places, when it is on: the first compared pattern less the
// one on show, both cuts. A refusal is told, "Разность" goes off and the diagrams stay; false
// then, or when there is nothing to draw.
bool ShowDifferenceCurves(GraphContext& ctx, int left, int right);

// The first compared pattern, when the result on show is compared with one; null otherwise.
const FarFieldGrid* ComparedGrid(const AppState& state);

} // namespace lobex
