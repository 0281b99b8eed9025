#pragma once

#include "LoadResult.h"

#include <string_view>

namespace lobex {

inline constexpr std::string_view kNearFieldElectricHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)";
inline constexpr std::string_view kNearFieldMagneticHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)";

// The near-field reader (DataKind 2): the field along one line of points, three lines (X, Y, Z
// components) per point. The points are grouped into lines by their (Y, Z) as written, offered
// in the set list in the order they first appear ("Y=…, Z=…", item data 1, 2, …); request.set
// names the line, 0 the first.
LoadResult ReadNearField(std::string_view text, const LoadRequest& request);

// The phase of the summed field in radians, -pi to pi: the full-circle angle of (Re, Im); no
// field at all has phase 0.
float SummedPhase(float reSum, float imSum);

// The field's strength at a point: sqrt(|Ex|^2 + |Ey|^2 + |Ez|^2) from the components.
float FieldMagnitude(const NearFieldPoint& point);

} // namespace lobex
