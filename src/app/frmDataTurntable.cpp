#include "Turntable.h"
#include "View3DHost.h"
#include "frmData.h"
#include "images/FileReplace.h"
#include "images/clsGIF.h"

#include <QApplication>

#include <new>

// The graph save's animated GIF of one full turn of the 3D view.
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

} // namespace lobex
