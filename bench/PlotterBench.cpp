#include "FakePlotApi.h"
#include "QtBenchMain.h"
#include "graphs/PlotApi.h"
#include "plotter/PlotEngine.h"
#include "plotter/PlotLayout.h"
#include "plotter/TextMeasure.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using lobex::DPLOT;
using lobex::PlotBitmap;
using lobex::PlotMetrics;
using lobex::plotter::DeviceTextMeasure;
using lobex::plotter::LayOutPlot;
using lobex::plotter::PlotDocument;
using lobex::plotter::PlotEngine;
using lobex::plotter::PlotLayout;
using lobex::plotter::RenderSettings;

// What the main window shows for a frequency sweep: two curves on two Y axes, 800 x 500.
void BM_RenderRectangularTwoCurves(benchmark::State& state) {
    PlotEngine engine;
    engine.DPlot_Start(1, nullptr);
    const int points = 201;
    std::vector<float> x, y;
    for (int i = 0; i < points; ++i) {
        x.push_back(13.9f + 0.003f * static_cast<float>(i));
    }
    for (int i = 0; i < points; ++i) {
        y.push_back(1.1f + std::pow(static_cast<float>(i - 90) / 100.0f, 2.0f));
    }
    for (int i = 0; i < points; ++i) {
        y.push_back(7.3f + 0.8f * std::sin(static_cast<float>(i) / 60.0f));
    }
    const std::string commands =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)][GridLineType(1,1)]"
        "[AutoSize()][SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"Ga(dBi)\")]"
        "[ManualScale(13.9,1.1,14.5,1.91,6.5,8.1)][Color(2,0,0,255)]"
        "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")][TextFont(4,8,700,0,0,0,0,\"MS Sans "
        "Serif\")]"
        "[XAxisLabel(\"Частота, MHz\")][Title1(\"Частотные характеристики\")][Scale(1)]"
        "[LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"Lobex Data\")]";
    const DPLOT record = lobex::test::MakeRecord(2, points, "SWR(50.0Om)");
    const std::int32_t document = engine.DPlot_Plot(record, x.data(), y.data(), commands);
    for (auto _ : state) {
        PlotMetrics metrics;
        PlotBitmap bitmap = engine.DPlot_GetBitmapEx(document, 800, 500, metrics);
        benchmark::DoNotOptimize(bitmap.Pixels.data());
    }
}
BENCHMARK(BM_RenderRectangularTwoCurves)->Unit(benchmark::kMillisecond);

// The layout of that graph alone, measured on a bitmap: what every picture costs before the
// first stroke.
void BM_LayOutRectangularTwoCurves(benchmark::State& state) {
    PlotEngine engine;
    engine.DPlot_Start(1, nullptr);
    const std::vector<float> x{13.9f, 14.2f, 14.5f};
    const std::vector<float> y{1.9f, 1.1f, 1.6f, 7.3f, 8.0f, 7.6f};
    const std::string commands =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][MultipleYAxes(2,2,0)]"
        "[Y2AxisLabel(\"Ga(dBi)\")][ManualScale(13.9,1.1,14.5,1.91,6.5,8.1)]"
        "[XAxisLabel(\"Частота, MHz\")][Title1(\"Частотные характеристики\")]";
    const DPLOT record = lobex::test::MakeRecord(2, 3, "SWR(50.0Om)");
    const PlotDocument& document =
        *engine.FindDocument(engine.DPlot_Plot(record, x.data(), y.data(), commands));
    QImage image(800, 500, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780); // 96 per inch, as the engine's bitmaps
    image.setDotsPerMeterY(3780);
    const DeviceTextMeasure measure(image);
    const RenderSettings settings;
    for (auto _ : state) {
        PlotLayout layout = LayOutPlot(document, QSizeF(800, 500), measure, settings);
        benchmark::DoNotOptimize(layout);
    }
}
BENCHMARK(BM_LayOutRectangularTwoCurves)->Unit(benchmark::kMicrosecond);

// A polar diagram of a 1-degree pattern (361 points, two curves) in the polar window's style,
// with the -3 dB circle, 500 x 500.
void BM_RenderPolarOneDegree(benchmark::State& state) {
    PlotEngine engine;
    engine.DPlot_Start(1, nullptr);
    const int points = 361;
    std::vector<float> x, y;
    for (int a = 0; a < points; ++a) {
        x.push_back(static_cast<float>(a));
    }
    for (int curve = 0; curve < 2; ++curve) {
        for (int a = 0; a < points; ++a) {
            const double t = a * std::numbers::pi / 180.0;
            y.push_back(static_cast<float>(
                0.05 + 0.9 * std::pow(std::abs(std::cos(t / 2)), 6 + 4 * curve)));
        }
    }
    const std::string commands =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][GridLineType(1,1)][Size(1,3.3,3.3,0)]"
        "[Color(2,0,0,255)][TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
        "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")][XAxisLabel(\"Азимут\")][Title1(\"Азимут\")]"
        "[PolarPlotStyle(3)][Scale(264)][ManualScale(0,0,360,1)][NumTicks(1,36,5)]"
        "[LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"Azimuth\")]";
    const DPLOT record = lobex::test::MakeRecord(2, points, "SWR(50.0Om)");
    const std::int32_t document = engine.DPlot_Plot(record, x.data(), y.data(), commands);
    std::vector<float> angles(360), radii(360, 0.839f);
    for (int a = 0; a < 360; ++a) {
        angles[static_cast<std::size_t>(a)] = static_cast<float>(a);
    }
    engine.DPlot_AddData(document, 0, 360, 3, angles.data(), radii.data());
    engine.DPlot_Command(document, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]");
    for (auto _ : state) {
        PlotMetrics metrics;
        PlotBitmap bitmap = engine.DPlot_GetBitmapEx(document, 500, 500, metrics);
        benchmark::DoNotOptimize(bitmap.Pixels.data());
    }
}
BENCHMARK(BM_RenderPolarOneDegree)->Unit(benchmark::kMillisecond);

// Making the document itself: parsing the command string and copying the data.
void BM_PlotDocumentFromCommands(benchmark::State& state) {
    PlotEngine engine;
    engine.DPlot_Start(1, nullptr);
    std::vector<float> x(361), y(722, 0.5f);
    for (int a = 0; a < 361; ++a) {
        x[static_cast<std::size_t>(a)] = static_cast<float>(a);
    }
    const DPLOT record = lobex::test::MakeRecord(2, 361, "SWR(50.0Om)");
    const std::string commands =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][GridLineType(1,1)][Size(1,2,2,0)]"
        "[Color(2,0,0,255)][TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
        "[PolarPlotStyle(0)][Scale(264)][ManualScale(0,0,360,1)][NumTicks(1,18,5)]";
    for (auto _ : state) {
        const std::int32_t document = engine.DPlot_Plot(record, x.data(), y.data(), commands);
        engine.DPlot_Command(document, "[FileClose()]");
    }
}
BENCHMARK(BM_PlotDocumentFromCommands);

} // namespace

int main(int argc, char** argv) {
    return lobex::bench::RunWithQt<QGuiApplication>(argc, argv, "offscreen");
}
