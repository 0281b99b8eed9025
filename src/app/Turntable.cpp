#include "Turntable.h"

#include "View3DHost.h"
#include "View3DWidget.h"

#include <numbers>

namespace lobex {

std::vector<QImage> TurntableFrames(View3DHost& host, int frames,
                                    const std::function<void(int frame)>& frameDone) {
    std::vector<QImage> pictures;
    View3DWidget* widget = host.Widget();
    CD3DFrame* root = host.Scene().RootFrame.get();
    if (widget == nullptr || !widget->ContextReady() || root == nullptr || frames <= 0) {
        return pictures;
    }
    host.HoldStill([&] {
        const Matrix start = root->GetMatrix();
        pictures.reserve(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            // Each angle from the starting matrix: no error piles up over the turn.
            root->SetMatrix(start);
            TurnScene(host.Scene(), 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) /
                                        static_cast<float>(frames));
            pictures.push_back(widget->Picture());
            if (frameDone) {
                frameDone(i + 1);
            }
        }
        root->SetMatrix(start);
        widget->update();
    });
    if (!pictures.empty() && pictures.front().isNull()) {
        pictures.clear();
    }
    return pictures;
}

} // namespace lobex
