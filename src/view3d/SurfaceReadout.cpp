#include "SurfaceReadout.h"

#include "core/TextRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lobex {
namespace {

// The distance along the ray to triangle (a, b, c), either side facing; nothing when it misses.
std::optional<float> HitTriangle(Vector3 origin, Vector3 direction, Vector3 a, Vector3 b,
                                 Vector3 c) {
    const Vector3 edge1 = b - a;
    const Vector3 edge2 = c - a;
    const Vector3 p = Vec3Cross(direction, edge2);
    const float determinant = Vec3Dot(edge1, p);
    if (std::fabs(determinant) < 1e-12f) {
        return std::nullopt;
    }
    const float inverse = 1.0f / determinant;
    const Vector3 s = origin - a;
    const float u = Vec3Dot(s, p) * inverse;
    if (u < 0.0f || u > 1.0f) {
        return std::nullopt;
    }
    const Vector3 q = Vec3Cross(s, edge1);
    const float v = Vec3Dot(direction, q) * inverse;
    if (v < 0.0f || u + v > 1.0f) {
        return std::nullopt;
    }
    const float t = Vec3Dot(edge2, q) * inverse;
    return t > 0.0f ? std::optional<float>(t) : std::nullopt;
}

// The index of the last value not above x in an ascending run, and how far x lies towards the
// next one (0..1); the ends are held.
std::pair<std::size_t, float> Bracket(const std::vector<float>& values, float x) {
    if (values.size() < 2 || x <= values.front()) {
        return {0, 0.0f};
    }
    if (x >= values.back()) {
        return {values.size() - 2, 1.0f};
    }
    const auto next = std::upper_bound(values.begin(), values.end(), x);
    const auto low = static_cast<std::size_t>(next - values.begin()) - 1;
    const float span = values[low + 1] - values[low];
    return {low, span > 0.0f ? (x - values[low]) / span : 0.0f};
}

} // namespace

PatternDirection DirectionOf(Vector3 pattern) {
    constexpr float kDegrees = 180.0f / std::numbers::pi_v<float>;
    const float radius = Vec3Length(pattern);
    if (!(radius > 0.0f)) {
        return {};
    }
    float azimuth = std::atan2(pattern.y, pattern.x) * kDegrees;
    if (azimuth < 0.0f) {
        azimuth += 360.0f;
    }
    return {std::acos(std::clamp(pattern.z / radius, -1.0f, 1.0f)) * kDegrees, azimuth};
}

float GridGainAt(const FarFieldGrid& grid, float zenith, float azimuth) {
    if (grid.empty() || grid.front().Points.empty()) {
        return kPatternFloor;
    }
    std::vector<float> azimuths;
    azimuths.reserve(grid.size());
    for (const AzimuthColumn& column : grid) {
        azimuths.push_back(column.Azimuth);
    }
    std::vector<float> zeniths;
    for (const PatternPoint& point : grid.front().Points) {
        zeniths.push_back(point.Zenith);
    }
    const auto [j, across] = Bracket(azimuths, azimuth);
    const auto [i, down] = Bracket(zeniths, zenith);
    const auto gain = [&grid](std::size_t column, std::size_t point) {
        const std::vector<PatternPoint>& points = grid[std::min(column, grid.size() - 1)].Points;
        if (points.empty()) {
            return kPatternFloor;
        }
        return std::max(points[std::min(point, points.size() - 1)].Total, kPatternFloor);
    };
    const float upper = gain(j, i) + (gain(j + 1, i) - gain(j, i)) * across;
    const float lower = gain(j, i + 1) + (gain(j + 1, i + 1) - gain(j, i + 1)) * across;
    return upper + (lower - upper) * down;
}

std::optional<SurfaceReading> ReadPatternSurface(const PatternMesh& mesh, const FarFieldGrid& grid,
                                                 const ViewTransform& transform, float x, float y,
                                                 const FarFieldGrid* compared) {
    if (transform.Width <= 0 || transform.Height <= 0 || mesh.PatternFaces.empty()) {
        return std::nullopt;
    }
    Matrix inverse;
    const Matrix all =
        MatrixMultiply(MatrixMultiply(transform.World, transform.View), transform.Projection);
    if (!MatrixInverse(all, inverse)) {
        return std::nullopt;
    }
    const float ndcX = 2.0f * x / static_cast<float>(transform.Width) - 1.0f;
    const float ndcY = 1.0f - 2.0f * y / static_cast<float>(transform.Height);
    const Vector3 nearPoint = FromScene(Vec3TransformCoord({ndcX, ndcY, 0.0f}, inverse));
    const Vector3 farPoint = FromScene(Vec3TransformCoord({ndcX, ndcY, 1.0f}, inverse));
    const Vector3 direction = farPoint - nearPoint;

    std::optional<float> nearest;
    const std::vector<Vector3>& v = mesh.PatternVertices;
    for (const PatternFace& face : mesh.PatternFaces) {
        for (const auto& [a, b, c] :
             {std::array{face.a, face.b, face.c}, std::array{face.a, face.c, face.d}}) {
            const std::optional<float> t = HitTriangle(nearPoint, direction, v[a], v[b], v[c]);
            if (t && (!nearest || *t < *nearest)) {
                nearest = t;
            }
        }
    }
    if (!nearest) {
        return std::nullopt;
    }
    const Vector3 hit = nearPoint + direction * *nearest;
    if (!(Vec3Length(hit) > 0.0f)) {
        return std::nullopt;
    }
    const auto [zenith, azimuth] = DirectionOf(hit);
    SurfaceReading reading{azimuth, 90.0f - zenith, GridGainAt(grid, zenith, azimuth), {}};
    if (compared != nullptr) {
        reading.GainB = GridGainAt(*compared, zenith, azimuth);
    }
    return reading;
}

namespace {

std::string DifferenceText(float gainA, float gainB, std::string_view decimalSeparator) {
    const float difference = gainB - gainA;
    return "  Gb=" + FormatPattern(gainB, "#0.00", decimalSeparator) +
           " dBi  B − A=" + (difference > 0.0f ? "+" : "") +
           FormatPattern(difference, "#0.00", decimalSeparator) + " dB";
}

} // namespace

std::string SurfaceReadingText(const SurfaceReading& reading, std::string_view decimalSeparator,
                               const SurfaceReadingWords& words) {
    return std::string(words.Azimuth) + " " +
           FormatPattern(reading.Azimuth, "0.0", decimalSeparator) + "°  " +
           std::string(words.Elevation) + " " +
           FormatPattern(reading.Elevation, "0.0", decimalSeparator) +
           "°  Ga=" + FormatPattern(reading.Gain, "#0.00", decimalSeparator) + " dBi" +
           (reading.GainB ? DifferenceText(reading.Gain, *reading.GainB, decimalSeparator) : "");
}

} // namespace lobex
