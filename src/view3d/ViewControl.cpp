#include "ViewControl.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace lobex {
namespace {

bool Held(const View3DState& view, int key) {
    return view.KeyDown3D[static_cast<std::size_t>(key)];
}

constexpr int kMovementKeys[] = {vk::Left, vk::Right, vk::Down,   vk::Up,
                                 vk::Home, vk::End,   vk::PageUp, vk::PageDown};

// The camera's documented start place, which the framing puts in front of the subject.
constexpr Vector3 kCameraStart{0.0f, 0.25f, -2.5f};

float Settled(float velocity) {
    return std::fabs(velocity) < kStillVelocity ? 0.0f : velocity;
}

} // namespace

float UpdateCamera(View3DState& view, float elapsedSeconds, DeviceKind device) {
    float frameStep = elapsedSeconds * kFrameTimeScale;
    if (frameStep < 0.0f) {
        return 0.0f;
    }
    // The pattern turns with clock time even on the software device.
    const float turn = view.AutoRotate && !view.MouseDragging ? kAutoRotationRate * frameStep : 0;
    if (device == DeviceKind::Software) {
        frameStep = kSoftwareFrameStep;
    }
    view.FrameStep = frameStep;
    const float step = frameStep * 5.0f / 4.0f;
    const float turnStep = frameStep / 5.0f;

    Vector3& velocity = view.CameraVelocity;
    velocity = velocity * 0.9f;
    view.PitchVelocity *= 0.9f;
    if (Held(view, vk::Left))
        velocity.x += step;
    if (Held(view, vk::Right))
        velocity.x -= step;
    if (Held(view, vk::Down))
        velocity.y += step;
    if (Held(view, vk::Up))
        velocity.y -= step;
    if (Held(view, vk::Home))
        velocity.z += step;
    if (Held(view, vk::End))
        velocity.z -= step;
    // The camera tilts round the subject's centre, so it need not climb to keep it in sight.
    if (Held(view, vk::PageUp))
        view.PitchVelocity += 3.0f * step;
    if (Held(view, vk::PageDown))
        view.PitchVelocity -= 3.0f * step;
    velocity = {Settled(velocity.x), Settled(velocity.y), Settled(velocity.z)};
    view.PitchVelocity = Settled(view.PitchVelocity);

    // The velocity is in camera space; the last update's camera matrix turns it into the scene.
    Vector3& position = view.CameraPosition;
    position = position + Vec3TransformNormal(velocity * step, view.CameraMatrix);
    position.x = std::clamp(position.x, kCameraMin.x, kCameraMax.x);
    position.y = std::clamp(position.y, kCameraMin.y, kCameraMax.y);
    position.z = std::clamp(position.z, kCameraMin.z, kCameraMax.z);
    view.CameraPitch =
        std::clamp(view.CameraPitch + view.PitchVelocity * turnStep, 0.0f, kPitchMax);

    const Quaternion orientation = QuaternionRotationYawPitchRoll(0.0f, view.CameraPitch, 0.0f);
    view.CameraMatrix = MatrixAffineTransformation(1.0f, {}, orientation, position);
    return turn;
}

bool NeedsFrames(const View3DState& view) {
    if ((view.AutoRotate && !view.MouseDragging) ||
        (view.CurrentPhaseOn && !view.Currents.empty())) {
        return true;
    }
    for (const int key : kMovementKeys) {
        if (Held(view, key)) {
            return true;
        }
    }
    return view.CameraVelocity != Vector3{} || view.PitchVelocity != 0.0f;
}

void FrameSubject(View3DState& view, std::span<const Vector3> scenePoints) {
    if (scenePoints.empty()) {
        view.SubjectCentre = {};
        view.SubjectRadius = 1.0f;
        return;
    }
    // The squared distance from (0, c, 0) to the farthest point is convex in c: a ternary search
    // between the lowest and the highest point finds its least.
    auto [low, high] =
        std::minmax_element(scenePoints.begin(), scenePoints.end(),
                            [](const Vector3& a, const Vector3& b) { return a.y < b.y; });
    float bottom = low->y;
    float top = high->y;
    const auto farthest = [&scenePoints](float c) {
        float most = 0.0f;
        for (const Vector3& p : scenePoints) {
            most = std::max(most, p.x * p.x + p.z * p.z + (p.y - c) * (p.y - c));
        }
        return most;
    };
    for (int i = 0; i < 40 && top - bottom > 1e-5f; ++i) {
        const float third = (top - bottom) / 3.0f;
        if (farthest(bottom + third) < farthest(top - third)) {
            top -= third;
        } else {
            bottom += third;
        }
    }
    const float centre = (bottom + top) / 2.0f;
    const float radius = std::sqrt(farthest(centre));
    view.SubjectCentre = {0.0f, centre, 0.0f};
    view.SubjectRadius = radius > 0.0f ? radius : 1.0f;
}

float FramingDistance(float radius, float aspect) {
    // A sphere on the line of sight shows as a circle of radius tan(asin(r / d)) in the units of
    // the view's half-height tangent; it must fit the narrower half-side.
    const float halfHeight = std::tan(kFieldOfView / 2.0f);
    const float halfSide = std::min(halfHeight, halfHeight * (aspect > 0.0f ? aspect : 1.0f));
    return radius / std::sin(std::atan(kFrameFill * halfSide));
}

Matrix ProjectionMatrix(int width, int height, float depthScale) {
    const float aspect =
        width > 0 && height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    return MatrixPerspectiveFovLH(kFieldOfView, aspect, 0.1f * depthScale, 10.0f * depthScale);
}

ViewCamera CameraFor(const View3DState& view, int width, int height) {
    const float aspect =
        width > 0 && height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    const float distance = FramingDistance(view.SubjectRadius, aspect);
    // The keys' steps and limits were made for a camera 2.5 from what it looks at.
    const float scale = distance / -kCameraStart.z;
    const Vector3 offset = (view.CameraPosition - kCameraStart) * scale;
    const Quaternion orientation = QuaternionRotationYawPitchRoll(0.0f, view.CameraPitch, 0.0f);
    const Matrix turn = MatrixAffineTransformation(1.0f, {}, orientation, {});
    const Vector3 eye =
        view.SubjectCentre + Vec3TransformNormal(offset + Vector3{0.0f, 0.0f, -distance}, turn);
    Matrix camera = MatrixAffineTransformation(1.0f, {}, orientation, eye);
    Matrix inverse = MatrixIdentity();
    MatrixInverse(camera, inverse);
    return {inverse, ProjectionMatrix(width, height, scale)};
}

bool KeyDown3D(View3DState& view, int key, bool modifierHeld) {
    if (key >= 0 && key < static_cast<int>(view.KeyDown3D.size())) {
        view.KeyDown3D[static_cast<std::size_t>(key)] = true;
    }
    return key == vk::F2 && modifierHeld;
}

void KeyUp3D(View3DState& view, int key) {
    if (key >= 0 && key < static_cast<int>(view.KeyDown3D.size())) {
        view.KeyDown3D[static_cast<std::size_t>(key)] = false;
    }
    switch (key) {
    case vk::F4:
        view.AxesVisible = !view.AxesVisible;
        break;
    case vk::F3:
        view.GroundVisible = !view.GroundVisible;
        break;
    case vk::F2:
        view.WiresVisible = !view.WiresVisible;
        break;
    case vk::F5:
        view.PatternVisible = !view.PatternVisible;
        break;
    case vk::F6:
        ResetCamera(view);
        view.CameraPitch = 0.0f;
        break;
    case vk::F7:
        if (view.Wireframe) {
            view.WireLighting = !view.WireLighting;
        }
        break;
    default:
        break;
    }
}

float MouseRotate(View3DState& view, float x, float y) {
    const auto sign = [](float d) {
        return d > 0.0f ? 1.0f : (d < 0.0f ? -1.0f : 0.0f);
    };
    const float dx = x - view.LastMouseX;
    const float dy = y - view.LastMouseY;
    view.LastMouseX = x;
    view.LastMouseY = y;
    view.CameraPitch = std::clamp(view.CameraPitch + kDragTurn * sign(dy), 0.0f, kPitchMax);
    return -kDragTurn * sign(dx);
}

} // namespace lobex
