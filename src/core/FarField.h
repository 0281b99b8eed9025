#pragma once

#include "LoadContext.h"
#include "LoadResult.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The far-field pattern: the grid reader, the maximum and the -3 dB beam, and the two cuts the
// polar graphs draw.
namespace lobex {

inline constexpr std::string_view kFarFieldHeader =
    "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)";

// Reads a far-field text into its pattern: the grid (as ReadFarFieldGrid reads it), the maximum
// and the beam.
Parsed<FarFieldPattern> ParseFarField(std::string_view text);

// The load a pattern gives: the grid, its maximum and beam, the grid table through azimuths 0
// and 180 and, unless a set is chosen, the elevation list.
LoadResult DeriveLoad(const FarFieldPattern& pattern, const LoadRequest& request);
// The same for a pattern inside document, which the load keeps and whose grid it shares rather
// than copies.
LoadResult DeriveSharedLoad(const std::shared_ptr<const Result>& document,
                            const FarFieldPattern& pattern, const LoadRequest& request);

// Reads a far-field text into result.farField (one column per azimuth, closed at 360 when the
// last step is missing). Every column has the same number of points; a grid with a single
// azimuth, unequal columns or an unreadable line is refused with "Неправильный формат данных".
LoadResult ReadFarFieldGrid(std::string_view text);
// The same from a file, read once; a file that cannot be read is refused the same way.
LoadResult ReadFarFieldGridFile(const std::string& path);

// From this size a far-field file is read in pieces, on two threads where there are two cores.
inline constexpr std::uint64_t kLargeFarFieldBytes = std::uint64_t{1} << 20;

// A large far-field file (kLargeFarFieldBytes or more) read as it comes, in pieces, rather than
// held whole first;
// none when it is no such file or anything in it needs the closer look of reading it whole (any
// refusal), which LoadFileByHeader then takes.
std::optional<LoadResult> ReadLargeFarFieldFile(const std::string& path,
                                                const LoadRequest& request);

// Reads a far-field file's grid into the state's FarField for the pattern model, with its
// messages; false when the file was refused.
bool LoadFarFieldGrid(LoadContext& ctx, const std::string& path);

// The far-field reader (DataKind 5): ParseFarField, then DeriveLoad.
LoadResult ReadFarField(std::string_view text, const LoadRequest& request);

// The pattern's figures (MaximumAndBeam) into the results; does nothing on a grid that is not
// regular.
void FindMaximumAndBeam(const FarFieldGrid& grid, PatternResults& result);

// What building a cut made of it: whether the cut was built, and whether the pattern controls
// (the 3D button and the elevation result labels) are usable after it.
struct CutResult {
    bool built = false;
    std::optional<bool> patternControls;
};

// Builds the cut selected by CutKind (1 azimuth cut at `elevation`, 2 elevation cut through
// `azimuth`) into Series 0..3 as polar radii ((60 + gain) / PlotRange)^4.
CutResult BuildCut(LoadContext& ctx, float azimuth, float elevation);

// The vertical-plane cut through `azimuth` and `azimuth` + 180, in dBi, into Series 0..3. False
// when either azimuth is missing (the series then hold what was found).
bool ElevationCut(const FarFieldGrid& grid, float azimuth, DataSet& data);

// The elevation of the azimuth cut: the chosen set list entry's value when SetChosen, else the
// maximum's.
float CutElevation(const AppState& state);

// The cut-building steps of showing a pattern, without drawing: the azimuth cut at the chosen
// elevation, then the elevation cut. For views without graphs; the graphs do the same between
// their plots.
bool BuildPatternCuts(LoadContext& ctx);

} // namespace lobex
