#include "frmData.h"

// The graph save's animated GIF of one full turn of the 3D view.
namespace lobex {

bool frmData::Save3DTurntable(const std::string& /*path*/) {
    // Not written yet: the save reports the failure.
    return false;
}

} // namespace lobex
