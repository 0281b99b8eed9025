#pragma once

#include "PlotApi.h"

#include <complex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a rectangular graph says about its own curves, for the read-outs and marks drawn over it
// on screen: a curve's value at any X, the SWR minimum and the resonances of a sweep, and where
// a data value lies in a picture of any size.
namespace lobex {

// The value of a curve (points xs[i], ys[i], in drawing order) at x, on the straight line
// between the two points around it; the first such pair counts when the curve doubles back.
// Nothing outside the curve's X range or next to a value that is not finite.
std::optional<double> ValueAt(std::span<const float> xs, std::span<const float> ys, double x);

struct CurvePoint {
    double x = 0.0;
    double y = 0.0;
};

// The curve's smallest finite value, the first where it repeats.
std::optional<CurvePoint> MinimumOf(std::span<const float> xs, std::span<const float> ys);

// The pixel column of an X value and the pixel row of a Y value in a picture whose plotting
// area the metrics describe: the inverse of ReadRectangular. Nothing for a value a log axis
// cannot show or an area of no size.
std::optional<double> ColumnOf(const PlotMetrics& metrics, double x, bool logX);
std::optional<double> RowOf(const PlotMetrics& metrics, double y, bool logY);

// The curves a rectangular graph drew, kept with its slot for the read-outs: the X values and
// each curve's Y values with the name its list shows and the data column it came from. The
// second curve of two is on the right axis.
struct DrawnCurve {
    std::string name;
    int column = 0;
    std::vector<float> y;
};
struct DrawnCurves {
    std::vector<float> x;
    std::vector<DrawnCurve> curves;
};

// The read-out of the pointer's X: each curve's value there, or nothing where a curve has none.
struct CurveValues {
    bool inside = false;
    double x = 0.0;
    std::vector<std::optional<double>> values;
};

CurveValues ReadCurves(const PlotMetrics& metrics, const DrawnCurves& drawn, double pixelX,
                       double pixelY, bool logX, bool logY);

// "КСВ=1,234": a curve's name and value, as the Y read-out writes numbers.
std::string CurveValueText(std::string_view name, double value, std::string_view decimalSeparator);

// The marks of a sweep: where the SWR is lowest, and where the reactance crosses zero.
struct SweepMarks {
    std::optional<CurvePoint> swrMinimum;
    std::vector<double> resonances;
};

inline constexpr std::complex<double> kDefaultLineImpedance{50.0, 0.0};

// The SWR minimum is placed by the SWR computed from R and jX against z0 where the rows have
// them (the file's SWR column is rounded, so several rows may tie), and carries the file's SWR
// of that row, so the mark sits on the drawn curve; without R it is the file's SWR minimum.
SweepMarks FindSweepMarks(std::span<const float> frequencies, std::span<const float> swr,
                          std::span<const float> reactance, std::span<const float> resistance = {},
                          std::complex<double> z0 = kDefaultLineImpedance);

// The line impedance the SWR column's header names ("SWR(50.0Om)", "SWR(75Ω)", "SWR(50-j5Om)");
// 50 ohms when it names none ("SWR(14.15MHz)").
std::complex<double> LineImpedanceOf(std::string_view swrHeader);
// The same of a sweep's header words: its SWR column's, 50 ohms without one.
std::complex<double> LineImpedanceOf(const std::vector<std::string>& headerWords);

// The SWR of load z on a line of impedance z0 (Γ as Reflect takes it); nothing where it is not
// finite (a total reflection, or values that are not numbers).
std::optional<double> SwrOf(std::complex<double> z, std::complex<double> z0);

// The labels of the marks: "КСВ мин. 1,05" and "Резонанс 14,175".
std::string SwrMinimumText(double swr, std::string_view decimalSeparator);
std::string ResonanceText(double frequency, std::string_view decimalSeparator);

} // namespace lobex
