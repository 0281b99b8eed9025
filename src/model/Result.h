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

} // namespace lobex
