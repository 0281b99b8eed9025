#pragma once

#include <vector>

namespace lobex {

// One pulse of a wire: where it sits and the current there.
struct CurrentPulse {
    double x = 0.0, y = 0.0, z = 0.0;             // m
    float re = 0.0f, im = 0.0f, magnitude = 0.0f; // A
    float phase = 0.0f;                           // degrees
};

// Why a wire cannot be shown: its lines stop being readable at some pulse.
enum class WireFault {
    None,
    ShortLine,     // a line with fewer fields than a pulse needs
    TooManyPulses, // more pulses than the grid can count
};

struct Wire {
    // The number the file gives the wire (its lines' first field).
    double number = 0.0;
    std::vector<CurrentPulse> pulses;
    WireFault fault = WireFault::None;
    // Where the fault stood: the line of the text and, on a short line, the first field it lacks.
    int faultLine = 0;
    int faultField = 0;
};

// The currents of every wire, in the order the wires first appear.
struct WireCurrents {
    std::vector<Wire> wires;
    // The wire number of the last line: MMANA lists the wires in order, so it is their count.
    double lastWire = 0.0;

    // The wire with this number; null when the file lists none.
    const Wire* Find(double number) const;
};

// The distance along a wire to each pulse: the first pulse's from the origin, then each pulse's
// from the one before. A centred element runs through the origin, so distances from the origin
// would fold back on themselves.
std::vector<float> DistancesAlong(const Wire& wire);

// Relative positions 0..1 along a wire from the pulses' distances along it: the wire is taken to
// reach a whole step beyond its first and last pulse, or half a step where the steps at that end
// change (steps closer than a thousandth of the larger count as equal). Pulses at one and the
// same distance are spread evenly.
std::vector<float> RelativePositions(const std::vector<float>& distances);

} // namespace lobex
