#pragma once

#include <complex>
#include <string>
#include <vector>

namespace lobex {

// One sweep as a Smith chart draws it: a curve of impedances along its abscissa.
struct SmithSweep {
    std::string name;            // where it came from, for a read-out over several
    std::vector<float> abscissa; // MHz for a sweep; the optimised parameter of a table
    std::vector<std::complex<float>> impedance; // ohm
};

// What a Smith chart drew, kept with its slot for the read-outs: its sweeps, the first red, and
// the reference impedance they were drawn against.
struct DrawnSmith {
    std::vector<SmithSweep> sweeps;
    std::complex<double> z0{50.0, 0.0};
    // The abscissa's caption in the marks and read-outs; empty for a frequency in MHz.
    std::string abscissaName;

    bool Empty() const { return sweeps.empty(); }
};

} // namespace lobex
