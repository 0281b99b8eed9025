#pragma once

#include "FakePlotApi.h"
#include "graphs/PlotApi.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

// The documents the gallery draws: the graph code's command strings and the sample files of
// samples/.
namespace lobex::plotter::gallery {

using lobex::test::MakeRecord;

// The command strings the rectangular and polar graph documents are made with.
inline std::string RectangularCommands(const std::string& limits, bool secondCurve,
                                       const std::string& y2Label, int scaleCode,
                                       const std::string& xLabel, const std::string& title) {
    std::string commands = "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)]"
                           "[GridLineType(1,1)][AutoSize()]";
    if (secondCurve) {
        commands += "[SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"";
        commands += y2Label;
        commands += "\")]";
    }
    commands += "[ManualScale(";
    commands += limits;
    commands += ")]";
    if (secondCurve) {
        commands += "[Color(2,0,0,255)]";
    }
    commands += "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
                "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]";
    commands += "[XAxisLabel(\"";
    commands += xLabel;
    commands += "\")][Title1(\"";
    commands += title;
    commands += "\")][Scale(";
    commands += std::to_string(scaleCode);
    commands += ")][LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"Lobex Data\")]";
    return commands;
}

// area 1 azimuth (compass style), 2 elevation; mainWindow picks the 2-inch size and 18
// divisions, the polar window 3.3 inches and 36.
inline std::string PolarCommands(int area, bool mainWindow, bool secondCurve) {
    std::string commands =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][GridLineType(1,1)]";
    commands += mainWindow ? "[Size(1,2,2,0)]" : "[Size(1,3.3,3.3,0)]";
    if (secondCurve) {
        commands += "[Color(2,0,0,255)]";
    }
    commands += "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
                "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]";
    commands += "[XAxisLabel(\"Азимут\")][Title1(\"";
    commands += area == 1 ? "Азимут" : "Угол";
    commands += "\")][PolarPlotStyle(";
    commands += area == 1 ? "3" : "0";
    commands += ")][Scale(264)][ManualScale(0,0,360,1)][NumTicks(1,";
    commands += mainWindow ? "18" : "36";
    commands += ",5)][LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"";
    commands += area == 1 ? "Azimuth" : "Elevation";
    commands += "\")]";
    return commands;
}

struct Series {
    std::vector<float> x;
    std::vector<float> y; // curves one after another, as DataFormat 2 wants them
    std::vector<std::string> labels;
};

// A pattern at 1-degree steps, 0 to 360 (361 points): a main lobe at 0 degrees and a back
// lobe, two curves.
inline Series OneDegreePattern() {
    Series series;
    for (int a = 0; a <= 360; ++a) {
        series.x.push_back(static_cast<float>(a));
    }
    for (int curve = 0; curve < 2; ++curve) {
        for (int a = 0; a <= 360; ++a) {
            const double t = a * std::numbers::pi / 180.0;
            const double lobe = std::pow(std::abs(std::cos(t / 2.0)), 6.0 + 4.0 * curve);
            series.y.push_back(static_cast<float>(0.08 + 0.9 * lobe));
        }
    }
    return series;
}

inline std::vector<std::vector<std::string>> ReadCsv(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ',')) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

inline std::string SamplesFolder() {
    return std::string(LOBEX_SOURCE_DIR) + "/samples/";
}

// A frequency sweep: X the frequency, then the chosen columns.
inline Series SweepColumns(const std::vector<int>& columns) {
    const auto rows = ReadCsv(SamplesFolder() + "yagi3_20m_sweep.csv");
    Series series;
    for (const int column : columns) {
        series.labels.push_back(rows.front()[static_cast<std::size_t>(column)]);
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        series.x.push_back(std::stof(rows[r][0]));
    }
    for (const int column : columns) {
        for (std::size_t r = 1; r < rows.size(); ++r) {
            series.y.push_back(std::stof(rows[r][static_cast<std::size_t>(column)]));
        }
    }
    return series;
}

// The fourth-power radius of a gain: -60 dBi at the centre, `top` on the outer circle.
inline float PatternRadius(float gain, float top) {
    const float clamped = std::max(gain, -60.0f);
    return std::pow((60.0f + clamped) / (top + 60.0f), 4.0f);
}

// The sample far field's cuts, as radii: the azimuth cut at the maximum's elevation and the
// vertical cut through azimuths 0 and 180; columns vertical then horizontal then total.
struct PatternCuts {
    Series azimuth;
    Series elevation;
};

inline PatternCuts SamplePattern() {
    const auto rows = ReadCsv(SamplesFolder() + "yagi3_20m_farfield.csv");
    std::map<float, std::vector<std::array<float, 4>>> columns; // azimuth -> zenith, v, h, t
    float top = -100.0f;
    float bestZenith = 0.0f;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const float zenith = std::stof(rows[r][0]);
        const float azimuth = std::stof(rows[r][1]);
        const std::array<float, 4> point = {zenith, std::stof(rows[r][2]), std::stof(rows[r][3]),
                                            std::stof(rows[r][4])};
        columns[azimuth].push_back(point);
        if (zenith <= 90.0f && point[3] > top) {
            top = point[3];
            bestZenith = zenith;
        }
    }
    PatternCuts cuts;
    std::array<std::vector<float>, 3> azimuthValues;
    for (const auto& [azimuth, points] : columns) {
        for (const auto& point : points) {
            if (point[0] == bestZenith) {
                cuts.azimuth.x.push_back(azimuth);
                for (int k = 0; k < 3; ++k) {
                    azimuthValues[static_cast<std::size_t>(k)].push_back(
                        PatternRadius(point[static_cast<std::size_t>(k) + 1], top));
                }
            }
        }
    }
    if (cuts.azimuth.x.back() < 360.0f) {
        cuts.azimuth.x.push_back(360.0f);
        for (auto& values : azimuthValues) {
            values.push_back(values.front());
        }
    }
    std::array<std::vector<float>, 3> elevationValues;
    const auto& front = columns.at(0.0f);
    const auto& back = columns.at(180.0f);
    for (const auto& point : front) {
        cuts.elevation.x.push_back(90.0f - point[0]);
        for (int k = 0; k < 3; ++k) {
            elevationValues[static_cast<std::size_t>(k)].push_back(
                PatternRadius(point[static_cast<std::size_t>(k) + 1], top));
        }
    }
    for (std::size_t z = 1; z < back.size(); ++z) {
        cuts.elevation.x.push_back(90.0f + back[z][0]);
        for (int k = 0; k < 3; ++k) {
            elevationValues[static_cast<std::size_t>(k)].push_back(
                PatternRadius(back[z][static_cast<std::size_t>(k) + 1], top));
        }
    }
    for (int k = 0; k < 3; ++k) {
        cuts.azimuth.y.insert(cuts.azimuth.y.end(),
                              azimuthValues[static_cast<std::size_t>(k)].begin(),
                              azimuthValues[static_cast<std::size_t>(k)].end());
        cuts.elevation.y.insert(cuts.elevation.y.end(),
                                elevationValues[static_cast<std::size_t>(k)].begin(),
                                elevationValues[static_cast<std::size_t>(k)].end());
    }
    return cuts;
}

} // namespace lobex::plotter::gallery
