#pragma once

#include "SurfaceReadout.h"
#include "model/Result.h"
#include "model/Texts.h"
#include "model/WireCurrents.h"
#include "scene/D3DMath.h"
#include "scene/MeshData.h"

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// A point of a wire where the current is known: its place in metres (the file's X, Y, Z) and
// the complex current there in amperes. Any reader with currents by place (MMANA's pulses,
// NEC-2's segments) gives these, and the 3D view draws them alike.
struct CurrentPoint {
    double X = 0.0, Y = 0.0, Z = 0.0;
    std::complex<double> Current;
};

struct CurrentWire {
    // How the read-out names the wire: its number in the file.
    std::string Name;
    std::vector<CurrentPoint> Points;
};

using CurrentWires = std::vector<CurrentWire>;

// The wires of MMANA's current file; a wire whose lines stop being readable is left out, as the
// graphs leave it out.
CurrentWires CurrentWiresOf(const WireCurrents& currents);
// The currents a result holds by place: a current file's, or a NEC-2 output's at the frequency
// nearest to necMhz (0: its first), as ShownPattern picks it; none for any other result.
CurrentWires ShownCurrents(const Result& result, double necMhz);

// The largest current magnitude of all points, amperes; 0 when there are none.
double LargestCurrent(const CurrentWires& wires);

// The unit the legend and the read-out give currents in: mA when the largest is below 1 A.
struct CurrentUnit {
    double PerAmpere = 1.0;
    std::string_view Text;
};
inline constexpr std::string_view kAmpere = LOBEX_TEXT("А");
inline constexpr std::string_view kMilliampere = LOBEX_TEXT("мА");
CurrentUnit ChooseCurrentUnit(double largest);

// The current at a moment of the cycle, omegaT radians into it: |I| cos(omegaT + arg I).
double InstantaneousCurrent(std::complex<double> current, double omegaT);

// Where a value sits on the colour scale, 0..1: a magnitude from 0 to the largest, or, on the
// symmetric scale of the instantaneous currents, from -largest to +largest (0 in the middle).
float CurrentFraction(double value, double largest, bool symmetric);

// The labelled places of the legend, from the top (the largest) down: the ends, and round
// values between them a whole step apart (1, 2 or 5 times a power of ten, four or so steps).
struct LegendTick {
    float Fraction = 0.0f;
    std::string Text;
};
struct CurrentLegend {
    std::string_view Unit;
    std::vector<LegendTick> Ticks;
};
CurrentLegend CurrentLegendFor(double largest, bool symmetric, std::string_view decimalSeparator);

// The wires in scene space as the antenna is placed: the file's (X, Y, Z) as (Y, Z, X), scaled
// so that the largest coordinate range is 1.5 scene units, the origin kept.
std::vector<std::vector<Vector3>> CurrentScenePaths(const CurrentWires& wires);

// Tubes along the paths, through every point in order; a wire of one point is a small ball. Each
// vertex carries in Tv the index of its point, counted over all wires in order, so that the
// colours can change without the geometry being made again.
inline constexpr float kCurrentTubeRadius = 0.012f;
inline constexpr int kCurrentTubeSides = 8;
MeshData CurrentTubeMesh(const std::vector<std::vector<Vector3>>& paths,
                         float radius = kCurrentTubeRadius);

// The phase of the animation advances by this many radians per second.
inline constexpr double kCurrentPhaseRate = 3.14159265358979 / 2.0;

// The colour coordinate of every point (over all wires in order), as the gain colour shader
// reads it with a peak of 0 and a range of kDefaultGainRangeDb: the magnitude, or while the
// phase animates the instantaneous current at omegaT on the symmetric scale. The scale reaches
// the largest current of the wires, or scaleTop (amperes) when given, so that the wires of
// several frequencies share one.
std::vector<float> CurrentColourCoordinates(const CurrentWires& wires, bool instantaneous,
                                            double omegaT, std::optional<double> scaleTop = {});

// The point nearest to pixel (x, y) of the view, no farther than maxPixels; nothing when none is.
struct CurrentPick {
    std::size_t Wire = 0;
    std::size_t Point = 0;
};
std::optional<CurrentPick> PickCurrentPoint(const std::vector<std::vector<Vector3>>& paths,
                                            const ViewTransform& transform, float x, float y,
                                            float maxPixels = 8.0f);

// The words of the read-out, in the interface's language.
struct CurrentReadingWords {
    std::string_view Wire = "Провод";
    std::string_view Point = "импульс";
    std::string_view Phase = "фаза";
    std::string_view Unit = "мА";
};
// "Провод 1, импульс 3: 20,4 мА, фаза -11,3°" with the user's decimal symbol; the unit's scale
// comes from unit, its text from words.
std::string CurrentReadingText(const CurrentWires& wires, CurrentPick pick, const CurrentUnit& unit,
                               std::string_view decimalSeparator,
                               const CurrentReadingWords& words = {});

} // namespace lobex
