#include "Comparison.h"

#include "core/LoadFlow.h"
#include "core/NecFile.h"
#include "core/NecRun.h"
#include "core/Utf8Path.h"

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

std::string ComparisonName(const std::string& path) {
    if (path.empty()) {
        return std::string(kWindowResultName);
    }
    const std::string name = PathToUtf8(Utf8Path(path).filename());
    // A model's result computed here stands beside the one MMANA computed of the same model.
    return IsMaaModel(path) ? name + " (NEC-2)" : name;
}

ComparisonRead ReadForComparison(const Result* current, const std::string& path,
                                 const LoadRequest& request) {
    const auto refused = [](std::string_view text) {
        return ComparisonRead{nullptr, {{std::string(text), MessageIcon::Information, {}}}};
    };
    if (current == nullptr) {
        return refused(kCompareNothingShown);
    }
    if (!ComparableKind(*current)) {
        return refused(kCompareKindNotComparable);
    }
    LoadResult read = ReadDataFile(path, request);
    if (!read.loaded || read.document == nullptr) {
        return {nullptr, std::move(read.messages)};
    }
    // A NEC-2 output compares by its first frequency's pattern, or its sweep against a sweep.
    std::shared_ptr<const Result> other =
        ShownResultOf(read.document, 0.0,
                      std::holds_alternative<Sweep>(*current) ? NecPart::Sweep : NecPart::Pattern);
    if (!Comparable(*current, *other)) {
        return refused(kCompareOtherKind);
    }
    return {std::move(other), {}};
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
