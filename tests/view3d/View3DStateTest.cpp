#include "view3d/View3DState.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(View3DState, TheCameraStartsBehindAndAboveThePatternAndResetsThere) {
    View3DState view;
    EXPECT_EQ(view.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    view.CameraPosition = {0.5f, 1.5f, -1.5f};
    view.CameraVelocity = {1.0f, 0.0f, 0.0f};
    view.PitchVelocity = 2.0f;
    ResetCamera(view);
    EXPECT_EQ(view.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    EXPECT_EQ(view.PitchVelocity, 0.0f);
    EXPECT_EQ(view.CameraVelocity, (Vector3{1.0f, 0.0f, 0.0f})); // left as it is
}

} // namespace
} // namespace lobex
