#include "model/WireCurrents.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lobex {
namespace {

// Steps that differ in their last bits counting as one: CurrentsReader's centred dipole.
TEST(RelativePositions, FollowTheDistancesAlongTheWire) {
    const std::pair<std::vector<float>, std::vector<float>> cases[] = {
        // Steps 1 then 2: both ends reach half a step beyond the last pulse.
        {{0, 1, 3}, {0.5f / 4.5f, 1.5f / 4.5f, 3.5f / 4.5f}},
        // A wire passing closest to the origin: lengths add up whatever the direction.
        {{2, 1, 2}, {0.5f / 3, 1.5f / 3, 2.5f / 3}},
        // A loop round the origin: every pulse at one distance, spread evenly.
        {{3, 3, 3}, {0.25f, 0.5f, 0.75f}},
    };
    for (const auto& [distances, expected] : cases) {
        const std::vector<float> positions = RelativePositions(distances);
        ASSERT_EQ(positions.size(), expected.size());
        for (std::size_t i = 0; i < positions.size(); ++i) {
            EXPECT_NEAR(positions[i], expected[i], 1e-5f) << i;
        }
    }
}

} // namespace
} // namespace lobex
