#pragma once

#include "core/AppState.h"
#include "view3d/AntennaDescription.h"
#include "view3d/PatternMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace lobex::test {

// A far-field grid as the reader leaves it: one column per azimuth from 0 in steps of
// azimuthStep, the last at 360 (a copy of column 0), each with zenith 0..180 in steps of
// zenithStep. total(zenith, azimuth) gives the total gain in dBi.
inline FarFieldGrid MakeGrid(float zenithStep, float azimuthStep,
                             const std::function<float(float, float)>& total) {
    FarFieldGrid grid;
    const int points = static_cast<int>(180.0f / zenithStep) + 1;
    const int columns = static_cast<int>(360.0f / azimuthStep) + 1;
    for (int j = 0; j < columns; ++j) {
        AzimuthColumn column;
        column.Azimuth = static_cast<float>(j) * azimuthStep;
        const float gainAzimuth = j + 1 == columns ? 0.0f : column.Azimuth;
        for (int i = 0; i < points; ++i) {
            const float zenith = static_cast<float>(i) * zenithStep;
            const float gain = total(zenith, gainAzimuth);
            column.Points.push_back({zenith, gain - 3.0f, gain - 3.0f, gain});
        }
        grid.push_back(std::move(column));
    }
    return grid;
}

// -40 dBi everywhere except +10 dBi at the horizon towards azimuth 0; 5-degree steps, so 37
// zenith angles and 73 columns.
inline FarFieldGrid FortyBelowTenAbove() {
    return MakeGrid(5.0f, 5.0f, [](float zenith, float azimuth) {
        return zenith == 90.0f && azimuth == 0.0f ? 10.0f : -40.0f;
    });
}

// Lobes in every direction, so that no two vertices share position and normal.
inline FarFieldGrid LobedGrid(float step) {
    return MakeGrid(step, step, [](float zenith, float azimuth) {
        const float theta = zenith * 3.14159265f / 180.0f;
        const float phi = azimuth * 3.14159265f / 180.0f;
        return 8.0f * std::sin(theta) * std::cos(phi) + 2.0f * std::cos(2 * theta) - 12.0f;
    });
}

// The surface of a grid, with its faces and normals.
inline PatternMesh BuiltMesh(const FarFieldGrid& grid) {
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(grid, kPiValue, mesh, refusal)) << refusal;
    ComputePatternFaces(mesh);
    return mesh;
}

// A horizontal dipole over the pattern in scene space (y up), fed in its middle; its second
// source names no wire and so gets no marker.
inline AntennaDescription Dipole() {
    AntennaDescription antenna;
    antenna.AntennaName = "Dipole 20m";
    antenna.FrequencyText = "14.1";
    antenna.Wires.push_back({{-0.75f, 0.5f, 0.0f}, {0.75f, 0.5f, 0.0f}, 0.001f});
    antenna.Sources.push_back({"w1c", 1.0f, 0.0f, {0.0f, 0.5f, 0.0f}, true});
    antenna.Sources.push_back({"w9c", 1.0f, 0.0f, {}, false});
    return antenna;
}

} // namespace lobex::test
