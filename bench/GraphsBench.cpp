#include "core/LoadFlow.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "plotter/PlotEngine.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

// The graph code's whole path from a loaded data set to painted bitmaps: cuts built, command
// strings composed, documents made and rendered by the engine, the old ones closed.
namespace {

using namespace lobex;

// The main window as the loaders see it, with nothing to show.
class QuietView final : public DataView {
public:
    void ParamClear() override { entries_.clear(); }
    void ParamAddItem(std::string_view text, int) override { entries_.emplace_back(text); }
    int ParamCount() const override { return static_cast<int>(entries_.size()); }
    std::string ParamItemText(int index) const override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    int ParamItemData(int index) const override { return index; }
    int ParamListIndex() const override { return -1; }
    void ParamSetListIndex(int) override {}
    void ParamSetEnabled(bool) override {}
    void SetParamCaption(std::string_view) override {}
    void FillCombos(int) override {}
    void SetPatternControls(bool) override {}
    void Set3DButtonEnabled(bool) override {}
    bool ShowPattern(int, int) override { return true; }
    void SetStatus(std::string_view) override {}
    void ShowGrid(const GridTable&) override {}
    void SelectGridRow(int) override {}
    int GridCurrentRow() const override { return 1; }
    void PumpEvents() override {}

private:
    std::vector<std::string> entries_;
};

class NoMessages final : public MessageService {
public:
    void Show(std::string_view, MessageIcon, std::string_view) override { std::abort(); }
};

struct Graphs {
    explicit Graphs(PlotHostKind host) {
        state.PlotHost = host;
        StartPlotter(link, state, messages);
    }
    bool Load(const std::string& path) { return RunFileOpen(load, path); }

    plotter::PlotEngine engine;
    AppState state;
    QuietView data;
    HeadlessGraphView view;
    NoMessages messages;
    PlotLink link{engine};
    GraphContext graph{state, data, view, messages, link};
    LoadContext load{state, data, messages};
};

// Both diagrams of the 1-degree corpus pattern as the polar window draws them: 500 x 500 each,
// with the -3 dB circle.
void BM_ShowPatternPolarWindow(benchmark::State& state) {
    Graphs g(PlotHostKind::PolarWindow);
    g.view.SetSlotSize(kAzimuthSlot, 500, 500);
    g.view.SetSlotSize(kElevationSlot, 500, 500);
    if (!g.Load(LOBEX_CORPUS_DIR "/farfield_csv/APET_LazyH-16m_1deg.csv")) {
        state.SkipWithError("the corpus pattern did not load");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowPattern(g.graph, 1, 2));
    }
}
BENCHMARK(BM_ShowPatternPolarWindow)->Unit(benchmark::kMillisecond);

// A frequency sweep's two curves in the main window's graph area, 800 x 500.
void BM_PlotXYSweep(benchmark::State& state) {
    Graphs g(PlotHostKind::MainWindow);
    g.view.SetSlotSize(kMainSlot, 800, 500);
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

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
