#pragma once

#include "Checked.h"
#include "FarFieldPattern.h"

// Pattern B against pattern A on the angles both grids hold: the difference a comparison shows.
namespace lobex {

// Gains below this count as this: MMANA's -999 "no radiation" and deep nulls would otherwise
// swamp every difference scale.
inline constexpr float kDifferenceFloor = -100.0f;

// One point both patterns hold: A's gains and B − A in dB for each polarisation.
struct DifferencePoint {
    float Zenith = 0.0f;
    PatternPoint a;
    PatternPoint b;
    PatternPoint difference;
};

struct DifferenceColumn {
    float Azimuth = 0.0f;
    std::vector<DifferencePoint> Points;
};

// The common angles of two grids, in A's order: the azimuths both hold, and in each the zeniths
// both hold. Angles count as the same when they differ by less than a thousandth of a degree.
using DifferenceGrid = std::vector<DifferenceColumn>;

// Refused when either grid is not regular or the two share no angle.
Checked<DifferenceGrid> DifferenceOf(const FarFieldGrid& a, const FarFieldGrid& b);

// B − A along a cut, on the angles both cuts hold, in A's order; refused when they share none.
struct CutDifferencePoint {
    float angle = 0.0f;
    PatternPoint a;
    PatternPoint b;
    PatternPoint difference;
};
Checked<std::vector<CutDifferencePoint>> DifferenceOf(const PatternCut& a, const PatternCut& b);

// The largest |B − A| of the total gain over the grid, for a symmetric colour scale; 0 for none.
float LargestDifference(const DifferenceGrid& grid);

inline constexpr std::string_view kNoCommonAngles =
    LOBEX_TEXT("У диаграмм нет общих углов: разность не построить.");
inline constexpr std::string_view kIrregularPattern =
    LOBEX_TEXT("Диаграмма задана неполной сеткой углов: разность не построить.");

} // namespace lobex
