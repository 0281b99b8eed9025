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

bool frmData::Save3DModel(const std::string& path, std::string* reason) {
    View3DState& view = view3D_->View();
    GltfModelOptions options;
    options.RangeDb = static_cast<float>(spn3DGainRange->value());
    options.Antenna = view.AntennaLoaded ? &view.Antenna : nullptr;
    options.SourceName =
        std::filesystem::path(Utf8Path(state_.Loaded.CurrentFile)).filename().string();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ComputePatternFaces(view.Pattern);
    const GltfModelResult model = PatternGlb(view.Pattern, options);
    const FileWriteResult written = model.bytes.empty()
                                        ? FileWriteResult{false, "the model could not be made"}
                                        : WriteAtomically(Utf8Path(path), model.bytes);
    QApplication::restoreOverrideCursor();
    if (!written.ok && reason != nullptr) {
        *reason = written.error;
    }
    return written.ok;
}

} // namespace lobex
