#include "Impedance.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace lobex {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool UsableReference(std::complex<double> z0) {
    return std::isfinite(z0.real()) && std::isfinite(z0.imag()) && z0.real() > 0.0;
}

Reflection ReflectionOf(std::complex<double> z, std::complex<double> z0) {
    Reflection r;
    r.gamma = (z - z0) / (z + std::conj(z0));
    r.magnitude = std::abs(r.gamma);
    r.swr = r.magnitude < 1.0 ? (1.0 + r.magnitude) / (1.0 - r.magnitude) : kInfinity;
    r.returnLoss = r.magnitude > 0.0 ? -20.0 * std::log10(r.magnitude) : kInfinity;
    return r;
}

// The frequency where a value that goes from a to b between f0 and f1 reaches `level`.
double Crossing(double f0, double a, double f1, double b, double level) {
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return std::isfinite(a) ? f0 : f1; // an infinite SWR is above any threshold at once
    }
    return f0 + (level - a) / (b - a) * (f1 - f0);
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// A number at the start of `s`, which then holds the rest.
std::optional<double> TakeNumber(std::string_view& s) {
    s = Trimmed(s);
    const char* first = s.data();
    if (!s.empty() && s.front() == '+') {
        ++first; // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, s.data() + s.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    s.remove_prefix(static_cast<std::size_t>(end - s.data()));
    return value;
}

} // namespace

Checked<Reflection> Reflect(std::complex<double> z, std::complex<double> z0) {
    if (!UsableReference(z0)) {
        return Checked<Reflection>::Refuse(kReferenceImpedanceMessage);
    }
    return Checked<Reflection>::Accept(ReflectionOf(z, z0));
}

Checked<SweepReflection> ReflectSweep(const Sweep& sweep, std::complex<double> z0) {
    if (!UsableReference(z0)) {
        return Checked<SweepReflection>::Refuse(kReferenceImpedanceMessage);
    }
    SweepReflection curves;
    for (const SweepPoint& point : sweep.points) {
        const Reflection r = ReflectionOf(std::complex<double>(point.impedance), z0);
        curves.swr.push_back(r.swr);
        curves.magnitude.push_back(r.magnitude);
        curves.returnLoss.push_back(r.returnLoss);
    }
    return Checked<SweepReflection>::Accept(std::move(curves));
}

Checked<ImpedanceFigures> FindImpedanceFigures(const Sweep& sweep, std::complex<double> z0,
                                               double swrThreshold) {
    Checked<SweepReflection> curves = ReflectSweep(sweep, z0);
    if (!curves) {
        return Checked<ImpedanceFigures>::Refuse(curves.rejection.text);
    }
    ImpedanceFigures figures;
    figures.z0 = z0;
    const std::vector<SweepPoint>& points = sweep.points;
    const std::vector<double>& swr = curves.value->swr;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!figures.min_swr || swr[i] < *figures.min_swr) {
            figures.min_swr = swr[i];
            figures.min_swr_frequency = points[i].frequency;
        }
    }

    const auto frequency = [&points](std::size_t i) {
        return double(points[i].frequency);
    };
    // The low edge of the band being walked through, while in one.
    bool inBand = false;
    double low = 0.0;
    const auto close = [&](double high) {
        figures.bandwidths.push_back({std::min(low, high), std::max(low, high)});
        inBand = false;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool inside = swr[i] <= swrThreshold;
        if (inside && !inBand) {
            low = i == 0
                      ? frequency(0)
                      : Crossing(frequency(i - 1), swr[i - 1], frequency(i), swr[i], swrThreshold);
            inBand = true;
        } else if (!inside && inBand) {
            close(Crossing(frequency(i - 1), swr[i - 1], frequency(i), swr[i], swrThreshold));
        }
    }
    if (inBand) {
        close(frequency(points.size() - 1));
    }

    std::vector<double> frequencies;
    std::vector<double> reactance;
    for (const SweepPoint& point : points) {
        frequencies.push_back(point.frequency);
        reactance.push_back(point.impedance.imag());
    }
    figures.resonances = ZeroCrossings<double>(frequencies, reactance);
    return Checked<ImpedanceFigures>::Accept(std::move(figures));
}

template <typename T>
std::vector<double> ZeroCrossings(std::span<const T> xs, std::span<const T> ys) {
    std::vector<double> crossings;
    const std::size_t n = std::min(xs.size(), ys.size());
    const auto finite = [&](std::size_t i) {
        return std::isfinite(xs[i]) && std::isfinite(ys[i]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!finite(i)) {
            continue;
        }
        if (ys[i] == 0) {
            if (i == 0 || ys[i - 1] != 0) {
                crossings.push_back(xs[i]);
            }
        } else if (i + 1 < n && finite(i + 1) && ys[i + 1] != 0 && (ys[i] < 0) != (ys[i + 1] < 0)) {
            crossings.push_back(Crossing(xs[i], ys[i], xs[i + 1], ys[i + 1], 0.0));
        }
    }
    return crossings;
}

template std::vector<double> ZeroCrossings(std::span<const float>, std::span<const float>);
template std::vector<double> ZeroCrossings(std::span<const double>, std::span<const double>);

std::optional<std::complex<double>> HeaderImpedance(std::string_view header) {
    constexpr std::string_view kOpen = "SWR(";
    const std::size_t open = header.find(kOpen);
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = header.substr(open + kOpen.size());
    return ReadImpedance(rest.substr(0, rest.find(')')));
}

std::optional<std::complex<double>> ReadImpedance(std::string_view rest) {
    const std::optional<double> resistance = TakeNumber(rest);
    if (!resistance) {
        return std::nullopt;
    }
    double reactance = 0.0;
    rest = Trimmed(rest);
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        const double sign = rest.front() == '-' ? -1.0 : 1.0;
        rest = Trimmed(rest.substr(1));
        const bool jFirst = !rest.empty() && (rest.front() == 'j' || rest.front() == 'J');
        if (jFirst) {
            rest.remove_prefix(1);
        }
        const std::optional<double> magnitude = TakeNumber(rest);
        if (!magnitude) {
            return std::nullopt;
        }
        if (!jFirst) {
            if (rest.empty() || (rest.front() != 'j' && rest.front() != 'J')) {
                return std::nullopt;
            }
            rest.remove_prefix(1);
        }
        reactance = sign * *magnitude;
    }
    rest = Trimmed(rest);
    // The units MMANA writes: "Om", "Ω" (Japanese MMANA), and "Ohm"; a bare number is ohms too.
    for (std::string_view unit : {"Om", "Ohm", "ohm", "\xCE\xA9", ""}) {
        if (rest == unit) {
            const std::complex<double> z0(*resistance, reactance);
            return UsableReference(z0) ? std::optional(z0) : std::nullopt;
        }
    }
    return std::nullopt; // "MHz" in a header: the sweep is matched at a frequency, not a Z0
}

} // namespace lobex
