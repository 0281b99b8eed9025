#include "CurrentPaths.h"

#include "GainColours.h"
#include "core/TextRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lobex {

CurrentWires CurrentWiresOf(const WireCurrents& currents) {
    CurrentWires wires;
    for (const Wire& wire : currents.wires) {
        if (wire.fault != WireFault::None || wire.pulses.empty()) {
            continue;
        }
        CurrentWire shown;
        shown.Name = FormatPattern(wire.number, "#0.###", ".");
        for (const CurrentPulse& pulse : wire.pulses) {
            // Magnitude and phase, as the table shows them: re and im carry fewer digits.
            const double phase = static_cast<double>(pulse.phase) * std::numbers::pi / 180.0;
            shown.Points.push_back({pulse.x, pulse.y, pulse.z,
                                    std::polar(static_cast<double>(pulse.magnitude), phase)});
        }
        wires.push_back(std::move(shown));
    }
    return wires;
}

CurrentWires ShownCurrents(const Result& result, double necMhz) {
    if (const auto* currents = std::get_if<WireCurrents>(&result)) {
        return CurrentWiresOf(*currents);
    }
    const NecFrequency* shown = ShownNecFrequency(result, necMhz);
    return shown != nullptr ? CurrentWiresOf(NecWireCurrents(*shown)) : CurrentWires{};
}

double LargestCurrent(const CurrentWires& wires) {
    double largest = 0.0;
    for (const CurrentWire& wire : wires) {
        for (const CurrentPoint& point : wire.Points) {
            largest = std::max(largest, std::abs(point.Current));
        }
    }
    return largest;
}

CurrentUnit ChooseCurrentUnit(double largest) {
    return largest < 1.0 ? CurrentUnit{1000.0, kMilliampere} : CurrentUnit{1.0, kAmpere};
}

double InstantaneousCurrent(std::complex<double> current, double omegaT) {
    return std::abs(current) * std::cos(omegaT + std::arg(current));
}

float CurrentFraction(double value, double largest, bool symmetric) {
    if (!(largest > 0.0) || std::isnan(value)) {
        return symmetric ? 0.5f : 0.0f;
    }
    const double fraction = symmetric ? 0.5 + value / (2.0 * largest) : value / largest;
    return static_cast<float>(std::clamp(fraction, 0.0, 1.0));
}

namespace {

// 1, 2 or 5 times a power of ten, the first not below span / 5.
double RoundStep(double span) {
    const double rough = span / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough * (1.0 - 1e-9)) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

} // namespace

CurrentLegend CurrentLegendFor(double largest, bool symmetric, std::string_view decimalSeparator) {
    const CurrentUnit unit = ChooseCurrentUnit(largest);
    CurrentLegend legend{unit.Text, {}};
    const double top = largest * unit.PerAmpere;
    const double bottom = symmetric ? -top : 0.0;
    const auto tick = [&](double value) {
        const double fraction = top > bottom ? (value - bottom) / (top - bottom) : 1.0;
        legend.Ticks.push_back(
            {static_cast<float>(fraction), FormatPattern(value, "#0.0#", decimalSeparator)});
    };
    tick(top);
    if (top > 0.0) {
        const double step = RoundStep(top - bottom);
        // Round values between, not too close to either end to be read apart.
        for (double value = std::floor(top / step) * step; value > bottom; value -= step) {
            if (top - value >= step / 2 && value - bottom >= step / 2) {
                tick(std::fabs(value) < step / 1e6 ? 0.0 : value);
            }
        }
        tick(bottom);
    }
    return legend;
}

std::vector<std::vector<Vector3>> CurrentScenePaths(const CurrentWires& wires) {
    double smallest = 0.0;
    double largest = 0.0;
    bool first = true;
    for (const CurrentWire& wire : wires) {
        for (const CurrentPoint& point : wire.Points) {
            for (const double coordinate : {point.X, point.Y, point.Z}) {
                smallest = first ? coordinate : std::min(smallest, coordinate);
                largest = first ? coordinate : std::max(largest, coordinate);
                first = false;
            }
        }
    }
    // Points that all coincide have no range to scale by: they stay where they are.
    const double extent = largest - smallest;
    const double scale = extent > 0.0 ? 1.5 / extent : 1.0;
    std::vector<std::vector<Vector3>> paths;
    paths.reserve(wires.size());
    for (const CurrentWire& wire : wires) {
        std::vector<Vector3>& path = paths.emplace_back();
        path.reserve(wire.Points.size());
        for (const CurrentPoint& point : wire.Points) {
            path.push_back({static_cast<float>(point.Y * scale),
                            static_cast<float>(point.Z * scale),
                            static_cast<float>(point.X * scale)});
        }
    }
    return paths;
}

namespace {

// A unit vector square to direction.
Vector3 SquareTo(Vector3 direction) {
    const Vector3 away = std::fabs(direction.x) < 0.6f   ? Vector3{1.0f, 0.0f, 0.0f}
                         : std::fabs(direction.y) < 0.6f ? Vector3{0.0f, 1.0f, 0.0f}
                                                         : Vector3{0.0f, 0.0f, 1.0f};
    return Vec3Normalize(Vec3Cross(direction, away));
}

void AddBall(MeshData& mesh, Vector3 centre, float radius, float index) {
    MeshData ball = CreateSphereMesh(radius, kCurrentTubeSides, kCurrentTubeSides / 2 + 1);
    const auto base = static_cast<std::uint32_t>(mesh.Vertices.size());
    for (MeshVertex vertex : ball.Vertices) {
        vertex.Position = vertex.Position + centre;
        vertex.Tv = index;
        mesh.Vertices.push_back(vertex);
    }
    for (const std::uint32_t corner : ball.Indices) {
        mesh.Indices.push_back(base + corner);
    }
}

void AddTube(MeshData& mesh, const std::vector<Vector3>& path, float radius, float firstIndex) {
    const std::size_t count = path.size();
    const auto base = static_cast<std::uint32_t>(mesh.Vertices.size());
    Vector3 tangent{0.0f, 1.0f, 0.0f};
    Vector3 side;
    for (std::size_t i = 0; i < count; ++i) {
        // Along the wire at each point: from the point before to the point after; where they
        // coincide (a wire folding back) the direction before is kept.
        const Vector3 along = path[std::min(i + 1, count - 1)] - path[i == 0 ? 0 : i - 1];
        if (Vec3Length(along) > 0.0f) {
            tangent = Vec3Normalize(along);
        }
        // The ring turns no more than the wire does, so the tube does not twist.
        const Vector3 carried = side - tangent * Vec3Dot(side, tangent);
        side = Vec3Length(carried) > 1e-3f ? Vec3Normalize(carried) : SquareTo(tangent);
        const Vector3 up = Vec3Cross(tangent, side);
        for (int k = 0; k < kCurrentTubeSides; ++k) {
            const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k) /
                                static_cast<float>(kCurrentTubeSides);
            const Vector3 out = side * std::cos(angle) + up * std::sin(angle);
            MeshVertex vertex;
            vertex.Position = path[i] + out * radius;
            vertex.Normal = out;
            vertex.Tv = firstIndex + static_cast<float>(i);
            mesh.Vertices.push_back(vertex);
        }
    }
    const auto sides = static_cast<std::uint32_t>(kCurrentTubeSides);
    for (std::uint32_t i = 0; i + 1 < count; ++i) {
        for (std::uint32_t k = 0; k < sides; ++k) {
            const std::uint32_t a = base + i * sides + k;
            const std::uint32_t b = base + i * sides + (k + 1) % sides;
            const std::uint32_t c = a + sides;
            const std::uint32_t d = b + sides;
            mesh.Indices.insert(mesh.Indices.end(), {a, c, b, b, c, d});
        }
    }
}

} // namespace

MeshData CurrentTubeMesh(const std::vector<std::vector<Vector3>>& paths, float radius) {
    MeshData mesh;
    mesh.VertexFormat = kFvfPositionNormalTexture;
    float index = 0.0f;
    for (const std::vector<Vector3>& path : paths) {
        if (path.size() == 1) {
            AddBall(mesh, path.front(), 2.0f * radius, index);
        } else if (path.size() > 1) {
            AddTube(mesh, path, radius, index);
        }
        index += static_cast<float>(path.size());
    }
    mesh.Attributes.assign(mesh.FaceCount(), 0);
    return mesh;
}

std::vector<float> CurrentColourCoordinates(const CurrentWires& wires, bool instantaneous,
                                            double omegaT, std::optional<double> scaleTop) {
    const double largest = scaleTop.value_or(LargestCurrent(wires));
    std::vector<float> coordinates;
    for (const CurrentWire& wire : wires) {
        for (const CurrentPoint& point : wire.Points) {
            const double value = instantaneous ? InstantaneousCurrent(point.Current, omegaT)
                                               : std::abs(point.Current);
            coordinates.push_back((CurrentFraction(value, largest, instantaneous) - 1.0f) *
                                  kDefaultGainRangeDb);
        }
    }
    return coordinates;
}

std::optional<CurrentPick> PickCurrentPoint(const std::vector<std::vector<Vector3>>& paths,
                                            const ViewTransform& transform, float x, float y,
                                            float maxPixels) {
    if (transform.Width <= 0 || transform.Height <= 0) {
        return std::nullopt;
    }
    const Matrix all =
        MatrixMultiply(MatrixMultiply(transform.World, transform.View), transform.Projection);
    std::optional<CurrentPick> nearest;
    float best = maxPixels * maxPixels;
    for (std::size_t w = 0; w < paths.size(); ++w) {
        for (std::size_t p = 0; p < paths[w].size(); ++p) {
            const Vector3 placed = Vec3TransformCoord(paths[w][p], all);
            if (placed.z < 0.0f || placed.z > 1.0f) {
                continue; // behind the camera or beyond the far plane
            }
            const float dx = (placed.x + 1.0f) / 2.0f * static_cast<float>(transform.Width) - x;
            const float dy = (1.0f - placed.y) / 2.0f * static_cast<float>(transform.Height) - y;
            const float distance = dx * dx + dy * dy;
            if (distance <= best) {
                best = distance;
                nearest = CurrentPick{w, p};
            }
        }
    }
    return nearest;
}

std::string CurrentReadingText(const CurrentWires& wires, CurrentPick pick, const CurrentUnit& unit,
                               std::string_view decimalSeparator,
                               const CurrentReadingWords& words) {
    const CurrentWire& wire = wires.at(pick.Wire);
    const std::complex<double> current = wire.Points.at(pick.Point).Current;
    const double degrees = std::arg(current) * 180.0 / std::numbers::pi;
    return std::string(words.Wire) + " " + wire.Name + ", " + std::string(words.Point) + " " +
           std::to_string(pick.Point + 1) + ": " +
           FormatPattern(std::abs(current) * unit.PerAmpere, "#0.00###", decimalSeparator) + " " +
           std::string(words.Unit) + ", " + std::string(words.Phase) + " " +
           FormatPattern(degrees, "#0.0#", decimalSeparator) + "°";
}

} // namespace lobex
