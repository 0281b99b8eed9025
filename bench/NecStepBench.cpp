// Stepping to the next frequency of a NEC-2 output in the 3D view, its patterns 1-degree grids
// (181 x 361 points): the pattern derived from the output in memory, its surface and mesh made,
// and the new frame drawn at 800x600 and read back. Once as these steps alone, once as the main
// window does it from the step key to the frame on the screen. Needs nec2c and a display with
// OpenGL (xvfb-run and Mesa's llvmpipe).
#include "MainWindowHarness.h"
#include "QtBenchMain.h"
#include "ShownPattern.h"
#include "app/NecControls.h"
#include "app/View3DHost.h"
#include "app/View3DWidget.h"
#include "core/AppState.h"
#include "core/NecFile.h"
#include "core/TextFile.h"
#include "view3d/PatternModel.h"
#include "view3d/View3DState.h"
#include "view3d/ViewScene.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace lobex;

// A 3-element Yagi for 20 m at three frequencies, each with a 1-degree full-sphere pattern.
constexpr const char* kDeck = "CM 3-element Yagi, 1-degree patterns\n"
                              "CE\n"
                              "GW 1 21 -3 -5.30 0 -3 5.30 0 0.005\n"
                              "GW 2 21  0 -5.05 0  0 5.05 0 0.005\n"
                              "GW 3 21  3 -4.80 0  3 4.80 0 0.005\n"
                              "GE 0\n"
                              "EX 0 2 11 0 1 0\n"
                              "FR 0 3 0 0 14.0 0.2\n"
                              "RP 0 181 361 1000 0 0 1 1\n"
                              "EN\n";

// nec2c's output for the deck, made once; empty when nec2c did not run.
const std::string& OneDegreeOutput() {
    static QTemporaryDir folder;
    static const std::string output = []() -> std::string {
        const std::string base = folder.path().toStdString();
        std::ofstream(base + "/yagi.nec") << kDeck;
        const std::string command =
            "cd '" + base + "' && nec2c -i yagi.nec -o yagi.out >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? base + "/yagi.out" : std::string();
    }();
    return output;
}

// The frequency after `index`, back and forth over the output's.
int NextIndex(int index, int count, int& direction) {
    if (index + direction < 0 || index + direction >= count) {
        direction = -direction;
    }
    return index + direction;
}

void BM_NecStep_DeriveMeshFrame800x600_1Degree(benchmark::State& state) {
    if (OneDegreeOutput().empty()) {
        state.SkipWithError("nec2c did not run");
        return;
    }
    const Parsed<NecOutput> parsed = ParseNecOutput(ReadFileBytes(OneDegreeOutput()));
    if (!parsed.result || parsed.result->frequencies.size() < 2) {
        state.SkipWithError("the output was not read");
        return;
    }
    const NecOutput& nec = *parsed.result;
    const QTemporaryDir scratch;
    AppState app;
    app.Paths.TempModelFile = scratch.filePath(QStringLiteral("model.x")).toStdString();
    LoadRequest request;
    app.Loaded.FarField = DeriveLoad(nec, request).farField;
    bench::ShownPattern shown(app);
    shown.view.GainColours = true;
    if (!shown.Show(state)) {
        return;
    }
    View3DState& view = shown.view;
    int index = 0;
    int direction = 1;
    for (auto _ : state) {
        index = NextIndex(index, static_cast<int>(nec.frequencies.size()), direction);
        request.necFrequency = nec.frequencies[static_cast<std::size_t>(index)].mhz;
        app.Loaded.FarField = DeriveLoad(nec, request).farField;
        if (!PreparePatternModel(shown.context, PatternShown::Next)) {
            state.SkipWithError("the pattern model was not made");
            return;
        }
        WidenFraming(view);
        ReplacePatternMesh(shown.scene, view.DrawnMesh);
        benchmark::DoNotOptimize(shown.widget->grabFramebuffer());
    }
    state.counters["faces"] = static_cast<double>(view.Drawn.PatternFaces.size());
}
BENCHMARK(BM_NecStep_DeriveMeshFrame800x600_1Degree)->Unit(benchmark::kMillisecond)->UseRealTime();

// The main window with the output open and its 3D view shown: the step key's work (the load
// flow's grid, figures and diagrams included) up to the new frame swapped on the screen.
void BM_NecStep_MainWindowKeyToFrame_1Degree(benchmark::State& state) {
    if (OneDegreeOutput().empty()) {
        state.SkipWithError("nec2c did not run");
        return;
    }
    test::MainWindowHarness harness;
    harness.window->show();
    harness.window->OpenFileFromOutside(OneDegreeOutput());
    // An output this large is read off the window's thread.
    QElapsedTimer opening;
    opening.start();
    while (harness.window->OpenPending() && opening.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    auto* button = harness.window->findChild<QPushButton*>(QStringLiteral("cmd3D"));
    if (button == nullptr || !button->isEnabled()) {
        state.SkipWithError("the pattern did not open");
        return;
    }
    button->click();
    View3DWidget* widget = harness.window->View3D().Widget();
    if (widget == nullptr) {
        state.SkipWithError("the view did not start");
        return;
    }
    QTest::qWait(200);
    int direction = 1;
    for (auto _ : state) {
        bool shown = false;
        const auto connection =
            QObject::connect(widget, &QOpenGLWidget::frameSwapped, [&shown] { shown = true; });
        QElapsedTimer clock;
        clock.start();
        if (!harness.window->Nec().Step(direction)) {
            direction = -direction;
            harness.window->Nec().Step(direction);
        }
        while (!shown && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        QObject::disconnect(connection);
        if (harness.window->View3D().Widget() != widget) {
            state.SkipWithError("the view was started again");
            return;
        }
    }
}
BENCHMARK(BM_NecStep_MainWindowKeyToFrame_1Degree)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    return lobex::bench::RunWithQt<QApplication>(argc, argv, "xcb");
}
