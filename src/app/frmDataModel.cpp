#include "frmData.h"

#include "View3DHost.h"
#include "core/AtomicFile.h"
#include "core/Utf8Path.h"
#include "view3d/GltfModel.h"

#include <QApplication>
#include <QSpinBox>

#include <filesystem>

// The graph save's glTF model of the 3D view's pattern.
namespace lobex {

bool frmData::Save3DModel(const std::string& path) {
    View3DState& view = view3D_->View();
    GltfModelOptions options;
    options.RangeDb = static_cast<float>(spn3DGainRange->value());
    options.Antenna = view.AntennaLoaded ? &view.Antenna : nullptr;
    options.SourceName =
        std::filesystem::path(Utf8Path(state_.Loaded.CurrentFile)).filename().string();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ComputePatternFaces(view.Pattern);
    const GltfModelResult model = PatternGlb(view.Pattern, options);
    const bool written = !model.bytes.empty() && WriteAtomically(Utf8Path(path), model.bytes).ok;
    QApplication::restoreOverrideCursor();
    return written;
}

} // namespace lobex
