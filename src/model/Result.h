#pragma once

#include "FarFieldPattern.h"
#include "NearField.h"
#include "OptimisationTable.h"
#include "Sweep.h"
#include "WireCurrents.h"

#include <variant>

namespace lobex {

// Whatever one file or MMANA's window held, typed.
using Result = std::variant<FarFieldPattern, Sweep, WireCurrents, NearField, OptimisationTable>;

} // namespace lobex
