#pragma once

#include "FarFieldPattern.h"
#include "NearField.h"
#include "Sweep.h"
#include "WireCurrents.h"

#include <array>
#include <complex>
#include <optional>
#include <string>
#include <vector>

// What a NEC-2 engine (nec2c, or the Fortran NEC-2D) printed: the structure once, then the
// results of each frequency it computed. One document holding several results.
namespace lobex {

// One segment of the structure as the segmentation data lists it, in metres.
struct NecSegment {
    int number = 0;
    int tag = 0;
    double x = 0.0, y = 0.0, z = 0.0; // centre
    double length = 0.0;
    double alpha = 0.0, beta = 0.0; // orientation: elevation and azimuth of the segment, degrees
    double radius = 0.0;
};

// A segment's two ends, from its centre, length and orientation.
std::array<std::array<double, 3>, 2> SegmentEnds(const NecSegment& segment);

// One source of the antenna input parameters.
struct NecSource {
    int tag = 0;
    int segment = 0;
    std::complex<double> voltage;   // V
    std::complex<double> current;   // A
    std::complex<double> impedance; // ohm
    double power = 0.0;             // W
};

// The current on one segment; the centre in the units the output states (see NecFrequency).
struct NecCurrent {
    int segment = 0;
    int tag = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    double length = 0.0;
    float re = 0.0f, im = 0.0f, magnitude = 0.0f; // A
    float phase = 0.0f;                           // degrees
};

struct NecPowerBudget {
    double input = 0.0;         // W
    double radiated = 0.0;      // W
    double structureLoss = 0.0; // W
    double networkLoss = 0.0;   // W
    double efficiency = 0.0;    // percent
};

// One point of a near-field block: where, and each component's magnitude and phase.
struct NecFieldPoint {
    double x = 0.0, y = 0.0, z = 0.0; // m
    std::array<float, 3> magnitude{}; // V/m or A/m
    std::array<float, 3> phase{};     // degrees
};

struct NecNearField {
    bool electric = true;
    std::vector<NecFieldPoint> points;
};

// One pattern line as NEC prints it: theta from the zenith, phi from +X towards +Y, the two
// polarisations' gains (vertical and horizontal, or major and minor axis) and their sum, dBi.
struct NecPatternLine {
    float theta = 0.0f;
    float phi = 0.0f;
    float first = 0.0f;
    float second = 0.0f;
    float total = 0.0f;
};

struct NecFrequency {
    double mhz = 0.0;
    double wavelength = 0.0; // m; 0 when the output gives none
    std::vector<NecSource> sources;
    // The current block's coordinates are in wavelengths (nec2c's and NEC-2D's habit) or metres.
    bool currentsInWavelengths = true;
    std::vector<NecCurrent> currents;
    std::optional<NecPowerBudget> budget;
    std::vector<NecNearField> nearFields;
    // The pattern in MMANA's zenith/azimuth terms; none when the frequency printed none or its
    // lines make no grid (a single cut).
    std::optional<FarFieldPattern> pattern;
    // The pattern's gains were major/minor axis, not vertical/horizontal.
    bool majorMinor = false;
};

struct NecOutput {
    // nec2c's own banner, or the Fortran engine's spaced one.
    bool fortran = false;
    std::vector<NecSegment> segments;
    std::vector<NecFrequency> frequencies;
};

// The -999.99 NEC prints for "no radiation", as MMANA's far-field files write it.
float NecGain(float printed);

// NEC's pattern lines as a far-field grid in MMANA's terms. Both use the same spherical angles
// (zenith = theta from +Z, azimuth = phi from +X towards +Y, the antenna's axes unchanged), so
// the conversion only brings each direction into MMANA's ranges: a negative theta (NEC allows
// -90..90 cuts) is the same direction as (-theta, phi + 180), and phi is wrapped into 0..360
// (360 kept, as MMANA closes its circle there). Columns are sorted by azimuth, points by zenith;
// a direction printed twice keeps its first line; a column without the zenith (or nadir) takes
// it from the column 180 degrees round; a full circle one step short of 360 is closed
// as the far-field reader closes it. None unless the lines make a regular grid of two azimuths
// or more.
std::optional<FarFieldPattern> PatternFromNec(const std::vector<NecPatternLine>& lines);

// The frequency of the output nearest to mhz; -1 for an output without frequencies.
int NearestFrequency(const NecOutput& output, double mhz);
// The frequency shown for mhz: the nearest, the first for 0; -1 without frequencies.
int ShownNecFrequency(const NecOutput& output, double mhz);

// The sweep over the output's frequencies that have a source: the first source's impedance, its
// SWR at z0 ohm, and where the frequency has a pattern its maximum gain and front-to-back ratio.
Sweep NecSweep(const NecOutput& output, double z0);

// How many of the output's frequencies have a pattern.
int NecPatternCount(const NecOutput& output);

// The highest total gain of all the frequencies' patterns, over the whole sphere as the 3D
// surface takes its peak: the top of one colour scale over every frequency. None without a
// pattern.
std::optional<float> NecPeakGain(const NecOutput& output);

// The largest current magnitude of all the frequencies, amperes: the top of one current scale
// over every frequency. None without currents.
std::optional<double> NecLargestCurrent(const NecOutput& output);

// The currents of a frequency as wires by tag, pulse centres in metres.
WireCurrents NecWireCurrents(const NecFrequency& frequency);

// A near-field block as lines along X at each (Y, Z), components split into real and imaginary
// parts from their magnitude and phase.
NearField NecNearFieldLines(const NecNearField& field);

} // namespace lobex
