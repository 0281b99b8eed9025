#include "view3d/View3DState.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(View3DState, TheCameraStartsBehindAndAboveThePatternAndResetsThere) {
    View3DState view;
    EXPECT_EQ(view.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    EXPECT_EQ(view.CameraMatrix, MatrixIdentity());
    EXPECT_FALSE(view.PatternVisible);
    EXPECT_FALSE(view.AntennaLoaded);

    view.CameraPosition = {0.5f, 1.5f, -1.5f};
    view.CameraVelocity = {1.0f, 0.0f, 0.0f};
    view.CameraPitch = 0.7f;
    view.PitchVelocity = 2.0f;
    ResetCamera(view);
    EXPECT_EQ(view.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    EXPECT_EQ(view.PitchVelocity, 0.0f);
    // Velocity and pitch are left as they are.
    EXPECT_EQ(view.CameraVelocity, (Vector3{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(view.CameraPitch, 0.7f);
}

} // namespace
} // namespace lobex
