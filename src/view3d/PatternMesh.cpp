#include "PatternMesh.h"

#include "core/GainScale.h"
#include "core/Texts.h"

#include <algorithm>
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
    return static_cast<float>(RadiusToGain<double>(radius / mesh.PeakRadius, kPatternFloor,
                                                   mesh.PeakGain - kPatternFloor));
}

float SurfacePeakGain(const FarFieldGrid& grid) {
    float peak = kPatternFloor;
    for (const AzimuthColumn& column : grid) {
        for (const PatternPoint& point : column.Points) {
            peak = std::max(peak, point.Total);
        }
    }
    return peak;
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
    const float peak = SurfacePeakGain(grid);
    bool belowHorizon = false;
    std::size_t k = 0;
    for (std::uint32_t i = 0; i < points; ++i) {
        for (std::uint32_t j = 0; j < columns; ++j, ++k) {
            const float gain = grid[j].Points[i].Total;
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
        vertex.z = static_cast<float>(GainToRadius<double>(vertex.z, kPatternFloor, span));
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

namespace {

// How many steps of step degrees make up at most detail degrees; 1 when step is wider.
std::size_t Stride(float step, float detail) {
    if (!(step > 0.0f) || step >= detail) {
        return 1;
    }
    // A step written as 0.1 in the file is a little more or less than a tenth.
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(detail / step + 1e-3f)));
}

std::vector<std::size_t> Kept(std::size_t count, std::size_t stride, bool last) {
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < count; i += stride) {
        kept.push_back(i);
    }
    if (last && kept.back() != count - 1) {
        kept.push_back(count - 1);
    }
    return kept;
}

} // namespace

std::optional<FarFieldGrid> DrawnGrid(const FarFieldGrid& grid, float detailDegrees) {
    if (grid.size() < 2 || grid.front().Points.size() < 2 || !GridProblem(grid).empty()) {
        return std::nullopt;
    }
    const std::vector<PatternPoint>& first = grid.front().Points;
    const std::size_t rowStride =
        Stride(std::fabs(first[1].Zenith - first[0].Zenith), detailDegrees);
    const std::size_t columnStride =
        Stride(std::fabs(grid[1].Azimuth - grid[0].Azimuth), detailDegrees);
    if (rowStride == 1 && columnStride == 1) {
        return std::nullopt;
    }
    // A closed grid ends in a copy of its first column at 360 degrees: the columns round the
    // seam are neighbours, and the copy is made again from the new first column.
    const bool closed = std::fabs(grid.back().Azimuth - grid.front().Azimuth - 360.0f) < 1e-3f;
    const std::size_t columns = closed ? grid.size() - 1 : grid.size();
    const std::size_t rows = first.size();
    const auto rowReach = static_cast<std::ptrdiff_t>(rowStride / 2);
    const auto columnReach = static_cast<std::ptrdiff_t>(columnStride / 2);

    FarFieldGrid drawn;
    const std::vector<std::size_t> keptRows = Kept(rows, rowStride, true);
    for (const std::size_t j : Kept(columns, columnStride, !closed)) {
        AzimuthColumn& column = drawn.emplace_back();
        column.Azimuth = grid[j].Azimuth;
        column.Points.reserve(keptRows.size());
        for (const std::size_t i : keptRows) {
            PatternPoint point = grid[j].Points[i];
            for (std::ptrdiff_t dj = -columnReach; dj <= columnReach; ++dj) {
                auto near = static_cast<std::ptrdiff_t>(j) + dj;
                if (closed) {
                    near = (near + static_cast<std::ptrdiff_t>(columns)) %
                           static_cast<std::ptrdiff_t>(columns);
                } else if (near < 0 || near >= static_cast<std::ptrdiff_t>(columns)) {
                    continue;
                }
                const std::vector<PatternPoint>& points =
                    grid[static_cast<std::size_t>(near)].Points;
                const auto top = static_cast<std::ptrdiff_t>(i);
                for (std::ptrdiff_t di = std::max<std::ptrdiff_t>(0, top - rowReach);
                     di <= std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(rows) - 1,
                                                    top + rowReach);
                     ++di) {
                    const PatternPoint& other = points[static_cast<std::size_t>(di)];
                    point.Vertical = std::max(point.Vertical, other.Vertical);
                    point.Horizontal = std::max(point.Horizontal, other.Horizontal);
                    point.Total = std::max(point.Total, other.Total);
                }
            }
            column.Points.push_back(point);
        }
    }
    if (closed) {
        drawn.push_back(AzimuthColumn{grid.back().Azimuth, drawn.front().Points});
    }
    return drawn;
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
