#pragma once

#include "LoadContext.h"

#include <string>
#include <string_view>

// The far-field pattern: the grid reader, the maximum and the -3 dB beam, and the two cuts the
// polar graphs draw.
namespace lobex {

inline constexpr std::string_view kFarFieldHeader =
    "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)";

// Reads a far-field file into FarField (one column per azimuth, closed at 360 when the last
// step is missing). Every column has the same number of points; a grid with a single azimuth,
// unequal columns or an unreadable line is refused with "Неправильный формат данных".
bool ReadFarFieldGrid(LoadContext& ctx, const std::string& path);

// The far-field loader (DataKind 5): read, find the maximum and the beam, show the pattern,
// fill the grid table and the elevation list.
bool LoadFarField(LoadContext& ctx, const std::string& path);

// The strongest total gain over the upper hemisphere and the -3 dB width of the horizontal lobe
// at its elevation, into state.Pattern. Does nothing on a grid that is not regular.
void FindMaximumAndBeam(AppState& state);

// Builds the cut selected by CutKind (1 azimuth cut at `elevation`, 2 elevation cut through
// `azimuth`) into Series 0..3 as polar radii ((60 + gain) / PlotRange)^4.
bool BuildCut(LoadContext& ctx, float azimuth, float elevation);

// The vertical-plane cut through `azimuth` and `azimuth` + 180, in dBi, into Series 0..3.
// `message` is shown when an azimuth is missing (nothing when empty).
void ElevationCut(LoadContext& ctx, float azimuth, std::string_view message);

// The grid's view of a pattern: labels, the elevation list (item data = zenith index) and the
// elevation cut through azimuths 0 and 180.
void FarFieldTable(LoadContext& ctx);

// The cut-building steps of showing a pattern, without drawing: the azimuth cut at the chosen
// elevation (the picked cmbParam entry when SetChosen, else the maximum), then the elevation
// cut. For views without graphs; the graphs do the same between their plots.
bool BuildPatternCuts(LoadContext& ctx);

} // namespace lobex
