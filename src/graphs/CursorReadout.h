#pragma once

#include "PlotApi.h"

#include <string>
#include <string_view>

// What the mouse pointer reads on a drawn graph, from the plot metrics the engine reported
// for the picture: pixel positions inside the picture box to data values.
namespace lobex {

struct RectangularReadout {
    bool inside = false;
    double x = 0.0;
    double y = 0.0;
};

// The plotting area's edges count as inside; log axes read geometrically.
RectangularReadout ReadRectangular(const PlotMetrics& metrics, double pixelX, double pixelY,
                                   bool logX, bool logY);

// "X=" with "#0.00#", in the user's decimal symbol (the curves' values: CurveValueText).
std::string RectangularXText(double x, std::string_view decimalSeparator);

// The two polar diagrams: 1 the azimuth pattern (0 degrees at the top, clockwise), 2 the
// elevation pattern (0 at the right, counter-clockwise; only the upper half is drawn).
struct PolarReadout {
    bool inside = false;
    double angle = 0.0; // degrees, 0 up to 360
    double gain = 0.0;  // dBi
};

PolarReadout ReadPolar(const PlotMetrics& metrics, double pixelX, double pixelY, int area,
                       float plotRange, float plotFloor, float piValue);

// "η= " with "#0.0#"; "φ= " (azimuth) or "θ= " (elevation) with "#0.0" and a degree sign.
std::string PolarGainText(double gain, std::string_view decimalSeparator);
std::string PolarAngleText(double angle, int area, std::string_view decimalSeparator);

} // namespace lobex
