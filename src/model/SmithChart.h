#pragma once

#include <complex>
#include <optional>

// The Smith chart's mapping between a normalised impedance z = Z / Z0 and its point in the
// reflection plane (Γ inside the unit disc), and the geometry of its grid.
namespace lobex {

// The normalised impedance whose chart point is the reflection against Z0, (Z − Z0)/(Z + Z0*):
// (Z − j·Im Z0) / Re Z0, plain Z / Z0 for a real Z0. Re Z0 must be positive.
std::complex<double> NormalisedImpedance(std::complex<double> z, std::complex<double> z0);

// Γ = (z − 1)/(z + 1). An infinite z (an open circuit) is Γ = 1.
std::complex<double> SmithPoint(std::complex<double> z);

// z = (1 + Γ)/(1 − Γ); none at Γ = 1, where the impedance is infinite.
std::optional<std::complex<double>> SmithImpedance(std::complex<double> gamma);

// A circle of the reflection plane.
struct SmithCircle {
    std::complex<double> centre;
    double radius = 0.0;
};

// Where the normalised resistance is r (r ≥ 0): the whole circle lies in the unit disc and
// touches it at Γ = 1.
SmithCircle ResistanceCircle(double r);

// Where the SWR is `swr` (≥ 1): about the centre, radius |Γ| = (SWR − 1)/(SWR + 1).
SmithCircle SwrCircle(double swr);

// The arc where the normalised reactance is x: the part of its circle inside the unit disc,
// drawn from the rim point of z = jx to Γ = 1. None for x = 0, which is the real axis.
struct ReactanceArc {
    SmithCircle circle;
    std::complex<double> rim; // Γ of z = jx
};
std::optional<ReactanceArc> ReactanceCircle(double x);

} // namespace lobex
