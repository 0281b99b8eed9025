#pragma once

#include "FarFieldPattern.h"
#include "NearField.h"
#include "NecOutput.h"
#include "OptimisationTable.h"
#include "Sweep.h"
#include "WireCurrents.h"

#include <variant>

namespace lobex {

// Whatever one file or MMANA's window held, typed; a NEC-2 output holds several results.
using Result =
    std::variant<FarFieldPattern, Sweep, WireCurrents, NearField, OptimisationTable, NecOutput>;

// The frequency of a NEC-2 output on show: the one nearest to necMhz (0: its first); null for
// any other result or an output without frequencies.
inline const NecFrequency* ShownNecFrequency(const Result& result, double necMhz) {
    const auto* nec = std::get_if<NecOutput>(&result);
    if (nec == nullptr || nec->frequencies.empty()) {
        return nullptr;
    }
    return &nec->frequencies[static_cast<std::size_t>(ShownNecFrequency(*nec, necMhz))];
}

// The far-field pattern a result shows: the result itself, or a NEC-2 output's pattern at the
// frequency on show; null when there is none.
inline const FarFieldPattern* ShownPattern(const Result& result, double necMhz) {
    if (const auto* pattern = std::get_if<FarFieldPattern>(&result)) {
        return pattern;
    }
    const NecFrequency* shown = ShownNecFrequency(result, necMhz);
    return shown != nullptr && shown->pattern ? &*shown->pattern : nullptr;
}

} // namespace lobex
