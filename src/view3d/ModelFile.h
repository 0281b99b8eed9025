#pragma once

#include "PatternMesh.h"

#include <string>
#include <string_view>

namespace lobex {

// The pattern surface as a DirectX .x model: one unnamed Frame with an identity
// FrameTransformMatrix and one unnamed Mesh with MeshNormals. Positions are in scene space;
// faces are the four-index faces of the pattern. Both run ComputePatternFaces first.

// The binary form, "xof 0303bin 0032": 16-bit tokens, 32-bit counts, integers and floats, all
// little-endian.
std::string BinaryModelBytes(PatternMesh& mesh);

// The text form, "xof 0303txt 0032", lines ended by CR LF. Floats are written with the pattern
// "#0.000000" in the user's decimal symbol, which is then turned back into ".", so the file
// reads the same under every locale.
std::string TextModelText(PatternMesh& mesh, std::string_view decimalSeparator);

} // namespace lobex
