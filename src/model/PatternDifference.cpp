#include "PatternDifference.h"

#include <algorithm>
#include <cmath>

namespace lobex {

namespace {

bool SameAngle(float a, float b) {
    return std::fabs(a - b) < 0.001f;
}

float Floored(float gain) {
    return std::max(gain, kDifferenceFloor);
}

PatternPoint Minus(const PatternPoint& b, const PatternPoint& a) {
    PatternPoint d;
    d.Zenith = a.Zenith;
    d.Vertical = Floored(b.Vertical) - Floored(a.Vertical);
    d.Horizontal = Floored(b.Horizontal) - Floored(a.Horizontal);
    d.Total = Floored(b.Total) - Floored(a.Total);
    return d;
}

// The element of `items` whose angle matches, by a linear search from `hint` on: both lists are
// usually in the same order, so the search is short.
template <class T, class Angle>
const T* Match(const std::vector<T>& items, float angle, std::size_t& hint, Angle angleOf) {
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::size_t i = (hint + n) % items.size();
        if (SameAngle(angleOf(items[i]), angle)) {
            hint = i + 1;
            return &items[i];
        }
    }
    return nullptr;
}

} // namespace

Checked<DifferenceGrid> DifferenceOf(const FarFieldGrid& a, const FarFieldGrid& b) {
    if (!IsRegular(a) || !IsRegular(b)) {
        return Checked<DifferenceGrid>::Refuse(kIrregularPattern);
    }
    DifferenceGrid result;
    std::size_t columnHint = 0;
    for (const AzimuthColumn& columnA : a) {
        const AzimuthColumn* columnB =
            Match(b, columnA.Azimuth, columnHint, [](const AzimuthColumn& c) { return c.Azimuth; });
        if (columnB == nullptr) {
            continue;
        }
        DifferenceColumn column{columnA.Azimuth, {}};
        std::size_t pointHint = 0;
        for (const PatternPoint& pointA : columnA.Points) {
            const PatternPoint* pointB = Match(columnB->Points, pointA.Zenith, pointHint,
                                               [](const PatternPoint& p) { return p.Zenith; });
            if (pointB != nullptr) {
                column.Points.push_back({pointA.Zenith, pointA, *pointB, Minus(*pointB, pointA)});
            }
        }
        if (!column.Points.empty()) {
            result.push_back(std::move(column));
        }
    }
    if (result.empty()) {
        return Checked<DifferenceGrid>::Refuse(kNoCommonAngles);
    }
    return Checked<DifferenceGrid>::Accept(std::move(result));
}

Checked<std::vector<CutDifferencePoint>> DifferenceOf(const PatternCut& a, const PatternCut& b) {
    std::vector<CutDifferencePoint> result;
    std::size_t hint = 0;
    for (const CutPoint& pointA : a.points) {
        const CutPoint* pointB =
            b.points.empty()
                ? nullptr
                : Match(b.points, pointA.angle, hint, [](const CutPoint& p) { return p.angle; });
        if (pointB != nullptr) {
            result.push_back(
                {pointA.angle, pointA.gain, pointB->gain, Minus(pointB->gain, pointA.gain)});
        }
    }
    if (result.empty()) {
        return Checked<std::vector<CutDifferencePoint>>::Refuse(kNoCommonAngles);
    }
    return Checked<std::vector<CutDifferencePoint>>::Accept(std::move(result));
}

float LargestDifference(const DifferenceGrid& grid) {
    float largest = 0.0f;
    for (const DifferenceColumn& column : grid) {
        for (const DifferencePoint& point : column.Points) {
            largest = std::max(largest, std::fabs(point.difference.Total));
        }
    }
    return largest;
}

} // namespace lobex
