#include "Comparison.h"

#include <variant>

namespace lobex {

bool ComparableKind(const Result& result) {
    return std::holds_alternative<FarFieldPattern>(result) ||
           std::holds_alternative<Sweep>(result) ||
           std::holds_alternative<OptimisationTable>(result);
}

bool Comparable(const Result& current, const Result& other) {
    if (!ComparableKind(current) || current.index() != other.index()) {
        return false;
    }
    if (const auto* table = std::get_if<OptimisationTable>(&current)) {
        // The header names the parameter varied and the columns: other columns would put one
        // table's gain over another's SWR.
        return table->headerWords == std::get<OptimisationTable>(other).headerWords;
    }
    return true;
}

std::string ComparisonLabel(const Comparison& entry, std::string_view pinnedLabel) {
    if (!entry.pinned) {
        return entry.name;
    }
    std::string label(pinnedLabel);
    if (const auto at = label.find("%1"); at != std::string::npos) {
        label.replace(at, 2, std::to_string(entry.pin));
    }
    if (const auto at = label.find("%2"); at != std::string::npos) {
        label.replace(at, 2, entry.name);
    }
    return label;
}

} // namespace lobex
