#include "OffscreenView3D.h"
#include "Turntable.h"
#include "View3DHost.h"
#include "View3DWidget.h"
#include "frmData.h"
#include "images/FileReplace.h"
#include "images/clsGIF.h"

#include <QApplication>

#include <new>

// The graph save's animated GIFs of the 3D view: one full turn, and a NEC-2 output's frequencies.
namespace lobex {

bool frmData::Save3DTurntable(const std::string& path, std::string* reason) {
    if (!state_.View.View3DActive) {
        return false;
    }
    // About a second of drawing and coding: the wait cursor shows before it starts.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorGuard {
        ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    } cursor;
    QByteArray bytes;
    try {
        // Held before the cursor is shown, so that the turn starts where the user saved it.
        view3D_->HoldStill([&] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            bytes = EncodeAnimatedGif(
                ReduceToSharedPalette(TurntableFrames(*view3D_, kTurntableFrames)),
                kTurntableDelay);
        });
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    const std::string error =
        bytes.isEmpty() ? std::string("out of memory") : WriteFileReplacing(path, bytes);
    if (!error.empty() && reason != nullptr) {
        *reason = error;
    }
    return error.empty();
}

bool frmData::Save3DOverFrequency(const std::string& path, std::string* reason) {
    const auto* nec = std::get_if<NecOutput>(state_.Loaded.Document.get());
    View3DWidget* widget = view3D_->Widget();
    if (!state_.View.View3DActive || nec == nullptr || widget == nullptr ||
        view3D_->Scene().RootFrame == nullptr) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorGuard {
        ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    } cursor;
    QByteArray bytes;
    try {
        // The frames are drawn apart from the view, at its size, as it stands when saved.
        view3D_->HoldStill([&] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            OffscreenView3D device;
            if (device.Ready()) {
                bytes = EncodeAnimatedGif(
                    ReduceToSharedPalette(FrequencyFrames(
                        device, view3D_->View(), view3D_->Scene().RootFrame->GetMatrix(), *nec,
                        state_, widget->size() * widget->devicePixelRatio(), widget->Fonts())),
                    kFrequencyFrameDelay);
            }
        });
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    const std::string error = bytes.isEmpty() ? std::string("the pictures could not be drawn")
                                              : WriteFileReplacing(path, bytes);
    if (!error.empty() && reason != nullptr) {
        *reason = error;
    }
    return error.empty();
}

} // namespace lobex
