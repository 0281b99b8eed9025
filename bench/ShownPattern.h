#pragma once

#include "Recorders.h"
#include "app/View3DWidget.h"
#include "core/AppState.h"
#include "view3d/PatternModel.h"
#include "view3d/View3DState.h"
#include "view3d/ViewControl.h"
#include "view3d/ViewScene.h"

#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace lobex::bench {

// The pattern of app.Loaded.FarField as the 3D button prepares it (the drawn surface written to
// TempModelFile and made in memory), shown in a 3D view of 800x600. The view's options are set
// on `view` before Show.
struct ShownPattern {
    explicit ShownPattern(AppState& shared) : app(shared), context{app, view, messages} {}

    // False, the benchmark skipped with the reason, when the model is not made or the view gets
    // no OpenGL context.
    bool Show(benchmark::State& state) {
        if (!PreparePatternModel(context)) {
            state.SkipWithError("the pattern model was not made");
            return false;
        }
        CreateSceneFrames(scene, view.DrawnMesh);
        view.PatternVisible = true;
        ResetCamera(view);
        widget = std::make_unique<View3DWidget>(scene, view, app);
        widget->resize(800, 600);
        widget->show();
        if (!QTest::qWaitForWindowExposed(widget.get()) || widget->grabFramebuffer().isNull() ||
            !widget->ContextReady()) {
            state.SkipWithError("no OpenGL context: run under xvfb-run");
            return false;
        }
        return true;
    }

    AppState& app;
    test::RecordingMessages messages;
    View3DState view;
    View3DContext context;
    View3DScene scene;
    // Last, so that it goes before the scene it draws.
    std::unique_ptr<View3DWidget> widget;
};

} // namespace lobex::bench
