#pragma once

#include "PlotApi.h"

#include <optional>

// The one mapping between data values and pixels along an axis of a drawn graph: the plot
// engine draws with it and fills PlotMetrics from it, and the read-outs and marks over a picture
// invert it from those metrics, so a value read under the pointer lands on the pixel it was
// drawn at.
namespace lobex {

// The range of one axis as it is drawn.
struct AxisRange {
    double lo = 0.0;
    double hi = 1.0;
    bool log = false;
};

// Where a value lies along an axis, 0 at lo and 1 at hi (a log axis by the logarithm); nothing
// for a value that is not finite, a range of no size, or a value a log axis cannot show.
std::optional<double> AxisFraction(const AxisRange& axis, double value);
// The value at a fraction of the axis (a log axis geometrically).
double AxisValue(const AxisRange& axis, double fraction);

// One axis of a picture: its range and the pixel coordinates its lo and hi are drawn at.
struct PixelAxis {
    AxisRange range;
    double pixelLo = 0.0;
    double pixelHi = 1.0;

    std::optional<double> ToPixel(double value) const;
    double FromPixel(double pixel) const;
};

// The axes of a rectangular plotting area as its metrics describe it: X from Left to Right, Y
// from Bottom up to Top.
PixelAxis MetricsXAxis(const PlotMetrics& metrics, bool log);
PixelAxis MetricsYAxis(const PlotMetrics& metrics, bool log);

// The centre of a polar plotting square along one axis, from the square's edges.
inline double PolarCentre(int lo, int hi) {
    return (lo + hi + 3) / 2.0;
}

} // namespace lobex
