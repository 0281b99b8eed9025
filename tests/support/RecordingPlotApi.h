#pragma once

#include "graphs/PlotApi.h"

#include <string>
#include <utility>
#include <vector>

namespace lobex::test {

// Passes every call on to a real engine and remembers the command strings sent to documents.
class RecordingPlotApi final : public PlotApi {
public:
    explicit RecordingPlotApi(PlotApi& engine) : engine_(engine) {}

    std::int32_t DPlot_Start(std::int32_t mode, std::int32_t* wasActive) override {
        return engine_.DPlot_Start(mode, wasActive);
    }
    void DPlot_Stop() override { engine_.DPlot_Stop(); }
    std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                            std::string_view commandString) override {
        return engine_.DPlot_Plot(plot, x, y, commandString);
    }
    PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width, std::int32_t height,
                                 PlotMetrics& metrics) override {
        return engine_.DPlot_GetBitmapEx(document, width, height, metrics);
    }
    std::int32_t DPlot_Command(std::int32_t document, std::string_view command) override {
        commands.emplace_back(document, std::string(command));
        return engine_.DPlot_Command(document, command);
    }
    void DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                       std::int32_t curve, const float* x, const float* y) override {
        engine_.DPlot_AddData(document, type, points, curve, x, y);
    }
    std::string DPlot_LastError() const override { return engine_.DPlot_LastError(); }

    std::vector<std::pair<std::int32_t, std::string>> commands;

private:
    PlotApi& engine_;
};

} // namespace lobex::test
