#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A far-field pattern: gain by zenith and azimuth for each polarisation, with its maximum, its
// -3 dB beam and its cuts.
namespace lobex {

struct PatternPoint {
    float Zenith = 0.0f;
    float Vertical = 0.0f;
    float Horizontal = 0.0f;
    float Total = 0.0f;
};

// The points of one azimuth, by zenith as the file lists them.
struct AzimuthColumn {
    float Azimuth = 0.0f;
    std::vector<PatternPoint> Points;
};

using FarFieldGrid = std::vector<AzimuthColumn>;

// A grid shared by those who show it, read-only: the data on show and the load hold the grid of
// the result it came from rather than copies (a 0.5-degree sphere is 4 MB). Reads as the grid.
class SharedGrid {
public:
    // One column without points, what nothing loaded leaves.
    SharedGrid();
    SharedGrid(FarFieldGrid grid) : grid_(std::make_shared<const FarFieldGrid>(std::move(grid))) {}
    SharedGrid(std::initializer_list<AzimuthColumn> columns) : SharedGrid(FarFieldGrid(columns)) {}
    // A grid inside owner, which it keeps alive.
    SharedGrid(std::shared_ptr<const void> owner, const FarFieldGrid& grid)
        : grid_(std::move(owner), &grid) {}

    operator const FarFieldGrid&() const { return *grid_; }
    const FarFieldGrid& Grid() const { return *grid_; }
    std::size_t size() const { return grid_->size(); }
    bool empty() const { return grid_->empty(); }
    const AzimuthColumn& operator[](std::size_t column) const { return (*grid_)[column]; }
    const AzimuthColumn& at(std::size_t column) const { return grid_->at(column); }
    const AzimuthColumn& front() const { return grid_->front(); }
    const AzimuthColumn& back() const { return grid_->back(); }
    FarFieldGrid::const_iterator begin() const { return grid_->begin(); }
    FarFieldGrid::const_iterator end() const { return grid_->end(); }

private:
    std::shared_ptr<const FarFieldGrid> grid_;
};

// The strongest total gain over the upper hemisphere and the -3 dB width of the horizontal lobe
// at its elevation.
struct PatternFigures {
    float MaxElevation = 0.0f;
    float MaxAzimuth = 0.0f;
    float MaxGain = -100.0f;
    float BeamWidth = 0.0f;
    float BeamLeft = 0.0f;
    float BeamRight = 0.0f;
};

struct FarFieldPattern {
    FarFieldGrid grid;
    PatternFigures figures;
};

// The elevation of a zenith angle as the file's decimals give it: 90 - 72.1 is 17.9, where the
// float subtraction would show 17.900002.
float ElevationOf(float zenith);

// Every column holds the same, non-zero number of points.
bool IsRegular(const FarFieldGrid& grid);

// The maximum and beam of a grid; none for a grid that is not regular. A grid with nothing above
// the horizon stronger than -100 dBi has the figures' starting values.
std::optional<PatternFigures> MaximumAndBeam(const FarFieldGrid& grid);

// One point of a cut: its angle (azimuth, or elevation from 0 to 180 over the zenith) and gains.
struct CutPoint {
    float angle = 0.0f;
    PatternPoint gain;
};

struct PatternCut {
    std::vector<CutPoint> points;
    // An elevation cut without the back azimuth holds only its front half.
    bool complete = true;
};

// The azimuth cut at `elevation`: one point per column. None when the grid is not regular or
// has no zenith whose elevation (ElevationOf) is exactly `elevation`.
std::optional<PatternCut> AzimuthCut(const FarFieldGrid& grid, float elevation);

// The vertical-plane cut through `azimuth` and `azimuth` + 180. None when the grid is not
// regular or lacks `azimuth`; incomplete (front half only) when it lacks the back azimuth.
std::optional<PatternCut> ElevationCut(const FarFieldGrid& grid, float azimuth);

// The column of an azimuth, compared exactly; null when the grid has none.
const AzimuthColumn* FindColumn(const FarFieldGrid& grid, float azimuth);

// Two angle steps are the same step when they differ by less than a thousandth of the second:
// steps such as 3.6 or 0.1 degrees are not exact in binary, and their differences wander.
bool SameStep(float a, float b);

} // namespace lobex
