#pragma once

#include "graphs/PlotApi.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lobex::test {

// A plot engine that answers as told and keeps every call, so the link can be checked
// without drawing anything.
class FakePlotApi final : public PlotApi {
public:
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
    void DPlot_Stop() override { calls.emplace_back("Stop"); }
    std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                            std::string_view commandString) override {
        calls.emplace_back("Plot");
        PlotCall call;
        call.record = plot;
        call.x.assign(x, x + plot.MaxPoints);
        call.y.assign(y, y + static_cast<std::ptrdiff_t>(plot.MaxPoints) * plot.NumCurves);
        call.commands = std::string(commandString);
        plots.push_back(std::move(call));
        if (plotAnswer) {
            return *plotAnswer;
        }
        return nextDocument++;
    }
    PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width, std::int32_t height,
                                 PlotMetrics& metrics) override {
        calls.emplace_back("GetBitmap");
        bitmaps.push_back({document, width, height});
        PlotBitmap bitmap;
        if (width <= 0 || height <= 0) {
            return bitmap;
        }
        bitmap.Width = width;
        bitmap.Height = height;
        bitmap.PixelWidth = width;
        bitmap.PixelHeight = height;
        bitmap.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                             0xFFFFFFFFU);
        metrics.Left = 10;
        metrics.Top = 5;
        metrics.Right = width - 10;
        metrics.Bottom = height - 20;
        metrics.XLo = 1.0f;
        metrics.XHi = 2.0f;
        metrics.YLo = 3.0f;
        metrics.YHi = 4.0f;
        return bitmap;
    }
    std::int32_t DPlot_Command(std::int32_t document, std::string_view command) override {
        calls.emplace_back("Command");
        commands.emplace_back(document, std::string(command));
        return commandAnswer;
    }
    void DPlot_AddData(std::int32_t, std::int32_t, std::int32_t, std::int32_t, const float*,
                       const float*) override {
        calls.emplace_back("AddData");
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
        int count = 0;
        for (const std::string& made : calls) {
            count += made == call ? 1 : 0;
        }
        return count;
    }
};

} // namespace lobex::test
