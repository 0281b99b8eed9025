// Opening the 1-degree far-field file of the corpus in the main window, from the chosen file to
// both diagrams painted: read, maximum and beam, both cuts, the grid, both polar documents
// rendered and the window repainted. And a 12 MB nec2c output of 136 frequencies: its read
// alone (what the window does off its thread) and the whole open until it is on show.
#include "MainWindowHarness.h"
#include "MultibandNec.h"
#include "QtBenchMain.h"
#include "ScratchFile.h"
#include "core/LoadFlow.h"

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

const std::string& MultibandOutput() {
    static const lobex::bench::ScratchFile output("lobex-bench-window-multiband.out");
    [[maybe_unused]] static const bool written = lobex::test::WriteMultibandNecOutput(output.path);
    return output.path;
}

void BM_ReadNecOutput136Frequencies(benchmark::State& state) {
    lobex::AppState app;
    const lobex::LoadRequest request = lobex::FreshRequest(app);
    for (auto _ : state) {
        const lobex::LoadResult result = lobex::ReadDataFile(MultibandOutput(), request);
        if (!result.loaded) {
            state.SkipWithError("the output did not load");
            break;
        }
    }
}
BENCHMARK(BM_ReadNecOutput136Frequencies)->Unit(benchmark::kMillisecond);

// The whole open as the user waits for it: the read on its thread, then the document applied.
void BM_OpenNecOutput136FrequenciesInWindow(benchmark::State& state) {
    lobex::test::MainWindowHarness harness;
    harness.window->show();
    for (auto _ : state) {
        const auto before = harness.state.Loaded.Document;
        harness.window->OpenFileFromOutside(MultibandOutput());
        while (harness.state.Loaded.Document == before) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        harness.window->repaint();
    }
    if (!harness.state.View.PatternShown) {
        state.SkipWithError("the pattern did not open");
    }
}
BENCHMARK(BM_OpenNecOutput136FrequenciesInWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return lobex::bench::RunWithQt<QApplication>(argc, argv, "offscreen");
}
