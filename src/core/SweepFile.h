#pragma once

#include "LoadResult.h"
#include "model/Sweep.h"

#include <string_view>

namespace lobex {

// How MMANA begins the header of a frequency sweep; the reference impedance written after
// "SWR(" varies ("SWR(50.0Om)", "SWR(75.0Om)", "SWR(14.15MHz)").
inline constexpr std::string_view kSweepHeaderPrefix = "Freq(MHz),R(Om),jX(Om),";
inline constexpr std::string_view kSweepHeaderPrefixOhm = "Freq(MHz),R Ohm,jX Ohm,";
// Japanese MMANA writes the ohm sign ("R(Ω)", "SWR(50.0Ω)").
inline constexpr std::string_view kSweepHeaderPrefixOmega = "Freq(MHz),R(Ω),jX(Ω),";

// A sweep's text: frequency, R, jX, SWR, gain and F/B per line.
Parsed<Sweep> ParseSweep(std::string_view text);
// The load a sweep gives: one series per column.
LoadResult DeriveLoad(const Sweep& sweep, const LoadRequest& request);

// The frequency-sweep reader (DataKind 3): ParseSweep, then DeriveLoad.
LoadResult ReadSweep(std::string_view text, const LoadRequest& request);

} // namespace lobex
