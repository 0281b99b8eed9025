#pragma once

#include "PlotApi.h"
#include "SmithCurves.h"

#include <complex>
#include <cstddef>
#include <functional>
#include <optional>

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

// A Smith chart: the impedance under the pointer, and the sweep point drawn nearest to it.
struct SmithReadout {
    bool inside = false; // on the chart, within its rim
    // Under the pointer, ohm; none at Γ = 1, where it is infinite.
    std::optional<std::complex<double>> impedance;
    bool hasNearest = false;
    std::size_t sweep = 0;
    std::size_t point = 0;
    double abscissa = 0.0;
    std::complex<double> nearestImpedance;
    double swr = 1.0;        // infinite for a pure reactance
    double returnLoss = 0.0; // dB
};

// The metrics of a Smith chart are those of a square whose axes are Re Γ and Im Γ from -1 to 1,
// so the pointer is read through the same axes as a rectangular graph's.
SmithReadout ReadSmith(const PlotMetrics& metrics, const DrawnSmith& drawn, double pixelX,
                       double pixelY);

// The read-out's two lines: "Z=25,5+j6,0 Ом" under the pointer; and the nearest point,
// "14,150 MHz: R=25,5 jX=6,0 КСВ=2,00 Возвр. потери=9,5 dB" (a table names its abscissa
// first: "Параметр=5,25: ..."). translate puts the words in the interface language.
using TextTranslator = std::function<std::string(std::string_view)>;
std::string SmithImpedanceText(std::complex<double> z, std::string_view decimalSeparator,
                               const TextTranslator& translate);
std::string SmithPointText(const DrawnSmith& drawn, const SmithReadout& readout,
                           std::string_view decimalSeparator, const TextTranslator& translate);
// A point's abscissa as the marks and read-outs write it: "14,150 MHz", or "Параметр=5,25".
std::string SmithAbscissaText(const DrawnSmith& drawn, double abscissa,
                              std::string_view decimalSeparator);

} // namespace lobex
