#pragma once

#include "LoadResult.h"

#include <string_view>
#include <vector>

namespace lobex {

inline constexpr std::string_view kCurrentsHeader =
    "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)";

// The wire-current reader (DataKind 4): the current along one wire against its relative
// position, for the wire request.set. With wire 0 it lists the wires in the set list and shows
// wire 1.
LoadResult ReadCurrents(std::string_view text, const LoadRequest& request);

// Relative positions 0..1 along a wire from the pulses' distances along it: the wire is
// taken to reach a step (or half a step, where the steps change) beyond its first and last
// pulse. Pulses at one and the same distance are spread evenly.
std::vector<float> RelativePositions(const std::vector<float>& distances);

} // namespace lobex
