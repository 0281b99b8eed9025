#include "frmData.h"

#include "NecControls.h"
#include "PictureBox.h"
#include "View3DHost.h"
#include "core/NecFile.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QScopedValueRollback>

#include <variant>

// The main window's side of a NEC-2 output: its part and frequency picked from memory, and the
// 3D view going on with the next pattern.
namespace lobex {

void frmData::ConnectNecControls() {
    connect(nec_->chk3DSharedScale, &QCheckBox::toggled, this,
            [this](bool ticked) { view3D_->SetSharedScale(ticked); });
    mnuData->addSeparator();
    mnuData->addAction(nec_->mnuNecPrevious);
    mnuData->addAction(nec_->mnuNecNext);
}

void frmData::PickNec(double mhz, NecPart part) {
    const auto* nec = std::get_if<NecOutput>(state_.Loaded.Document.get());
    if (nec == nullptr || loading_) {
        return;
    }
    const bool pattern = state_.View.PatternShown && part == NecPart::Pattern &&
                         NecHasPart(*nec, ShownNecFrequency(*nec, mhz), NecPart::Pattern);
    // The view goes on only where it shows a pattern: the wires alone ("Токи") are another part.
    const bool in3D = pattern && state_.View.View3DActive && view3D_->View().PatternVisible &&
                      view3D_->View().DrawnMesh != nullptr;
    bool picked = false;
    view3D_->HoldStill([&] {
        const QScopedValueRollback<bool> loading(loading_, true);
        // Another pattern of the output: the polar window stays, as for a reload.
        const QScopedValueRollback<bool> reloading(reloading_, pattern);
        const QScopedValueRollback<bool> keep3D(keep3D_, in3D);
        picked = session_.PickNec(mhz, part);
    });
    if (!picked || !in3D) {
        return;
    }
    // The load drew the new pattern's diagrams: the view takes their place again.
    SetPolarLayout(false);
    if (!d3d_) {
        picPlot->hide();
    }
    view3D_->ReplacePattern();
    TakeShownFrequency3D();
}

} // namespace lobex
