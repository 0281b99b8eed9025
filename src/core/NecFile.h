#pragma once

#include "LoadResult.h"
#include "model/NecOutput.h"

#include <array>
#include <optional>
#include <string_view>

// The output of a NEC-2 engine: nec2c's, or the Fortran NEC-2D's with its spaced banners
// ("- - - RADIATION PATTERNS - - -"). Known by its content, whatever the file is called.
namespace lobex {

// Whether a text begins as a NEC-2 engine's output: its title among the first lines.
bool IsNecOutput(std::string_view text);

// Reads the blocks a NEC-2 output holds: the segmentation data once, then per frequency its
// input parameters, currents, power budget, near fields and radiation patterns. Blocks it does
// not know are passed over; an output without a single frequency is refused with "Неправильный
// формат данных".
Parsed<NecOutput> ParseNecOutput(std::string_view text);

// The parts a frequency can show, in the order a part it lacks falls back through.
inline constexpr std::array<NecPart, 4> kNecParts = {NecPart::Pattern, NecPart::Currents,
                                                     NecPart::Sweep, NecPart::NearField};

// Whether frequency `index` of the output has the part to show (the sweep: any frequency with a
// source).
bool NecHasPart(const NecOutput& output, int index, NecPart part);
// The part shown for the one asked at frequency `index`: that part, or else the first of
// kNecParts the frequency has; none when it has nothing to show.
std::optional<NecPart> ShownNecPart(const NecOutput& output, int index, NecPart asked);

// The load an output gives for the frequency (the nearest to request.necFrequency; the first
// for 0) and part asked for: the pattern as a far field, the sweep over all frequencies, the
// currents or the first near field of that frequency. A part the frequency lacks gives what it
// has, in that order.
LoadResult DeriveLoad(const NecOutput& output, const LoadRequest& request);

// ParseNecOutput, then DeriveLoad.
LoadResult ReadNecOutput(std::string_view text, const LoadRequest& request);

// What of a result is drawn and compared: the result itself, or of a NEC-2 output the part on
// show at its frequency as a result of its own (its pattern, or the sweep over its frequencies);
// the output itself for the parts that do not compare.
std::shared_ptr<const Result> ShownResultOf(const std::shared_ptr<const Result>& document,
                                            double necMhz, NecPart part);

// The impedance a NEC output's sweep takes its SWR against.
inline constexpr double kNecSweepImpedance = 50.0;

} // namespace lobex
