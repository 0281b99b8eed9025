#pragma once

#include "PatternMesh.h"
#include "core/AppState.h"
#include "scene/D3DMath.h"

#include <optional>
#include <string>
#include <string_view>

namespace lobex {

// The direction of the pattern under a point of the view: degrees and dBi.
struct SurfaceReading {
    float Azimuth = 0.0f;   // 0 up to 360, from the pattern's x towards its y
    float Elevation = 0.0f; // above the horizon
    float Gain = 0.0f;      // total gain of the grid there, floored as the surface is
    // The compared pattern's gain there, floored alike, when the surface shows B − A.
    std::optional<float> GainB;
};

// The zenith and azimuth (degrees, azimuth 0 up to 360) of a point of the pattern frame as seen
// from the centre; zenith 0 for the centre itself.
struct PatternDirection {
    float Zenith = 0.0f;
    float Azimuth = 0.0f;
};
PatternDirection DirectionOf(Vector3 pattern);

// How a pattern-frame point lands in the view: the root frame's world matrix, the view and the
// projection, and the view's size in pixels.
struct ViewTransform {
    Matrix World;
    Matrix View;
    Matrix Projection;
    int Width = 0;
    int Height = 0;
};

// Follows the ray through pixel (x, y) into the scene and finds the nearest face of the surface
// of mesh it meets; the direction of that point from the centre, with the gain of grid there
// (and of compared, when given). Nothing when the ray misses the surface (or the view has no
// area).
std::optional<SurfaceReading> ReadPatternSurface(const PatternMesh& mesh, const FarFieldGrid& grid,
                                                 const ViewTransform& transform, float x, float y,
                                                 const FarFieldGrid* compared = nullptr);

// The total gain of grid at (zenith, azimuth), bilinear between the grid points around it, each
// floored at the surface's -60 dBi so that the -999 sentinels do not reach into their
// neighbours. Columns and zeniths are taken in ascending order, as MMANA writes them.
float GridGainAt(const FarFieldGrid& grid, float zenith, float azimuth);

// The words of the read-out, in the interface's language.
struct SurfaceReadingWords {
    std::string_view Azimuth = "Азимут";
    std::string_view Elevation = "Угол места";
};

// "Азимут 90,0°  Угол места 12,5°  Ga=8,35 dBi" with the user's decimal symbol, followed by
// "  Gb=9,10 dBi  B − A=+0,75 dB" when the reading has B's gain.
std::string SurfaceReadingText(const SurfaceReading& reading, std::string_view decimalSeparator,
                               const SurfaceReadingWords& words = {});

} // namespace lobex
