#pragma once

#include "core/LoadResult.h"
#include "model/Result.h"
#include "model/Texts.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Results shown against the current one: the files compared and the copies pinned as references.
namespace lobex {

struct Comparison {
    // The file's name; for a pinned copy the name of the document it was taken from.
    std::string name;
    // The file it was read from, read again when it changes; empty for a pinned copy.
    std::string source;
    std::shared_ptr<const Result> result;
    // A copy of the current result kept in memory: it stays as it was while the file on show is
    // rewritten, so the user sees before against after.
    bool pinned = false;
    // The pinned copies are numbered from 1 in the order they were taken; 0 for a file.
    int pin = 0;
};

// Eight results at most on one graph: the current one and seven compared.
inline constexpr std::size_t kMaxComparisons = 7;

// Whether `other` can be drawn against `current`: far fields with far fields, sweeps with sweeps,
// optimisation tables with tables over the same parameter and columns.
bool Comparable(const Result& current, const Result& other);
// Whether results of this kind can be compared at all.
bool ComparableKind(const Result& result);

inline constexpr std::string_view kPinnedLabel = LOBEX_TEXT("Эталон %1: %2");
inline constexpr std::string_view kWindowResultName = LOBEX_TEXT("Данные MMANA");

// What the legend and the compare table call an entry; `pinnedLabel` is kPinnedLabel in the
// interface language ("%1" the pin's number, "%2" the name).
std::string ComparisonLabel(const Comparison& entry, std::string_view pinnedLabel = kPinnedLabel);

// The name an entry of a file gets: the file's name (a model's marked as computed with NEC-2);
// MMANA's window for no file.
std::string ComparisonName(const std::string& path);

// A file read for comparison with `current` (null: nothing on show): its result, or none and the
// messages that say why not (the reader's, or that the kinds do not compare).
struct ComparisonRead {
    std::shared_ptr<const Result> result;
    std::vector<LoadMessage> messages;
};
ComparisonRead ReadForComparison(const Result* current, const std::string& path,
                                 const LoadRequest& request);

inline constexpr std::string_view kCompareNothingShown =
    LOBEX_TEXT("Сначала откройте результат, с которым нужно сравнивать.");
inline constexpr std::string_view kCompareKindNotComparable =
    LOBEX_TEXT("Токи проводов и ближнее поле не сравниваются. Сравнить можно диаграммы "
               "направленности, частотные характеристики и таблицы оптимизации.");
inline constexpr std::string_view kCompareOtherKind =
    LOBEX_TEXT("Этот файл нельзя сравнить с открытым: сравниваются диаграммы с диаграммами, "
               "частотные характеристики с частотными, таблицы оптимизации с таблицами по "
               "тому же параметру.");
inline constexpr std::string_view kCompareTooMany =
    LOBEX_TEXT("С открытым результатом можно сравнить не больше 7 других.");

} // namespace lobex
