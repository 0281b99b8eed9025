#include "PatternMesh.h"

#include "core/Texts.h"

#include <cmath>
#include <limits>

namespace lobex {
namespace {

const char* const kNotBuilt = "\r\n" LOBEX_TEXT("Трехмерная модель не построена.");

std::string Refusal(const char* reason) {
    return std::string(reason).append(kNotBuilt);
}

// Why the surface cannot be built from this grid; empty when it can.
std::string GridProblem(const FarFieldGrid& grid) {
    if (grid.size() < 2 || grid.front().Points.size() < 2) {
        return Refusal(
            LOBEX_TEXT("Входной файл содержит недостаточно данных для построения трехмерной "
                       "диаграммы."));
    }
    for (const AzimuthColumn& column : grid) {
        if (column.Points.size() != grid.front().Points.size()) {
            return Refusal(LOBEX_TEXT("Столбцы азимута содержат разное число точек."));
        }
    }
    // The model files count coordinates and face indices in 32 bits.
    const double columns = static_cast<double>(grid.size());
    const double points = static_cast<double>(grid.front().Points.size());
    const double limit = std::numeric_limits<std::uint32_t>::max();
    if (3.0 * columns * points > limit || 5.0 * (columns - 1) * (points - 1) + 1 > limit) {
        return kTooManyNodes;
    }
    return {};
}

} // namespace

float PatternGainAt(const PatternMesh& mesh, float radius) {
    if (!(mesh.PeakRadius > 0.0f) || !(radius > 0.0f)) {
        return kPatternFloor;
    }
    const double ratio = std::sqrt(std::sqrt(static_cast<double>(radius / mesh.PeakRadius)));
    return static_cast<float>(kPatternFloor + (mesh.PeakGain - kPatternFloor) * ratio);
}

bool BuildPatternVertices(const FarFieldGrid& grid, float piValue, PatternMesh& mesh,
                          std::string& refusal) {
    refusal = GridProblem(grid);
    if (!refusal.empty()) {
        return false;
    }
    const auto columns = static_cast<std::uint32_t>(grid.size());
    const auto points = static_cast<std::uint32_t>(grid.front().Points.size());
    std::vector<Vector3> vertices(static_cast<std::size_t>(points) * columns);

    // The z slot holds the gain, then the radius, then the height.
    float peak = kPatternFloor;
    bool belowHorizon = false;
    std::size_t k = 0;
    for (std::uint32_t i = 0; i < points; ++i) {
        for (std::uint32_t j = 0; j < columns; ++j, ++k) {
            const float gain = grid[j].Points[i].Total;
            if (gain > peak) {
                peak = gain;
            }
            belowHorizon =
                belowHorizon || (grid[j].Points[i].Zenith > 90.0f && gain > kPatternFloor);
            vertices[k].z = gain < kPatternFloor ? kPatternFloor : gain;
        }
    }
    const float span = std::fabs(peak - kPatternFloor);
    if (span == 0.0f) {
        refusal = Refusal(LOBEX_TEXT("Усиление диаграммы нигде не превышает -60 dBi."));
        return false;
    }
    for (Vector3& vertex : vertices) {
        const double ratio = (60.0 + vertex.z) / span;
        vertex.z = static_cast<float>(ratio * ratio * ratio * ratio);
    }

    // The sines and cosines of each azimuth, and of each zenith of column 0, are worked out once;
    // other columns share column 0's zeniths unless the file says otherwise.
    const double toRadians = static_cast<double>(piValue) / 180.0;
    struct Angle {
        double sine;
        double cosine;
    };
    auto angle = [toRadians](float degrees) {
        const double radians = degrees * toRadians;
        return Angle{std::sin(radians), std::cos(radians)};
    };
    std::vector<Angle> azimuths(columns);
    for (std::uint32_t j = 0; j < columns; ++j) {
        azimuths[j] = angle(grid[j].Azimuth);
    }
    k = 0;
    for (std::uint32_t i = 0; i < points; ++i) {
        const float firstZenith = grid.front().Points[i].Zenith;
        const Angle first = angle(firstZenith);
        for (std::uint32_t j = 0; j < columns; ++j, ++k) {
            const float zenith = grid[j].Points[i].Zenith;
            const Angle theta = zenith == firstZenith ? first : angle(zenith);
            const Angle& phi = azimuths[j];
            const double r = vertices[k].z;
            vertices[k].x = static_cast<float>(r * phi.cosine * theta.sine);
            vertices[k].y = static_cast<float>(r * phi.sine * theta.sine);
            vertices[k].z = static_cast<float>(r * theta.cosine);
        }
    }

    // Signed: the surface reaches exactly 1 along its most positive coordinate.
    float largest = vertices.front().x;
    for (const Vector3& vertex : vertices) {
        for (float coordinate : {vertex.x, vertex.y, vertex.z}) {
            if (coordinate > largest) {
                largest = coordinate;
            }
        }
    }
    if (!(largest > 0.0f)) {
        refusal = Refusal(LOBEX_TEXT("Диаграмма не имеет положительных координат."));
        return false;
    }
    for (Vector3& vertex : vertices) {
        vertex = vertex / largest;
    }

    mesh.PatternVertices = std::move(vertices);
    mesh.PeakGain = peak;
    mesh.PeakRadius = 1.0f / largest;
    mesh.ReachesBelowHorizon = belowHorizon;
    mesh.PointCount = points;
    mesh.ColumnCount = columns;
    mesh.PatternFaces.clear();
    mesh.PatternNormals.clear();
    return true;
}

void ComputePatternFaces(PatternMesh& mesh) {
    const std::uint32_t columns = mesh.ColumnCount;
    mesh.PatternFaces.assign(mesh.FaceCount(), PatternFace{});
    mesh.PatternNormals.assign(mesh.PatternVertices.size(), Vector3{});
    if (mesh.PatternFaces.empty()) {
        return;
    }
    std::size_t face = 0;
    for (std::uint32_t i = 0; i + 1 < mesh.PointCount; ++i) {
        for (std::uint32_t j = 0; j + 1 < columns; ++j, ++face) {
            PatternFace& f = mesh.PatternFaces[face];
            f.a = i * columns + j;
            f.b = f.a + columns;
            f.c = f.b + 1;
            f.d = f.a + 1;
            const Vector3 a = ToScene(mesh.PatternVertices[f.a]);
            const Vector3 b = ToScene(mesh.PatternVertices[f.b]);
            const Vector3 c = ToScene(mesh.PatternVertices[f.c]);
            const Vector3 d = ToScene(mesh.PatternVertices[f.d]);
            f.Normal = Vec3Normalize(Vec3Cross(d - b, a - c));
            for (std::uint32_t corner : {f.a, f.b, f.c, f.d}) {
                Vector3& normal = mesh.PatternNormals[corner];
                normal = Vec3Normalize(normal + f.Normal);
            }
        }
    }
}

} // namespace lobex
