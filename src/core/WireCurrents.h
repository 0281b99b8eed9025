#pragma once

#include "LoadResult.h"
#include "model/WireCurrents.h"

#include <string_view>

namespace lobex {

inline constexpr std::string_view kCurrentsHeader =
    "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)";

// A wire-current text: every wire with its pulses. A wire whose lines stop being readable keeps
// the fault, for a load of that wire to report; the other wires stay readable.
Parsed<WireCurrents> ParseCurrents(std::string_view text);

// The load the currents give: the current along wire request.set against its relative
// position. With wire 0 it lists the wires in the set list and shows wire 1.
LoadResult DeriveLoad(const WireCurrents& currents, const LoadRequest& request);

// The wire-current reader (DataKind 4): ParseCurrents, then DeriveLoad.
LoadResult ReadCurrents(std::string_view text, const LoadRequest& request);

} // namespace lobex
