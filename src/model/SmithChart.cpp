#include "SmithChart.h"

#include <cmath>

namespace lobex {

std::complex<double> NormalisedImpedance(std::complex<double> z, std::complex<double> z0) {
    return (z - std::complex<double>(0.0, z0.imag())) / z0.real();
}

std::complex<double> SmithPoint(std::complex<double> z) {
    if (std::isinf(z.real()) || std::isinf(z.imag())) {
        return 1.0;
    }
    return (z - 1.0) / (z + 1.0);
}

std::optional<std::complex<double>> SmithImpedance(std::complex<double> gamma) {
    if (gamma == 1.0) {
        return std::nullopt;
    }
    return (1.0 + gamma) / (1.0 - gamma);
}

SmithCircle ResistanceCircle(double r) {
    return {{r / (1.0 + r), 0.0}, 1.0 / (1.0 + r)};
}

SmithCircle SwrCircle(double swr) {
    return {0.0, (swr - 1.0) / (swr + 1.0)};
}

std::optional<ReactanceArc> ReactanceCircle(double x) {
    if (x == 0.0) {
        return std::nullopt;
    }
    return ReactanceArc{{{1.0, 1.0 / x}, 1.0 / std::fabs(x)}, SmithPoint({0.0, x})};
}

} // namespace lobex
