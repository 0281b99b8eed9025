// One frame of the 3D view at 800x600 as the timer drives it: the camera and the turn, the
// scene drawn, and the frame read back (the read-back stands in for the present, which an
// Xvfb display does not time). Run under xvfb-run: the view needs OpenGL (Mesa's llvmpipe).
#include "GeneratedFarField.h"
#include "MainWindowHarness.h"
#include "QtBenchMain.h"
#include "ScratchFile.h"
#include "ShownPattern.h"
#include "app/View3DHost.h"
#include "app/View3DWidget.h"
#include "core/AppState.h"
#include "core/FarField.h"
#include "view3d/View3DState.h"
#include "view3d/ViewControl.h"
#include "view3d/ViewScene.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace lobex;

using bench::ScratchFile;
using bench::ShownPattern;

std::string Corpus(const char* name) {
    return (std::filesystem::path(LOBEX_CORPUS_DIR) / "farfield_csv" / name).string();
}

// The finest grid MMANA exports, zenith 0..180 and azimuth 0..359.5 in half degrees.
const std::string& HalfDegreeGrid() {
    static const ScratchFile file("lobex-bench-view3d-0.5deg.csv");
    static const bool written = [] {
        test::WriteFarFieldCsv(file.path, 0.5, 180.0);
        return true;
    }();
    (void)written;
    return file.path;
}

// A tenth of a degree over the upper half: 901 x 3600 = 3.24 million points, 150 MB of text.
const std::string& TenthDegreeGrid() {
    static const ScratchFile file("lobex-bench-view3d-0.1deg.csv");
    static const bool written = [] {
        test::WriteFarFieldCsv(file.path, 0.1, 90.0);
        return true;
    }();
    (void)written;
    return file.path;
}

// The resident memory of this process in megabytes (0 where /proc is not there).
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

void FrameTime(benchmark::State& state, const std::string& csv, bool wireframe) {
    static const ScratchFile model("lobex-bench-view3d.x");
    LoadResult read = ReadFarFieldGridFile(csv);
    if (!read.loaded) {
        state.SkipWithError("the far field was not read");
        return;
    }
    // The pattern as the 3D button prepares it: the drawn surface written and made in memory.
    AppState app;
    app.Loaded.FarField = std::move(read.farField);
    app.Paths.TempModelFile = model.path;
    ShownPattern shown(app);
    shown.view.AutoRotate = true;
    shown.view.Wireframe = wireframe;
    if (!shown.Show(state)) {
        return;
    }
    for (auto _ : state) {
        // One timer step of 10 ms.
        TurnScene(shown.scene, UpdateCamera(shown.view, 0.01f, DeviceKind::Hardware));
        benchmark::DoNotOptimize(shown.widget->grabFramebuffer());
    }
    state.counters["faces"] = static_cast<double>(shown.view.Drawn.PatternFaces.size());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Frame800x600_Corpus10Degree(benchmark::State& state) {
    FrameTime(state, Corpus("APET_LazyH-16m2_10deg.csv"), false);
}
BENCHMARK(BM_Frame800x600_Corpus10Degree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Frame800x600_Corpus1Degree(benchmark::State& state) {
    FrameTime(state, Corpus("APET_LazyH-16m_1deg.csv"), false);
}
BENCHMARK(BM_Frame800x600_Corpus1Degree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Frame800x600_Corpus1DegreeWireframe(benchmark::State& state) {
    FrameTime(state, Corpus("APET_LazyH-16m_1deg.csv"), true);
}
BENCHMARK(BM_Frame800x600_Corpus1DegreeWireframe)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Frame800x600_HalfDegreeSphere(benchmark::State& state) {
    FrameTime(state, HalfDegreeGrid(), false);
}
BENCHMARK(BM_Frame800x600_HalfDegreeSphere)->Unit(benchmark::kMillisecond)->UseRealTime();

// A drag redraws the frame at every pointer move: this is the rate a drag can go at.
void BM_Frame800x600_TenthDegreeHemisphere(benchmark::State& state) {
    FrameTime(state, TenthDegreeGrid(), false);
}
BENCHMARK(BM_Frame800x600_TenthDegreeHemisphere)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the "3D Модель" button pressed to the first frame of the view on the screen, with a
// pattern open in the main window: the model built and written, made into the scene, the
// device probed and the first frame drawn and swapped. The memory is the process's after it.
void ButtonToFirstFrame(benchmark::State& state, const std::string& csv) {
    test::MainWindowHarness harness;
    harness.window->show();
    harness.window->OpenFileFromOutside(csv);
    auto* button = harness.window->findChild<QPushButton*>(QStringLiteral("cmd3D"));
    auto* back = harness.window->findChild<QPushButton*>(QStringLiteral("cmdReturn"));
    if (button == nullptr || back == nullptr || !button->isEnabled()) {
        state.SkipWithError("the pattern did not open");
        return;
    }
    const double opened = ResidentMegabytes();
    double shownMegabytes = 0.0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        button->click();
        View3DWidget* widget = harness.window->View3D().Widget();
        if (widget == nullptr) {
            state.SkipWithError("the view did not start");
            return;
        }
        bool shown = false;
        const auto connection =
            QObject::connect(widget, &QOpenGLWidget::frameSwapped, [&shown] { shown = true; });
        while (!shown && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QObject::disconnect(connection);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        shownMegabytes = ResidentMegabytes();
        back->click();
        QCoreApplication::processEvents();
    }
    state.counters["MB_file_open"] = opened;
    state.counters["MB_view_shown"] = shownMegabytes;
}

void BM_ButtonToFirstFrame_Corpus1Degree(benchmark::State& state) {
    ButtonToFirstFrame(state, Corpus("APET_LazyH-16m_1deg.csv"));
}
BENCHMARK(BM_ButtonToFirstFrame_Corpus1Degree)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

void BM_ButtonToFirstFrame_TenthDegreeHemisphere(benchmark::State& state) {
    ButtonToFirstFrame(state, TenthDegreeGrid());
}
BENCHMARK(BM_ButtonToFirstFrame_TenthDegreeHemisphere)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return lobex::bench::RunWithQt<QApplication>(argc, argv, "xcb");
}
