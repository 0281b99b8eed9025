#include "GraphWorld.h"
#include "QtBenchMain.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "plotter/PlotEngine.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

// The graph code's whole path from a loaded data set to painted bitmaps: cuts built, command
// strings composed, documents made and rendered by the engine, the old ones closed.
namespace {

using namespace lobex;

// The graph code over the real engine; a load that has anything to say spoils the measurement.
struct Graphs : test::GraphWorld<plotter::PlotEngine> {
    explicit Graphs(PlotHostKind host) : GraphWorld(host) { Start(); }
    bool Load(const std::string& path) { return Open(path) && messages.shown.empty(); }
};

// Both diagrams of the 1-degree corpus pattern as the polar window draws them: 500 x 500 each,
// with the -3 dB circle.
void BM_ShowPatternPolarWindow(benchmark::State& state) {
    Graphs g(PlotHostKind::PolarWindow);
    if (!g.Load(LOBEX_CORPUS_DIR "/farfield_csv/APET_LazyH-16m_1deg.csv")) {
        state.SkipWithError("the corpus pattern did not load");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowPattern(g.graph, 1, 2));
    }
}
BENCHMARK(BM_ShowPatternPolarWindow)->Unit(benchmark::kMillisecond);

// The same with the pattern compared against others of the same 1-degree grid: Arg compared
// patterns (7, the most the window takes, puts 8 on each diagram), each cut from its grid and
// put on the common scale at every draw, two curves each and a legend.
void BM_ShowPatternPolarWindowCompared(benchmark::State& state) {
    Graphs g(PlotHostKind::PolarWindow);
    if (!g.Load(LOBEX_CORPUS_DIR "/farfield_csv/APET_LazyH-16m_1deg.csv")) {
        state.SkipWithError("the corpus pattern did not load");
        return;
    }
    g.state.Compare.ShownLabel = "APET_LazyH-16m_1deg.csv";
    for (int n = 0; n < state.range(0); ++n) {
        g.state.Compare.Results.push_back(
            {"compared " + std::to_string(n), g.state.Loaded.Document});
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowPattern(g.graph, 1, 2));
    }
}
BENCHMARK(BM_ShowPatternPolarWindowCompared)->Arg(1)->Arg(7)->Unit(benchmark::kMillisecond);

// A frequency sweep's two curves in the main window's graph area, 800 x 500.
void BM_PlotXYSweep(benchmark::State& state) {
    Graphs g(PlotHostKind::MainWindow);
    if (!g.Load(LOBEX_TEST_DATA_DIR "/sweep_50ohm.csv")) {
        state.SkipWithError("the sweep did not load");
        return;
    }
    for (auto _ : state) {
        PlotXY(g.graph, 1, 2);
        benchmark::DoNotOptimize(g.link.Slots[kMainSlot].Bitmap.Pixels.data());
    }
}
BENCHMARK(BM_PlotXYSweep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return lobex::bench::RunWithQt<QGuiApplication>(argc, argv, "offscreen");
}
