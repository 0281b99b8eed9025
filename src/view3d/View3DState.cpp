#include "View3DState.h"

#include <algorithm>

namespace lobex {

float ScalePeakGain(const View3DState& view) {
    const float own = view.Drawn.PeakGain;
    return view.SharedScale && view.SharedPeakGain ? std::max(*view.SharedPeakGain, own) : own;
}

void ResetCamera(View3DState& view) {
    view.CameraPosition = {0.0f, 0.25f, -2.5f};
    view.PitchVelocity = 0.0f;
}

} // namespace lobex
