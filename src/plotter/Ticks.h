#pragma once

#include <string>
#include <string_view>
#include <vector>

// Tick values for the axes: pure arithmetic, no drawing.
namespace lobex::plotter {

struct AxisTicks {
    double lo = 0.0; // the axis range, widened to whole ticks where that was asked for
    double hi = 1.0;
    std::vector<double> major; // labelled ticks, ascending, all within [lo, hi]
    std::vector<double> minor; // unlabelled ticks between them
    int decimals = 0;          // decimals that show every labelled value exactly
};

// The smallest step of the form {1, 2, 2.5, 5} x 10^k that cuts span into at most
// maxIntervals intervals (at least one).
double NiceStep(double span, int maxIntervals);

// Ticks at multiples of a nice step. With widen, lo and hi move out to the nearest ticks (so
// the axis starts and ends on a label); a range without width is first opened around its value.
AxisTicks LinearTicks(double lo, double hi, int maxIntervals, bool widen);

// Ticks for a logarithmic axis (lo > 0). A decade or more: labels on 1, 2 and 5 x 10^k (only
// the decades when there are many), minor ticks on the other integer multiples; widening goes
// out to the nearest 1, 2 or 5 x 10^k. Less than a decade: nice linear values, placed on the
// logarithmic scale. A range that is not positive gives an empty result with lo == hi == 0.
AxisTicks LogTicks(double lo, double hi, int maxIntervals, bool widen);

// Exactly `intervals` equal divisions of [lo, hi], each cut again into `minorDivisions`.
AxisTicks DividedTicks(double lo, double hi, int intervals, int minorDivisions);

// A tick value with `decimals` decimals and the given decimal separator ("-0" shows as "0").
// Magnitudes of a million and more, or steps finer than a millionth, use an exponent ("1e+06").
std::string FormatTick(double value, int decimals, std::string_view decimalSeparator);

} // namespace lobex::plotter
