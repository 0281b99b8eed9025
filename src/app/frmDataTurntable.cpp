#include "OffscreenView3D.h"
#include "Turntable.h"
#include "View3DHost.h"
#include "View3DWidget.h"
#include "frmData.h"
#include "images/FileReplace.h"
#include "images/clsGIF.h"

#include <QApplication>

#include <functional>

#include <new>

// The graph save's animated GIFs of the 3D view: one full turn, and a NEC-2 output's frequencies.
namespace lobex {

namespace {

// Draws an animation while the view holds still (it starts where the user saved it, the wait
// cursor showing for its second or so of drawing and coding) and writes it whole or not at all;
// no bytes are failure, which `failure` names.
bool SaveAnimation(View3DHost& host, const std::string& path, std::string* reason,
                   const char* failure, const std::function<QByteArray()>& encode) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorGuard {
        ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    } cursor;
    QByteArray bytes;
    try {
        host.HoldStill([&] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            bytes = encode();
        });
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    const std::string error =
        bytes.isEmpty() ? std::string(failure) : WriteFileReplacing(path, bytes);
    if (!error.empty() && reason != nullptr) {
        *reason = error;
    }
    return error.empty();
}

} // namespace

bool frmData::Save3DTurntable(const std::string& path, std::string* reason) {
    if (!state_.View.View3DActive) {
        return false;
    }
    return SaveAnimation(*view3D_, path, reason, "out of memory", [this] {
        return EncodeAnimatedGif(ReduceToSharedPalette(TurntableFrames(*view3D_, kTurntableFrames)),
                                 kTurntableDelay);
    });
}

bool frmData::Save3DOverFrequency(const std::string& path, std::string* reason) {
    const auto* nec = std::get_if<NecOutput>(state_.Loaded.Document.get());
    View3DWidget* widget = view3D_->Widget();
    if (!state_.View.View3DActive || nec == nullptr || widget == nullptr ||
        view3D_->Scene().RootFrame == nullptr) {
        return false;
    }
    // The frames are drawn apart from the view, at its size, as it stands when saved.
    return SaveAnimation(
        *view3D_, path, reason, "the pictures could not be drawn", [this, nec, widget] {
            OffscreenView3D device;
            if (!device.Ready()) {
                return QByteArray();
            }
            return EncodeAnimatedGif(
                ReduceToSharedPalette(FrequencyFrames(
                    device, view3D_->View(), view3D_->Scene().RootFrame->GetMatrix(), *nec, state_,
                    widget->size() * widget->devicePixelRatio(), widget->Fonts())),
                kFrequencyFrameDelay);
        });
}

} // namespace lobex
