#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// An MMANA model (.maa) as its file states it, in the file's own coordinates (metres): what a
// NEC-2 deck is written from. Every part keeps the number of the file line it came from, so
// that whatever cannot be computed is named where the user can find it.

// A place on a wire such as w1c, w12e1 or w1c-1: the wire (1 = first), the end letter B, C or E
// (upper case) and the pulses counted from there. Unsigned offsets count inwards from B or E;
// signed ones count towards the wire's second end (+) or first end (-).
struct MaaPlace {
    int Wire = 0;
    char End = 'C';
    int Offset = 0;
    bool Signed = false;
};

// Reads a place: "w", the whole wire number, the end letter in either case, then an optional
// offset, signed or not. Nothing for any other text.
std::optional<MaaPlace> ParseMaaPlace(std::string_view place);

struct MaaPoint {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

struct MaaWire {
    MaaPoint End1;
    MaaPoint End2;
    // Negative: the number of a set of stepped diameters (a taper), not a radius.
    double Radius = 0.0;
    // Above 0 the wire's own segment count; 0 or below, MMANA segments it automatically.
    int Segments = 0;
    int Line = 0;
};

struct MaaSource {
    std::string Place;
    double PhaseDegrees = 0.0;
    double Volts = 0.0;
    int Line = 0;
};

// A lumped load: Values[0] is its kind (0 L/C/Q, 1 R+jX, 2 Laplace coefficients), the rest its
// figures as the file gives them.
struct MaaLoad {
    std::string Place;
    std::vector<double> Values;
    int Line = 0;
};

// The automatic segmentation: segments per wavelength where the current changes fast (DM1)
// and along the rest of a wire (DM2), the taper of segment lengths between them (SC) and how
// many segments at a wire's ends are shortened (EC).
struct MaaSegmentation {
    double Dm1 = 400.0;
    double Dm2 = 40.0;
    double Sc = 2.0;
    std::optional<double> Ec;
    int Line = 0;
};

// The calculation environment: the ground (0 free space, 1 perfect, 2 real), the height added
// to every Z, the wires' material (0 lossless) and the reference impedance of the SWR.
struct MaaEnvironment {
    int Ground = 0;
    double Height = 0.0;
    std::optional<int> Material;
    std::optional<double> ReferenceOhms;
    int Line = 0;
};

struct MaaModel {
    std::string Name;
    std::string FrequencyText;
    // The frequency line's leading number, in MHz.
    double FrequencyMhz = 0.0;
    int FrequencyLine = 0;
    std::vector<MaaWire> Wires;
    // Stacking from the wire-count line: copies side by side and one above another.
    int StackAcross = 1;
    int StackUp = 1;
    std::vector<MaaSource> Sources;
    std::vector<MaaLoad> Loads;
    std::optional<MaaSegmentation> Segmentation;
    std::optional<MaaEnvironment> Environment;
    // The headers of the sections after the environment that carry more than a comment, such
    // as a set of stepped diameters, in file order.
    std::vector<std::string> OtherSections;
};

} // namespace lobex
