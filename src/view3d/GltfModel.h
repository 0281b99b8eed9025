#pragma once

#include "AntennaDescription.h"
#include "GainColours.h"
#include "PatternMesh.h"

#include <string>

namespace lobex {

// What goes into a glTF model of the pattern besides its surface.
struct GltfModelOptions {
    // The surface's colours reach down to this many dB below the peak.
    float RangeDb = kDefaultGainRangeDb;
    // Drawn as lines (wires) and small spheres (feed points) when given.
    const AntennaDescription* Antenna = nullptr;
    // Kept in the asset's extras: the far-field file and the peak gain's text.
    std::string SourceName;
};

struct GltfModelResult {
    std::string bytes; // the .glb file; empty when it could not be made
    std::string error;
    std::size_t vertices = 0;
    std::size_t triangles = 0;
};

// The pattern surface of mesh (faces and normals computed) as a binary glTF 2.0 file: positions
// in the pattern's own axes (z up, x towards azimuth 0) under a root node turned so that viewers,
// whose up is y, stand it upright; normals; colours by gain over RangeDb; the antenna's wires as
// a line primitive and its feed points as spheres; the antenna's name and frequency, the peak
// gain and the colour range in the asset's extras.
GltfModelResult PatternGlb(const PatternMesh& mesh, const GltfModelOptions& options);

} // namespace lobex
