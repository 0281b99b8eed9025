#pragma once

#include "LoadResult.h"
#include "model/NearField.h"

#include <string_view>

namespace lobex {

inline constexpr std::string_view kNearFieldElectricHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)";
inline constexpr std::string_view kNearFieldMagneticHeader =
    "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)";

// A near-field text: the points grouped into lines by their (Y, Z) as written, in the order the
// lines first appear, three lines of the file (X, Y, Z components) per point.
Parsed<NearField> ParseNearField(std::string_view text);

// The load a near field gives: the field along line request.set (0: the first), and on a fresh
// load the lines in the set list ("Y=…, Z=…", item data 1, 2, …).
LoadResult DeriveLoad(const NearField& field, const LoadRequest& request);

// The near-field reader (DataKind 2): ParseNearField, then DeriveLoad.
LoadResult ReadNearField(std::string_view text, const LoadRequest& request);

} // namespace lobex
