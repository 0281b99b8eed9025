#include "Ticks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace lobex::plotter {
namespace {

// Values closer than this fraction of a step count as the same tick; it absorbs the rounding
// of decimal steps such as 0.1 in binary floating point.
constexpr double kTickTolerance = 1e-9;

double Mantissa(double step) {
    return step / std::pow(10.0, std::floor(std::log10(step)));
}

int MinorDivisions(double step) {
    const double mantissa = Mantissa(step);
    return std::abs(mantissa - 2.0) < 1e-6 ? 4 : 5;
}

// The fewest decimals that show a multiple of step exactly.
int DecimalsFor(double step) {
    for (int decimals = 0; decimals < 15; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) {
            return decimals;
        }
    }
    return 15;
}

// Opens a range without width so that ticks can be placed around its one value.
void OpenRange(double& lo, double& hi) {
    if (lo > hi) {
        std::swap(lo, hi);
    }
    if (hi - lo > std::max(std::abs(lo), std::abs(hi)) * 1e-12) {
        return;
    }
    const double half = lo == 0.0 ? 1.0 : std::abs(lo) * 0.1;
    lo -= half;
    hi += half;
}

std::vector<double> Multiples(double lo, double hi, double step) {
    std::vector<double> values;
    const double first = std::ceil(lo / step - kTickTolerance);
    const double last = std::floor(hi / step + kTickTolerance);
    for (double k = first; k <= last; k += 1.0) {
        const double value = k * step;
        values.push_back(std::abs(value) < step * kTickTolerance ? 0.0 : value);
    }
    return values;
}

bool Contains(const std::vector<double>& values, double value, double tolerance) {
    return std::any_of(values.begin(), values.end(),
                       [&](double v) { return std::abs(v - value) <= tolerance; });
}

} // namespace

double NiceStep(double span, int maxIntervals) {
    maxIntervals = std::max(1, maxIntervals);
    span = std::abs(span);
    if (!(span > 0.0) || !std::isfinite(span)) {
        return 1.0;
    }
    const double raw = span / maxIntervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    static constexpr std::array<double, 5> kMantissas = {1.0, 2.0, 2.5, 5.0, 10.0};
    for (const double mantissa : kMantissas) {
        const double step = mantissa * power;
        if (span / step <= maxIntervals * (1.0 + kTickTolerance)) {
            return step;
        }
    }
    return 10.0 * power;
}

AxisTicks LinearTicks(double lo, double hi, int maxIntervals, bool widen) {
    OpenRange(lo, hi);
    AxisTicks ticks;
    maxIntervals = std::max(1, maxIntervals);
    double step = NiceStep(hi - lo, maxIntervals);
    if (widen) {
        // Widening can add an interval at each end; take the next step when it does too much.
        for (int attempt = 0; attempt < 4; ++attempt) {
            const double wideLo = std::floor(lo / step + kTickTolerance) * step;
            const double wideHi = std::ceil(hi / step - kTickTolerance) * step;
            if ((wideHi - wideLo) / step <= maxIntervals + kTickTolerance || attempt == 3) {
                lo = wideLo;
                hi = wideHi;
                break;
            }
            step = NiceStep(hi - lo, std::max(1, maxIntervals - attempt - 1));
        }
    }
    ticks.lo = lo;
    ticks.hi = hi;
    ticks.major = Multiples(lo, hi, step);
    const double minorStep = step / MinorDivisions(step);
    for (const double value : Multiples(lo, hi, minorStep)) {
        if (!Contains(ticks.major, value, minorStep * 1e-6)) {
            ticks.minor.push_back(value);
        }
    }
    ticks.decimals = DecimalsFor(step);
    return ticks;
}

AxisTicks LogTicks(double lo, double hi, int maxIntervals, bool widen) {
    AxisTicks ticks;
    if (lo > hi) {
        std::swap(lo, hi);
    }
    if (!(lo > 0.0) || !std::isfinite(lo) || !std::isfinite(hi)) {
        ticks.lo = ticks.hi = 0.0;
        return ticks;
    }
    if (hi / lo < 1.0 + 1e-9) {
        lo /= 2.0;
        hi *= 2.0;
    }
    maxIntervals = std::max(1, maxIntervals);
    if (hi / lo < 10.0) {
        // Under a decade the decade ticks would leave the axis bare: nice linear values.
        AxisTicks linear = LinearTicks(lo, hi, maxIntervals, widen);
        if (linear.lo <= 0.0) {
            linear = LinearTicks(lo, hi, maxIntervals, false);
            linear.lo = lo;
        }
        return linear;
    }
    // Label 1, 2 and 5 while there is room for them, the decades otherwise (every n-th when
    // even those are too many).
    const auto decadesOf = [](double a, double b) {
        return static_cast<int>(std::floor(std::log10(b) + kTickTolerance)) -
               static_cast<int>(std::floor(std::log10(a) + kTickTolerance)) + 1;
    };
    const bool labelTwoFive = decadesOf(lo, hi) * 3 <= maxIntervals + 1;
    if (widen) {
        // Out to the next labelled value: 1, 2 or 5 x 10^k, or a whole decade.
        const auto down = [labelTwoFive](double value) {
            const double decade = std::pow(10.0, std::floor(std::log10(value) + kTickTolerance));
            const double mantissa = value / decade;
            if (!labelTwoFive) {
                return decade;
            }
            const double nice = mantissa >= 5.0 - 1e-9 ? 5.0 : mantissa >= 2.0 - 1e-9 ? 2.0 : 1.0;
            return nice * decade;
        };
        const auto up = [labelTwoFive](double value) {
            const double decade = std::pow(10.0, std::floor(std::log10(value) - kTickTolerance));
            const double mantissa = value / decade;
            if (!labelTwoFive) {
                return mantissa <= 1.0 + 1e-9 ? decade : 10.0 * decade;
            }
            const double nice = mantissa <= 1.0 + 1e-9   ? 1.0
                                : mantissa <= 2.0 + 1e-9 ? 2.0
                                : mantissa <= 5.0 + 1e-9 ? 5.0
                                                         : 10.0;
            return nice * decade;
        };
        lo = down(lo);
        hi = up(hi);
    }
    ticks.lo = lo;
    ticks.hi = hi;
    const int firstDecade = static_cast<int>(std::floor(std::log10(lo) + kTickTolerance));
    const int lastDecade = static_cast<int>(std::floor(std::log10(hi) + kTickTolerance));
    const int decades = lastDecade - firstDecade + 1;
    const int decadeStride = std::max(1, (decades + maxIntervals - 1) / maxIntervals);
    const double tolerance = 1e-9;
    int smallestDecimalPower = 0;
    for (int decade = firstDecade; decade <= lastDecade; ++decade) {
        const double base = std::pow(10.0, decade);
        for (int multiple = 1; multiple <= 9; ++multiple) {
            const double value = multiple * base;
            if (value < lo * (1.0 - tolerance) || value > hi * (1.0 + tolerance)) {
                continue;
            }
            const bool labelled = (multiple == 1 && (decade - firstDecade) % decadeStride == 0) ||
                                  (labelTwoFive && (multiple == 2 || multiple == 5));
            if (labelled) {
                ticks.major.push_back(value);
                smallestDecimalPower = std::min(smallestDecimalPower, decade);
            } else if (decadeStride == 1 || multiple == 1) {
                ticks.minor.push_back(value);
            }
        }
    }
    ticks.decimals = std::max(0, -smallestDecimalPower);
    return ticks;
}

AxisTicks DividedTicks(double lo, double hi, int intervals, int minorDivisions) {
    AxisTicks ticks;
    ticks.lo = lo;
    ticks.hi = hi;
    intervals = std::max(1, intervals);
    minorDivisions = std::max(1, minorDivisions);
    const double step = (hi - lo) / intervals;
    for (int i = 0; i <= intervals; ++i) {
        ticks.major.push_back(lo + step * i);
        if (i < intervals) {
            for (int j = 1; j < minorDivisions; ++j) {
                ticks.minor.push_back(lo + step * i + step * j / minorDivisions);
            }
        }
    }
    ticks.decimals = step == 0.0 ? 0 : DecimalsFor(std::abs(step));
    return ticks;
}

std::string FormatTick(double value, int decimals, std::string_view decimalSeparator) {
    char buffer[64];
    const double magnitude = std::abs(value);
    if (magnitude >= 1e6 || decimals > 6) {
        std::snprintf(buffer, sizeof buffer, "%g", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.*f", std::max(0, decimals), value);
    }
    std::string text(buffer);
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') {
        text.erase(0, 1);
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

} // namespace lobex::plotter
