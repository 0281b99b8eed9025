#include "Turntable.h"

#include "OffscreenView3D.h"
#include "View3DHost.h"
#include "View3DWidget.h"
#include "core/AppState.h"
#include "model/NecOutput.h"
#include "view3d/PatternModel.h"
#include "view3d/ViewScene.h"

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

std::vector<QImage> FrequencyFrames(OffscreenView3D& device, const View3DState& view,
                                    const Matrix& turn, const NecOutput& nec, const AppState& state,
                                    QSize size, const View3DFonts& fonts) {
    std::vector<QImage> pictures;
    const std::optional<float> peak = NecPeakGain(nec);
    const std::optional<double> largest = NecLargestCurrent(nec);
    for (const NecFrequency& frequency : nec.frequencies) {
        if (!frequency.pattern) {
            continue;
        }
        View3DState frame = view;
        HideDifference(frame);
        if (!DrawPatternOf(frame, frequency.pattern->grid, state.PiValue)) {
            return {};
        }
        frame.SharedScale = true;
        frame.SharedPeakGain = peak;
        frame.ScaleCurrent = largest;
        frame.NecMhz = frequency.mhz;
        frame.NecMaxGain = frequency.pattern->figures.MaxGain;
        if (!view.Currents.empty()) {
            frame.Currents = CurrentWiresOf(NecWireCurrents(frequency));
        }
        View3DScene scene;
        scene.Context.ForceOpaqueMaterials = true;
        CreateSceneFrames(scene, frame.DrawnMesh);
        scene.RootFrame->SetMatrix(turn);
        BuildCurrentTubes(scene, frame);
        if (frame.WiresVisible && frame.AntennaLoaded) {
            BuildFeedMarkers(scene, frame.Antenna);
        }
        pictures.push_back(device.Picture(scene, frame, state, size, fonts));
        if (pictures.back().isNull()) {
            return {};
        }
    }
    return pictures;
}

} // namespace lobex
