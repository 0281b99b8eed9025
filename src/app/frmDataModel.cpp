#include "frmData.h"

// The graph save's glTF model of the 3D view's pattern.
namespace lobex {

bool frmData::Save3DModel(const std::string& /*path*/) {
    // Not written yet: the save reports the failure.
    return false;
}

} // namespace lobex
