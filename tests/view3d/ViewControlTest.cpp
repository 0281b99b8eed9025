#include "view3d/ViewControl.h"

#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace lobex {
namespace {

using test::ExpectNear;

View3DState Holding(int key) {
    View3DState view;
    view.KeyDown3D[static_cast<std::size_t>(key)] = true;
    return view;
}

TEST(ViewControl, EachArrowHomeAndEndKeyMovesTheCameraAlongItsAxisUpToItsLimit) {
    const struct {
        int key;
        float Vector3::*axis;
        float limit;
    } cases[] = {
        {vk::Left, &Vector3::x, 0.5f},  {vk::Right, &Vector3::x, -0.5f},
        {vk::Down, &Vector3::y, 1.5f},  {vk::Up, &Vector3::y, -0.5f},
        {vk::Home, &Vector3::z, -1.5f}, {vk::End, &Vector3::z, -3.0f},
    };
    for (const auto& c : cases) {
        View3DState view = Holding(c.key);
        for (int i = 0; i < 400; ++i) {
            UpdateCamera(view, 0.01f, DeviceKind::Software);
        }
        EXPECT_EQ(view.CameraPosition.*c.axis, c.limit) << c.key;
    }
}

TEST(ViewControl, PageKeysTiltTheCameraBetweenLevelAndItsLimitWithoutMovingIt) {
    View3DState down = Holding(vk::PageDown);
    UpdateCamera(down, 0.0f, DeviceKind::Software);
    EXPECT_EQ(down.CameraPitch, 0.0f); // never below level
    View3DState up = Holding(vk::PageUp);
    for (int i = 0; i < 2000; ++i) {
        UpdateCamera(up, 0.01f, DeviceKind::Software);
    }
    EXPECT_EQ(up.CameraPitch, kPitchMax);
    EXPECT_EQ(up.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
}

TEST(ViewControl, ADragTurnsAndTiltsByAFixedAngleWhateverItsLength) {
    const struct {
        float x;
        float y;
        float angle;
        float pitch;
    } moves[] = {{101.0f, 7.0f, -0.05f, 0.05f},  {400.0f, 300.0f, -0.05f, 0.10f},
                 {398.0f, 300.0f, 0.05f, 0.10f}, {398.0f, 290.0f, 0.0f, 0.05f},
                 {398.0f, 100.0f, 0.0f, 0.0f},   {398.0f, 50.0f, 0.0f, 0.0f}};
    View3DState view;
    view.LastMouseX = 100.0f;
    for (const auto& move : moves) {
        EXPECT_FLOAT_EQ(MouseRotate(view, move.x, move.y), move.angle) << move.x;
        // Down looks from higher up; the tilt stays within level and straight down.
        EXPECT_NEAR(view.CameraPitch, move.pitch, 1e-6f) << move.y;
    }
}

TEST(ViewControl, FunctionKeysActOnRelease) {
    const struct {
        int key;
        bool View3DState::*flag;
    } toggles[] = {
        {vk::F2, &View3DState::WiresVisible},
        {vk::F3, &View3DState::GroundVisible},
        {vk::F4, &View3DState::AxesVisible},
        {vk::F5, &View3DState::PatternVisible},
    };
    for (const auto& c : toggles) {
        View3DState view;
        KeyDown3D(view, c.key, false);
        EXPECT_FALSE(view.*c.flag) << c.key;
        KeyUp3D(view, c.key);
        EXPECT_TRUE(view.*c.flag) << c.key;
        KeyUp3D(view, c.key);
        EXPECT_FALSE(view.*c.flag) << c.key;
    }
    // Only F2 with a modifier asks for an antenna.
    View3DState view;
    EXPECT_TRUE(KeyDown3D(view, vk::F2, true));
    EXPECT_FALSE(KeyDown3D(view, vk::F2, false));
    EXPECT_FALSE(KeyDown3D(view, vk::F3, true));
    // F7 switches lighting only in wireframe; F6 puts the camera back.
    KeyUp3D(view, vk::F7);
    EXPECT_FALSE(view.WireLighting);
    view.Wireframe = true;
    KeyUp3D(view, vk::F7);
    EXPECT_TRUE(view.WireLighting);
    // F6 puts the camera back and levels it, whatever tilted it.
    view.CameraPosition = {0.5f, 1.0f, -1.5f};
    view.PitchVelocity = 3.0f;
    view.CameraPitch = 1.0f;
    KeyUp3D(view, vk::F6);
    EXPECT_EQ(view.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    EXPECT_EQ(view.PitchVelocity, 0.0f);
    EXPECT_EQ(view.CameraPitch, 0.0f);
}

TEST(ViewControl, AViewNeedsFramesOnlyWhileSomethingMovesAndComesToRest) {
    const struct {
        const char* what;
        std::function<void(View3DState&)> set;
        bool moving;
    } cases[] = {
        {"still", [](View3DState&) {}, false},
        {"turning", [](View3DState& v) { v.AutoRotate = true; }, true},
        {"turning held by a drag", [](View3DState& v) { v.AutoRotate = v.MouseDragging = true; },
         false},
        {"a key held", [](View3DState& v) { v.KeyDown3D[vk::PageUp] = true; }, true},
        {"a toggle key held", [](View3DState& v) { v.KeyDown3D[vk::F4] = true; }, false},
        {"gliding", [](View3DState& v) { v.PitchVelocity = -0.2f; }, true},
    };
    for (const auto& c : cases) {
        View3DState view;
        c.set(view);
        EXPECT_EQ(NeedsFrames(view), c.moving) << c.what;
    }
    // Let go, the camera glides to rest within a couple of seconds of frames.
    View3DState view = Holding(vk::Left);
    view.KeyDown3D[vk::PageUp] = true;
    UpdateCamera(view, 0.01f, DeviceKind::Hardware);
    view.KeyDown3D = {};
    int frames = 0;
    for (; NeedsFrames(view) && frames < 1000; ++frames) {
        UpdateCamera(view, 0.01f, DeviceKind::Hardware);
    }
    EXPECT_LT(frames, 200);
}

TEST(ViewControl, TheSubjectIsTheLeastSphereOnTheTurningAxisHoldingEveryPoint) {
    const Vector3 points[] = {{1.0f, 0.0f, 0.0f}, {0.0f, 2.0f, 0.0f}, {0.0f, 0.5f, -0.6f}};
    View3DState view;
    FrameSubject(view, points);
    // 1 + c^2 = (2 - c)^2 at c = 0.75.
    ExpectNear(view.SubjectCentre, {0.0f, 0.75f, 0.0f}, 1e-4f);
    EXPECT_NEAR(view.SubjectRadius, 1.25f, 1e-4f);
    FrameSubject(view, {});
    EXPECT_EQ(view.SubjectRadius, 1.0f);
}

// Where a scene point lands in normalised device coordinates.
Vector3 Projected(const ViewCamera& camera, Vector3 point) {
    return Vec3TransformCoord(point, camera.View * camera.Projection);
}

TEST(ViewControl, TheSubjectFitsTheViewWithAMarginForEveryShapeAndTilt) {
    const int sizes[][2] = {{800, 600}, {1800, 500}, {400, 1000}, {300, 300}, {120, 700}};
    const float tilts[] = {0.0f, 30.0f, 60.0f, 80.0f, 90.0f};
    View3DState view;
    view.SubjectCentre = {0.0f, 0.3f, 0.0f};
    view.SubjectRadius = 1.4f;
    for (const auto& size : sizes) {
        for (const float tilt : tilts) {
            SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]) + " at " +
                         std::to_string(tilt));
            view.CameraPitch = std::min(tilt * kViewPi / 180.0f, kPitchMax);
            const ViewCamera camera = CameraFor(view, size[0], size[1]);
            // The centre stays in the middle: the tilt turns round it.
            const Vector3 centre = Projected(camera, view.SubjectCentre);
            EXPECT_NEAR(centre.x, 0.0f, 1e-4f);
            EXPECT_NEAR(centre.y, 0.0f, 1e-4f);
            float reach = 0.0f;
            for (int i = 0; i < 24; ++i) {
                for (int k = 0; k <= 12; ++k) {
                    const float a = static_cast<float>(i) * kViewPi / 12.0f;
                    const float b = static_cast<float>(k) * kViewPi / 12.0f;
                    const Vector3 onSphere =
                        view.SubjectCentre +
                        Vector3{std::cos(a) * std::sin(b), std::cos(b), std::sin(a) * std::sin(b)} *
                            view.SubjectRadius;
                    const Vector3 ndc = Projected(camera, onSphere);
                    // Within the picture, and between the near and far planes.
                    EXPECT_LT(std::max(std::fabs(ndc.x), std::fabs(ndc.y)), 0.95f);
                    EXPECT_TRUE(ndc.z > 0.0f && ndc.z < 1.0f);
                    reach =
                        std::max(reach, size[0] >= size[1] ? std::fabs(ndc.y) : std::fabs(ndc.x));
                }
            }
            // And it fills the narrower side but for the margin.
            EXPECT_GT(reach, 0.8f);
        }
    }
}

} // namespace
} // namespace lobex
