#include "model/WireCurrents.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lobex {
namespace {

TEST(RelativePositions, FollowTheDistancesAlongTheWire) {
    const std::pair<std::vector<float>, std::vector<float>> cases[] = {
        // Steps 1 then 2: both ends reach half a step beyond the last pulse.
        {{0, 1, 3}, {0.5f / 4.5f, 1.5f / 4.5f, 3.5f / 4.5f}},
        // A wire passing closest to the origin: lengths add up whatever the direction.
        {{2, 1, 2}, {0.5f / 3, 1.5f / 3, 2.5f / 3}},
        // A loop round the origin: every pulse at one distance, spread evenly.
        {{3, 3, 3}, {0.25f, 0.5f, 0.75f}},
        // Steps of 0.095 that differ in their last bits are one step: a whole step at each end.
        {{0.095f, 0.19f, 0.285f, 0.38f, 0.475f, 0.57f, 0.665f, 0.76f, 0.855f, 0.95f, 1.045f, 1.14f,
          1.235f, 1.33f, 1.425f, 1.52f, 1.615f, 1.71f, 1.805f},
         {0.05f, 0.1f, 0.15f, 0.2f, 0.25f, 0.3f, 0.35f, 0.4f, 0.45f, 0.5f, 0.55f, 0.6f, 0.65f, 0.7f,
          0.75f, 0.8f, 0.85f, 0.9f, 0.95f}},
    };
    for (const auto& [distances, expected] : cases) {
        const std::vector<float> positions = RelativePositions(distances);
        ASSERT_EQ(positions.size(), expected.size());
        for (std::size_t i = 0; i < positions.size(); ++i) {
            EXPECT_NEAR(positions[i], expected[i], 1e-5f) << i; // float sums of 19 steps
        }
    }
}

} // namespace
} // namespace lobex
