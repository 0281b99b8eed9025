#pragma once

#include <complex>
#include <string>
#include <vector>

namespace lobex {

// One frequency of a sweep, as MMANA writes it: the feed impedance, its SWR, the gain and the
// front-to-back ratio.
struct SweepPoint {
    float frequency = 0.0f;        // MHz
    std::complex<float> impedance; // ohm
    float swr = 0.0f;
    float gain = 0.0f;        // dBi
    float frontToBack = 0.0f; // dB
};

// A frequency sweep, the points in file order.
struct Sweep {
    std::vector<SweepPoint> points;
    // The header's column names as the file has them; the SWR one names its line impedance.
    std::vector<std::string> header;
    // A measurement (a Touchstone file) rather than a model: it has no gain or F/B, so its
    // columns after the SWR show return loss and |Γ| instead.
    bool measurement = false;
};

} // namespace lobex
