#include "ViewControl.h"

#include <algorithm>
#include <cstddef>

namespace lobex {
namespace {

bool Held(const View3DState& view, int key) {
    return view.KeyDown3D[static_cast<std::size_t>(key)];
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
    if (Held(view, vk::PageUp)) {
        view.PitchVelocity += 3.0f * step;
        velocity.y += step;
    }
    if (Held(view, vk::PageDown)) {
        view.PitchVelocity -= 3.0f * step;
        velocity.y -= step;
    }

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

Matrix ViewMatrix(const View3DState& view) {
    Matrix inverse = MatrixIdentity();
    MatrixInverse(view.CameraMatrix, inverse);
    return inverse;
}

Matrix ProjectionMatrix(int width, int height) {
    const float aspect =
        width > 0 && height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    return MatrixPerspectiveFovLH(kViewPi / 4.0f, aspect, 0.1f, 10.0f);
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
    const float dx = x - view.LastMouseX;
    view.LastMouseX = x;
    view.LastMouseY = y;
    const float sign = dx > 0.0f ? 1.0f : (dx < 0.0f ? -1.0f : 0.0f);
    return -kDragTurn * sign;
}

} // namespace lobex
