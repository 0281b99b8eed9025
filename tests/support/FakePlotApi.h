#pragma once

#include "graphs/PlotApi.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lobex::test {

// Plot metrics of a plotting area from (left, top) to (right, bottom) with the values at its
// edges.
inline PlotMetrics Metrics(int left, int top, int right, int bottom, float xLo, float yLo,
                           float xHi, float yHi) {
    // In the record's order: the size, Left, Bottom, Right, Top, then the values.
    return {PlotMetrics{}.Size, left, bottom, right, top, xLo, yLo, xHi, yHi};
}

// The plot API of the tests: keeps every call, and answers as told, or, given a real engine,
// passes every call on to it, so the graph code can be checked with or without drawing.
class FakePlotApi final : public PlotApi {
public:
    explicit FakePlotApi(PlotApi* engine = nullptr) : engine_(engine) {}

    struct StartAnswer {
        std::int32_t result = 1;
        std::int32_t wasActive = 0;
    };
    struct PlotCall {
        DPLOT record;
        std::vector<float> x;
        std::vector<float> y;
        std::string commands;
    };
    struct BitmapCall {
        std::int32_t document = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    std::int32_t DPlot_Start(std::int32_t mode, std::int32_t* wasActive) override {
        calls.emplace_back("Start");
        startModes.push_back(mode);
        if (engine_ != nullptr) {
            return engine_->DPlot_Start(mode, wasActive);
        }
        StartAnswer answer;
        if (!startAnswers.empty()) {
            answer = startAnswers.front();
            if (startAnswers.size() > 1 || !repeatLastStartAnswer) {
                startAnswers.pop_front();
            }
        }
        *wasActive = answer.wasActive;
        return answer.result;
    }
    void DPlot_Stop() override {
        calls.emplace_back("Stop");
        if (engine_ != nullptr) {
            engine_->DPlot_Stop();
        }
    }
    std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                            std::string_view commandString) override {
        calls.emplace_back("Plot");
        const std::ptrdiff_t values = static_cast<std::ptrdiff_t>(plot.MaxPoints) * plot.NumCurves;
        plots.push_back(
            {plot, {x, x + plot.MaxPoints}, {y, y + values}, std::string(commandString)});
        if (engine_ != nullptr) {
            return engine_->DPlot_Plot(plot, x, y, commandString);
        }
        return plotAnswer ? *plotAnswer : nextDocument++;
    }
    PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width, std::int32_t height,
                                 PlotMetrics& metrics) override {
        calls.emplace_back("GetBitmap");
        bitmaps.push_back({document, width, height});
        if (engine_ != nullptr) {
            return engine_->DPlot_GetBitmapEx(document, width, height, metrics);
        }
        PlotBitmap bitmap;
        if (width <= 0 || height <= 0) {
            return bitmap;
        }
        bitmap.Width = bitmap.PixelWidth = width;
        bitmap.Height = bitmap.PixelHeight = height;
        bitmap.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                             0xFFFFFFFFU);
        metrics = Metrics(10, 5, width - 10, height - 20, 1.0f, 3.0f, 2.0f, 4.0f);
        return bitmap;
    }
    std::int32_t DPlot_Command(std::int32_t document, std::string_view command) override {
        calls.emplace_back("Command");
        commands.emplace_back(document, std::string(command));
        return engine_ != nullptr ? engine_->DPlot_Command(document, command) : commandAnswer;
    }
    void DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                       std::int32_t curve, const float* x, const float* y) override {
        calls.emplace_back("AddData");
        if (engine_ != nullptr) {
            engine_->DPlot_AddData(document, type, points, curve, x, y);
        }
    }
    std::string DPlot_LastError() const override {
        return engine_ != nullptr ? engine_->DPlot_LastError() : std::string();
    }

    // Answers of DPlot_Start in turn; the last one repeats when repeatLastStartAnswer is set,
    // and (1, 0) answers once they are used up.
    std::deque<StartAnswer> startAnswers;
    bool repeatLastStartAnswer = false;
    std::vector<std::int32_t> startModes;
    std::optional<std::int32_t> plotAnswer; // else document numbers 1, 2, 3, ...
    std::int32_t nextDocument = 1;
    std::int32_t commandAnswer = 1; // what DPlot_Command answers: 0 refuses every command

    std::vector<std::string> calls;
    std::vector<PlotCall> plots;
    std::vector<BitmapCall> bitmaps;
    std::vector<std::pair<std::int32_t, std::string>> commands;

    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

private:
    PlotApi* engine_;
};

// A plot record as the graph code fills it: DataFormat 2, the same number of points per curve,
// every curve drawn as a line. The engine's tests, benchmarks and picture gallery draw with it.
inline DPLOT MakeRecord(int curves, int points, const std::string& yLabel = "Y") {
    DPLOT plot;
    plot.Version = 2;
    plot.DataFormat = 2;
    plot.MaxCurves = curves;
    plot.MaxPoints = points;
    plot.NumCurves = curves;
    plot.Scale = 1;
    for (int c = 0; c < curves; ++c) {
        plot.NP[static_cast<std::size_t>(c)] = points;
        plot.LineType[static_cast<std::size_t>(c)] = 1;
    }
    SetTextField(plot.XAxis, std::string_view("Parameter\0", 10));
    SetTextField(plot.YAxis, yLabel);
    return plot;
}

} // namespace lobex::test
