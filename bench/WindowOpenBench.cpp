// Opening the 1-degree far-field file of the corpus in the main window, from the chosen file to
// both diagrams painted: read, maximum and beam, both cuts, the grid, both polar documents
// rendered and the window repainted.
#include "MainWindowHarness.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_OpenFarFieldInWindow(benchmark::State& state) {
    lobex::test::MainWindowHarness harness;
    harness.window->show();
    const std::string path =
        std::string(LOBEX_CORPUS_DIR) + "/farfield_csv/APET_LazyH-16m_1deg.csv";
    for (auto _ : state) {
        harness.window->OpenFileFromOutside(path);
        harness.window->repaint();
    }
    if (!harness.state.View.PatternShown || harness.link.Slots[2].HasBitmap != 1) {
        state.SkipWithError("the pattern did not open");
    }
}
BENCHMARK(BM_OpenFarFieldInWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
