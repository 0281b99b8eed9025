#pragma once

#include "Checked.h"
#include "Sweep.h"

#include <complex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A feed impedance against a reference impedance: reflection, SWR and return loss; a sweep's
// bandwidths, resonances and best SWR; and the reference impedance a sweep file names.
namespace lobex {

inline constexpr std::string_view kReferenceImpedanceMessage =
    LOBEX_TEXT("Волновое сопротивление должно быть больше нуля");

// The reflection of an impedance. The SWR is infinite where |Γ| reaches 1 (a pure reactance, or
// a negative resistance); the return loss is infinite for a perfect match.
struct Reflection {
    std::complex<double> gamma;
    double magnitude = 0.0;
    double swr = 1.0;
    double returnLoss = 0.0; // dB
};

// Γ = (Z − Z0)/(Z + Z0*): with a real Z0 the usual (Z − Z0)/(Z + Z0). A Z0 whose resistance is
// not positive (or not finite) is refused.
Checked<Reflection> Reflect(std::complex<double> z, std::complex<double> z0);

// The derived curves of a sweep at one Z0, a value per sweep point: SWR, |Γ| and return loss.
struct SweepReflection {
    std::vector<double> swr;
    std::vector<double> magnitude;
    std::vector<double> returnLoss; // dB
};
Checked<SweepReflection> ReflectSweep(const Sweep& sweep, std::complex<double> z0);

// A frequency range, in MHz.
struct Band {
    double low = 0.0;
    double high = 0.0;
};

// What a user reads off a sweep at one Z0 and SWR threshold.
struct ImpedanceFigures {
    std::complex<double> z0;
    // The smallest SWR computed from R and jX at a sweep point (the first on ties); none for an
    // empty sweep.
    std::optional<double> min_swr;
    std::optional<double> min_swr_frequency;
    // The ranges where the SWR is at or below the threshold, edges interpolated linearly in
    // frequency between sweep points.
    std::vector<Band> bandwidths;
    // Every frequency where jX crosses or touches zero, as ZeroCrossings finds them.
    std::vector<double> resonances;
};

// Where ys reaches zero against xs: points on zero, and crossings between two points,
// interpolated linearly; a stretch on zero counts once, where it starts. Points that are not
// finite are passed over. The resonances of a sweep where ys is its reactance.
template <typename T>
std::vector<double> ZeroCrossings(std::span<const T> xs, std::span<const T> ys);
extern template std::vector<double> ZeroCrossings(std::span<const float>, std::span<const float>);
extern template std::vector<double> ZeroCrossings(std::span<const double>, std::span<const double>);

// The figures of a sweep whose points are in frequency order; a bad Z0 is refused.
Checked<ImpedanceFigures> FindImpedanceFigures(const Sweep& sweep, std::complex<double> z0,
                                               double swrThreshold);

// The reference impedance a sweep header names after "SWR(": "SWR(50.0Om)", "SWR(75.0Ω)",
// "SWR(50 Ohm)", complex "SWR(50-j10Om)" or "SWR(50+10jOm)". None where the header names a
// frequency instead ("SWR(14.150MHz)", a sweep matched at that frequency) or nothing readable.
std::optional<std::complex<double>> HeaderImpedance(std::string_view header);

// An impedance written as a header writes it, without "SWR(": "50", "75.0Om", "50-j10",
// "50+10j Ohm". None for anything else, and for a resistance that is not above zero.
std::optional<std::complex<double>> ReadImpedance(std::string_view text);

} // namespace lobex
