#pragma once

#include "View3DState.h"
#include "scene/D3DMath.h"

#include <span>

namespace lobex {

// Key codes of the held-key table: the Windows virtual-key numbers, which the window maps its
// keys to.
namespace vk {
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F5 = 116;
inline constexpr int F6 = 117;
inline constexpr int F7 = 118;
} // namespace vk

// The angle literal the view's turns and limits are written with (not pi).
inline constexpr float kViewPi = 3.1415f;

// Which device draws: a hardware context, or the software rasterizer, which moves the camera by
// a fixed step because its frames are too slow to measure time by.
enum class DeviceKind : int { Hardware = 1, Software = 2 };
inline constexpr float kSoftwareFrameStep = 0.05f;
// Clock seconds are stretched by this factor into movement time.
inline constexpr float kFrameTimeScale = 1.3f;
// Auto-rotation turns the pattern by this many radians per second of movement time.
inline constexpr float kAutoRotationRate = kViewPi / 10.0f;
// One mouse-move event of a drag turns the pattern by this many radians.
inline constexpr float kDragTurn = 0.05f;

// Where the camera may go, scene units.
inline constexpr Vector3 kCameraMin{-0.5f, -0.5f, -3.0f};
inline constexpr Vector3 kCameraMax{0.5f, 1.5f, -1.5f};
inline constexpr float kPitchMax = kViewPi / 2.0f;

// Moves the camera for one frame given the clock seconds since the previous update: damping,
// the held keys, the position and pitch limits, then a new CameraMatrix. Returns the angle (about
// the scene's y axis) the pattern turns by itself in that time: 0 unless AutoRotate is on and no
// drag is under way. A negative time changes nothing. A velocity damped below kStillVelocity
// without its key held stops, so that the view comes to rest.
inline constexpr float kStillVelocity = 1e-4f;
float UpdateCamera(View3DState& view, float elapsedSeconds, DeviceKind device);

// Whether the view changes by itself from one frame to the next: turning on its own, the currents'
// phase animating, a movement key held, or the camera still gliding. A still view needs no frames
// until something changes.
bool NeedsFrames(const View3DState& view);

// The smallest sphere centred on the scene's upward axis that holds every point however far the
// pattern turns about that axis; the camera frames it.
void FrameSubject(View3DState& view, std::span<const Vector3> scenePoints);

// How much of the narrower side of the view the subject's sphere takes: a small margin round it.
inline constexpr float kFrameFill = 0.9f;
// The field of view, vertical.
inline constexpr float kFieldOfView = kViewPi / 4.0f;
// How far from its centre the camera stands so that a sphere of this radius fits a view of
// width / height aspect, with the margin.
float FramingDistance(float radius, float aspect);

// The perspective of the view for a target of width x height pixels: field of view 3.1415/4,
// near 0.1 and far 10 times depthScale, and width / height as the aspect so that a sphere stays
// round in any window shape. A target with no area uses aspect 1.
Matrix ProjectionMatrix(int width, int height, float depthScale = 1.0f);

// The view and projection transforms for a target of width x height pixels. The camera looks at
// the subject's centre from the framing distance, tilted up round it by CameraPitch; its
// position relative to the start place moves it from there, scaled with the framing distance.
struct ViewCamera {
    Matrix View;
    Matrix Projection;
};
ViewCamera CameraFor(const View3DState& view, int width, int height);

// A key pressed over the view. True when it asks for an antenna description to be opened
// (F2 with Shift, Ctrl or Alt held).
bool KeyDown3D(View3DState& view, int key, bool modifierHeld);
// A key released: clears it in the held-key table and runs the function-key toggles (F2 wires,
// F3 ground, F4 axes, F5 pattern, F6 camera reset, F7 lighting while in wireframe). F6 also
// levels the camera, undoing the tilt of drags and Page keys; the window turns the pattern back.
void KeyUp3D(View3DState& view, int key);

// A mouse-move event of a drag: the angle the pattern turns by. Only the direction of the
// horizontal movement counts, not its length; no horizontal movement turns it by 0. The
// vertical movement tilts the camera the same way: down by kDragTurn to look from higher up.
float MouseRotate(View3DState& view, float x, float y);

} // namespace lobex
