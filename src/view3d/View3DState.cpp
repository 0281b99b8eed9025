#include "View3DState.h"

namespace lobex {

void ResetCamera(View3DState& view) {
    view.CameraPosition = {0.0f, 0.25f, -2.5f};
    view.PitchVelocity = 0.0f;
}

} // namespace lobex
