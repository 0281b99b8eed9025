#pragma once

#include "LoadResult.h"

#include <string_view>

namespace lobex {

inline constexpr std::string_view kNearFieldElectricHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)";
inline constexpr std::string_view kNearFieldMagneticHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)";

// The near-field reader (DataKind 2): the summed field along the first line of points at a
// fixed whole-number Y and Z, three lines (X, Y, Z components) per point.
LoadResult ReadNearField(std::string_view text, const LoadRequest& request);

// The phase of the summed field in radians, between -pi/2 and pi/2; a field with no real part
// points straight up or down (+-pi/2), and no field at all has phase 0.
float SummedPhase(float reSum, float imSum, float pi);

} // namespace lobex
