#include "FarFieldPattern.h"

#include "ShortestDecimal.h"

#include <cmath>
#include <cstdlib>

namespace lobex {

float ElevationOf(float zenith) {
    return static_cast<float>(90.0 - ShortestDecimal(zenith));
}

bool SameStep(float a, float b) {
    return std::fabs(a - b) <= std::fabs(b) / 1000.0f;
}

SharedGrid::SharedGrid() {
    // Shared by every empty state and load rather than made for each.
    static const std::shared_ptr<const FarFieldGrid> kNothing =
        std::make_shared<const FarFieldGrid>(FarFieldGrid{AzimuthColumn{}});
    grid_ = kNothing;
}

bool IsRegular(const FarFieldGrid& grid) {
    if (grid.empty() || grid[0].Points.empty()) {
        return false;
    }
    for (const AzimuthColumn& column : grid) {
        if (column.Points.size() != grid[0].Points.size()) {
            return false;
        }
    }
    return true;
}

const AzimuthColumn* FindColumn(const FarFieldGrid& grid, float azimuth) {
    for (const AzimuthColumn& column : grid) {
        if (column.Azimuth == azimuth) {
            return &column;
        }
    }
    return nullptr;
}

std::optional<PatternFigures> MaximumAndBeam(const FarFieldGrid& grid) {
    if (grid.size() < 2 || !IsRegular(grid)) {
        return std::nullopt;
    }
    const int lastColumn = static_cast<int>(grid.size()) - 1;
    const int lastPoint = static_cast<int>(grid[0].Points.size()) - 1;
    const auto point = [&grid](int column, int index) -> const PatternPoint& {
        return grid[static_cast<std::size_t>(column)].Points[static_cast<std::size_t>(index)];
    };
    const auto azimuth = [&grid](int column) {
        return grid[static_cast<std::size_t>(column)].Azimuth;
    };

    PatternFigures result;
    int maxColumn = -1;
    int maxPoint = 0;
    for (int a = 0; a <= lastColumn; ++a) {
        // The column's strongest point above the horizon, and of equals the one nearest the
        // nadir; the first column wins a tie between columns. Read from the zenith down, the
        // way the points lie in memory.
        const std::vector<PatternPoint>& points = grid[static_cast<std::size_t>(a)].Points;
        float strongest = result.MaxGain;
        int found = -1;
        for (int z = 0; z <= lastPoint; ++z) {
            const PatternPoint& p = points[static_cast<std::size_t>(z)];
            if (p.Zenith <= 90.0f && p.Total >= strongest && p.Total > result.MaxGain) {
                strongest = p.Total;
                found = z;
            }
        }
        if (found >= 0) {
            result.MaxGain = strongest;
            result.MaxAzimuth = azimuth(a);
            maxColumn = a;
            maxPoint = found;
        }
    }
    if (maxColumn < 0) {
        return result; // nothing above the horizon stronger than the search floor: no lobe
    }
    result.MaxElevation = ElevationOf(point(maxColumn, maxPoint).Zenith);
    const auto distance = [&](int column) {
        return std::fabs(result.MaxGain - point(column, maxPoint).Total);
    };

    // Forward, increasing azimuth; the last column stands for the first.
    int count = 0;
    float previous = 361.0f;
    for (int i = 0; i <= lastColumn; ++i) {
        int k = maxColumn + i;
        if (k > lastColumn) {
            k -= lastColumn;
        }
        if (azimuth(k) == previous) {
            continue;
        }
        previous = azimuth(k);
        const float d = distance(k);
        if (d > 3.0f) {
            if (std::fabs(distance(k - 1) - 3.0f) <= std::fabs(d - 3.0f)) {
                --k;
                --count;
            }
            result.BeamRight = azimuth(k);
            break;
        }
        ++count;
    }
    if (count - 1 == lastColumn) {
        result.BeamWidth = 360.0f;
        return result;
    }

    // Backward, decreasing azimuth. The step comes from the column after the maximum, or from
    // the one before it when the maximum sits in the last column.
    const int stepFrom = maxColumn < lastColumn ? maxColumn : maxColumn - 1;
    const float step = azimuth(stepFrom + 1) - azimuth(stepFrom);
    // The width from the file's decimals, so that 782 steps of 0.1 are 78.2, not 78.200005.
    const double decimalStep =
        ShortestDecimal(azimuth(stepFrom + 1)) - ShortestDecimal(azimuth(stepFrom));
    previous = azimuth(maxColumn);
    for (int i = 0; i <= lastColumn; ++i) {
        int k = maxColumn - i;
        if (k < 0) {
            k = lastColumn - std::abs(k) + 1;
        }
        const float here = azimuth(k);
        if (here == previous || std::fabs(here - previous) == 360.0f) {
            continue;
        }
        const float reference = previous == 0.0f ? 360.0f : previous;
        if (!SameStep(std::fabs(here - reference), step)) {
            --count; // a gap in the azimuths ends the lobe
            break;
        }
        previous = here;
        const float d = distance(k);
        if (d > 3.0f) {
            const int visitedBefore = k == lastColumn ? 0 : k + 1;
            if (std::fabs(distance(visitedBefore) - 3.0f) <= std::fabs(d - 3.0f)) {
                k = visitedBefore;
                --count;
            }
            result.BeamLeft = azimuth(k);
            break;
        }
        ++count;
    }
    result.BeamWidth = static_cast<float>((count + 1) * decimalStep);
    if (result.BeamLeft == 360.0f) {
        result.BeamLeft = 0.0f;
    }
    if (result.BeamRight == 360.0f) {
        result.BeamRight = 0.0f;
    }
    return result;
}

std::optional<PatternCut> AzimuthCut(const FarFieldGrid& grid, float elevation) {
    if (!IsRegular(grid)) {
        return std::nullopt;
    }
    const std::vector<PatternPoint>& zeniths = grid[0].Points;
    std::size_t index = 0;
    while (index < zeniths.size() && ElevationOf(zeniths[index].Zenith) != elevation) {
        ++index;
    }
    if (index == zeniths.size()) {
        return std::nullopt;
    }
    PatternCut cut;
    cut.points.reserve(grid.size());
    for (const AzimuthColumn& column : grid) {
        cut.points.push_back({column.Azimuth, column.Points[index]});
    }
    return cut;
}

std::optional<PatternCut> ElevationCut(const FarFieldGrid& grid, float azimuth) {
    const AzimuthColumn* front = IsRegular(grid) ? FindColumn(grid, azimuth) : nullptr;
    if (front == nullptr) {
        return std::nullopt;
    }
    const AzimuthColumn* back = FindColumn(grid, azimuth + 180.0f);
    const std::vector<PatternPoint>& zeniths = grid[0].Points;
    const std::size_t last = zeniths.size() - 1;
    PatternCut cut;
    cut.complete = back != nullptr;
    cut.points.reserve(back != nullptr ? 2 * last + 1 : last + 1);
    for (std::size_t z = 0; z <= last; ++z) {
        cut.points.push_back({90.0f - zeniths[z].Zenith, front->Points[z]});
    }
    if (back != nullptr) {
        for (std::size_t k = 1; k <= last; ++k) {
            cut.points.push_back({90.0f + zeniths[k].Zenith, back->Points[k]});
        }
    }
    return cut;
}

} // namespace lobex
