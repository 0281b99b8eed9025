#pragma once

#include "core/AppState.h"
#include "core/Texts.h"
#include "scene/D3DMath.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lobex {

// One quadrilateral of the pattern surface: corners a, b, c, d in that order and its normal
// (scene space).
struct PatternFace {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    std::uint32_t c = 0;
    std::uint32_t d = 0;
    Vector3 Normal;
};

// The pattern surface: one vertex per grid point, zenith-major (vertex k = i x ColumnCount + j
// for zenith index i and column j), in the pattern frame (z up, x towards azimuth 0); faces
// between neighbouring points and one normal per vertex, both in scene space.
struct PatternMesh {
    std::vector<Vector3> PatternVertices;
    std::vector<PatternFace> PatternFaces;
    std::vector<Vector3> PatternNormals;
    std::uint32_t PointCount = 0;
    std::uint32_t ColumnCount = 0;
    // The strongest total gain (dBi) and the distance from the centre it was drawn at.
    float PeakGain = -60.0f;
    float PeakRadius = 0.0f;
    // Some direction beyond zenith 90 (below the horizon) has gain above the floor.
    bool ReachesBelowHorizon = false;

    std::size_t FaceCount() const {
        return PointCount < 2 || ColumnCount < 2
                   ? 0
                   : static_cast<std::size_t>(PointCount - 1) * (ColumnCount - 1);
    }
};

// Scene space is y-up: the pattern's (x, y, z) is the scene's (y, z, x).
inline Vector3 ToScene(Vector3 pattern) {
    return {pattern.y, pattern.z, pattern.x};
}
// And back: the scene's (a, b, c) is the pattern's (c, a, b).
inline Vector3 FromScene(Vector3 scene) {
    return {scene.z, scene.x, scene.y};
}

// The refusal of a grid too large for the model files or for memory.
inline constexpr const char* kTooManyNodes =
    LOBEX_TEXT("Файл содержит слишком много узлов.\r\nУменьшите шаг Азимута и/или Зенита.");

// The total gain below which the surface collapses to its centre, in dBi.
inline constexpr float kPatternFloor = -60.0f;

// The strongest total gain of a grid as the surface takes it: kPatternFloor at least.
float SurfacePeakGain(const FarFieldGrid& grid);

// Builds PatternVertices from the total gain of every grid point: the gain, floored at
// -60 dBi, becomes a radius ((60 + gain) / (peak + 60))^4 (angles converted with piValue),
// and every coordinate is divided by the largest signed coordinate. A grid the surface cannot
// be built from is refused with the message to show, and the mesh is left as it was: columns
// with unequal point counts, fewer than two zenith angles or columns, a total gain never above
// -60 dBi, or no coordinate above zero.
bool BuildPatternVertices(const FarFieldGrid& grid, float piValue, PatternMesh& mesh,
                          std::string& refusal);

// The total gain (dBi) that the surface of mesh draws at distance radius from its centre: the
// inverse of the radius rule above, so that colours and read-outs need only the surface.
float PatternGainAt(const PatternMesh& mesh, float radius);

// The finest detail the view draws, in degrees between neighbouring points: a finer grid is
// drawn from every few rows and columns, as many as keep the step within this.
inline constexpr float kDrawnDetailDegrees = 0.5f;

// The grid the view draws for a grid finer than detailDegrees: every stride-th zenith row and
// azimuth column (the last row and the 360-degree column kept), each point holding the greatest
// gains of the points round it, so that no lobe loses its peak. Nothing when grid is no finer
// (it is drawn as it is) or not a regular grid (the surface builder refuses it).
std::optional<FarFieldGrid> DrawnGrid(const FarFieldGrid& grid, float detailDegrees);

// Fills PatternFaces and PatternNormals from PatternVertices and the grid shape: face
// (a, b, c, d) with a = i x ColumnCount + j, b = a + ColumnCount, c = b + 1, d = a + 1; face
// normal normalise((D - B) x (A - C)) of the scene-space corners; vertex normals renormalised
// after each face adds its normal, in face order.
void ComputePatternFaces(PatternMesh& mesh);

} // namespace lobex
