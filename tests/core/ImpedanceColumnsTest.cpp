#include "core/ImpedanceColumns.h"

#include <gtest/gtest.h>

#include <vector>

namespace lobex {
namespace {

// The one rule that every view of R and jX (derived curves, the Smith chart, table --z0, info,
// Touchstone) finds its columns by, over the captions MMANA, its window and translated tables
// write.
TEST(ImpedanceColumns, FoundByKindAndCaption) {
    struct Case {
        std::int16_t kind;
        std::vector<std::string> captions;
        std::optional<std::pair<int, int>> expected;
    };
    const std::vector<Case> cases = {
        {KindSweep, {"Частота", "R", "j X", "КСВ"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "jX", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Val", "Длина", "R", "jX"}, std::pair{2, 3}},
        {KindTable, {"Val", "長さ", "R(Ω)", "jX(Ω)"}, std::pair{2, 3}},
        {KindMmanaWindow, {"Parameter", "R", "j X", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "SWR", "Ga"}, std::nullopt},
        {KindTable, {"Parameter", "Rx", "jX1", "SWR"}, std::nullopt},
        {KindFarField, {"Zenith", "R", "jX"}, std::nullopt},
    };
    for (const Case& c : cases) {
        DataSet data;
        data.DataKind = c.kind;
        for (std::size_t i = 0; i < c.captions.size(); ++i) {
            data.Series[i].Label = c.captions[i];
        }
        const std::optional<ImpedanceColumns> found = FindImpedanceColumns(data);
        ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.captions[1];
        if (found) {
            EXPECT_EQ(found->resistance, c.expected->first) << c.captions[2];
            EXPECT_EQ(found->reactance, c.expected->second) << c.captions[2];
        }
    }
}

} // namespace
} // namespace lobex
