#include "NecOutput.h"

#include "Impedance.h"
#include "PatternMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <tuple>
#include <utility>

namespace lobex {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// NEC prints its null as -999.99 and MMANA as -999; anything at or below it is "no radiation".
constexpr float kNecNull = -999.0f;

} // namespace

std::array<std::array<double, 3>, 2> SegmentEnds(const NecSegment& segment) {
    const double half = segment.length / 2.0;
    const double a = segment.alpha * kDegree;
    const double b = segment.beta * kDegree;
    const double dx = half * std::cos(a) * std::cos(b);
    const double dy = half * std::cos(a) * std::sin(b);
    const double dz = half * std::sin(a);
    return {{{segment.x - dx, segment.y - dy, segment.z - dz},
             {segment.x + dx, segment.y + dy, segment.z + dz}}};
}

float NecGain(float printed) {
    return printed <= kNecNull ? kNoRadiation : printed;
}

namespace {

// A pattern line's direction, in hundredths of a degree, and its place in the file.
struct DirectedPoint {
    long phi = 0;
    long theta = 0;
    std::size_t line = 0;
    PatternPoint point;
};

// One phi's points by rising theta: a run of the sorted points, and the zenith or nadir it may
// borrow from the column across the axis.
struct NecColumn {
    long phi = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    const DirectedPoint* zenith = nullptr;
    const DirectedPoint* nadir = nullptr;

    const DirectedPoint& Front(const std::vector<DirectedPoint>& points) const {
        return zenith != nullptr ? *zenith : points[begin];
    }
    const DirectedPoint& Back(const std::vector<DirectedPoint>& points) const {
        return nadir != nullptr ? *nadir : points[end - 1];
    }
    bool Has(const std::vector<DirectedPoint>& points, long theta) const {
        return (theta == 0 ? Front(points).theta : Back(points).theta) == theta;
    }
};

// std::lround for the angles kept (at most 1e8 in size), without the library call each: the
// fraction a truncation leaves is exact, and a half rounds away from zero.
long RoundedKey(double x) {
    long rounded = static_cast<long>(x);
    const double fraction = x - static_cast<double>(rounded);
    if (fraction >= 0.5) {
        ++rounded;
    } else if (fraction <= -0.5) {
        --rounded;
    }
    return rounded;
}

} // namespace

std::optional<FarFieldPattern> PatternFromNec(const std::vector<NecPatternLine>& lines) {
    // Keys in hundredths of a degree: NEC prints its angles with two decimals.
    const auto key = [](float angle) {
        return RoundedKey(static_cast<double>(angle) * 100.0);
    };
    std::vector<DirectedPoint> directed;
    directed.reserve(lines.size());
    for (const NecPatternLine& line : lines) {
        if (!std::isfinite(line.theta) || !std::isfinite(line.phi) ||
            std::fabs(line.theta) > 1.0e6f || std::fabs(line.phi) > 1.0e6f) {
            continue;
        }
        long theta = key(line.theta);
        long phi = key(line.phi);
        theta = ((theta % 36000) + 36000) % 36000;
        if (theta > 18000) {
            // Past the nadir: the same direction seen from the other side of the axis.
            theta = 36000 - theta;
            phi += 18000;
        }
        if (phi < 0 || phi > 36000) {
            phi = ((phi % 36000) + 36000) % 36000;
        }
        PatternPoint point{static_cast<float>(theta) / 100.0f, NecGain(line.first),
                           NecGain(line.second), NecGain(line.total)};
        directed.push_back({phi, theta, directed.size(), point});
    }
    // By direction, a direction printed twice keeping its first line: sorted once rather than
    // a tree node per line, which cost a large sweep most of its reading.
    const auto before = [](const DirectedPoint& a, const DirectedPoint& b) {
        return std::tie(a.phi, a.theta, a.line) < std::tie(b.phi, b.theta, b.line);
    };
    // nec2c and NEC-2D print phi by phi, theta rising: mostly in order already.
    if (!std::is_sorted(directed.begin(), directed.end(), before)) {
        std::sort(directed.begin(), directed.end(), before);
    }
    directed.erase(std::unique(directed.begin(), directed.end(),
                               [](const DirectedPoint& a, const DirectedPoint& b) {
                                   return a.phi == b.phi && a.theta == b.theta;
                               }),
                   directed.end());
    std::vector<NecColumn> columns;
    for (std::size_t i = 0; i < directed.size(); ++i) {
        if (columns.empty() || columns.back().phi != directed[i].phi) {
            columns.push_back(NecColumn{directed[i].phi, i, i, nullptr, nullptr});
        }
        columns.back().end = i + 1;
    }
    const auto columnAt = [&columns](long phi) -> const NecColumn* {
        const auto found = std::lower_bound(
            columns.begin(), columns.end(), phi,
            [](const NecColumn& column, long wanted) { return column.phi < wanted; });
        return found != columns.end() && found->phi == phi ? &*found : nullptr;
    };
    // The zenith and the nadir are one direction each: a column that lacks one (a cut printed
    // from theta 90 to -90 reaches the zenith only at its own phi) takes it from the column
    // across the axis, whose gains at that point are the same. Column by column, a pole taken
    // counting as the column's own for the columns after it.
    for (NecColumn& column : columns) {
        for (const long pole : {0L, 18000L}) {
            if (column.Has(directed, pole)) {
                continue;
            }
            for (const long across : {column.phi + 18000, column.phi - 18000}) {
                const NecColumn* other = columnAt(across);
                if (other != nullptr && other->Has(directed, pole)) {
                    if (pole == 0) {
                        column.zenith = &other->Front(directed);
                    } else {
                        column.nadir = &other->Back(directed);
                    }
                    break;
                }
            }
        }
    }
    FarFieldPattern pattern;
    pattern.grid.reserve(columns.size() + 1);
    for (const NecColumn& column : columns) {
        AzimuthColumn grid{static_cast<float>(column.phi) / 100.0f, {}};
        grid.Points.reserve(column.end - column.begin + (column.zenith != nullptr ? 1 : 0) +
                            (column.nadir != nullptr ? 1 : 0));
        if (column.zenith != nullptr) {
            grid.Points.push_back(column.zenith->point);
        }
        for (std::size_t i = column.begin; i < column.end; ++i) {
            grid.Points.push_back(directed[i].point);
        }
        if (column.nadir != nullptr) {
            grid.Points.push_back(column.nadir->point);
        }
        pattern.grid.push_back(std::move(grid));
    }
    if (pattern.grid.size() < 2 || !IsRegular(pattern.grid)) {
        return std::nullopt;
    }
    const float first = pattern.grid.front().Azimuth;
    const float last = pattern.grid.back().Azimuth;
    if (first + 360.0f != last && SameStep(pattern.grid[1].Azimuth - first, 360.0f - last)) {
        pattern.grid.push_back(AzimuthColumn{first + 360.0f, pattern.grid.front().Points});
    }
    pattern.figures = MaximumAndBeam(pattern.grid).value_or(PatternFigures{});
    return pattern;
}

int ShownNecFrequency(const NecOutput& output, double mhz) {
    return mhz > 0.0 ? NearestFrequency(output, mhz) : (output.frequencies.empty() ? -1 : 0);
}

int NearestFrequency(const NecOutput& output, double mhz) {
    int best = -1;
    double distance = 0.0;
    for (std::size_t i = 0; i < output.frequencies.size(); ++i) {
        const double d = std::fabs(output.frequencies[i].mhz - mhz);
        if (best < 0 || d < distance) {
            best = static_cast<int>(i);
            distance = d;
        }
    }
    return best;
}

Sweep NecSweep(const NecOutput& output, double z0) {
    Sweep sweep;
    char swr[32];
    std::snprintf(swr, sizeof swr, "SWR(%.1fOm)", z0);
    sweep.header = {"Freq(MHz)", "R(Om)", "jX(Om)", swr, "Ga(dBi)", "F/B(dB)"};
    for (const NecFrequency& frequency : output.frequencies) {
        if (frequency.sources.empty()) {
            continue;
        }
        SweepPoint point;
        point.frequency = static_cast<float>(frequency.mhz);
        const std::complex<double> z = frequency.sources.front().impedance;
        point.impedance = std::complex<float>(z);
        if (const Checked<Reflection> reflection = Reflect(z, z0)) {
            point.swr = static_cast<float>(reflection.value->swr);
        }
        if (frequency.pattern) {
            point.gain = frequency.pattern->figures.MaxGain;
            point.frontToBack = MeasurePattern(*frequency.pattern).front_to_back.value_or(0.0f);
        }
        sweep.points.push_back(point);
    }
    return sweep;
}

int NecPatternCount(const NecOutput& output) {
    return static_cast<int>(std::ranges::count_if(
        output.frequencies, [](const NecFrequency& f) { return f.pattern.has_value(); }));
}

std::optional<float> NecPeakGain(const NecOutput& output) {
    std::optional<float> peak;
    for (const NecFrequency& frequency : output.frequencies) {
        if (!frequency.pattern) {
            continue;
        }
        for (const AzimuthColumn& column : frequency.pattern->grid) {
            for (const PatternPoint& point : column.Points) {
                if (!peak || point.Total > *peak) {
                    peak = point.Total;
                }
            }
        }
    }
    return peak;
}

std::optional<double> NecLargestCurrent(const NecOutput& output) {
    std::optional<double> largest;
    for (const NecFrequency& frequency : output.frequencies) {
        for (const NecCurrent& segment : frequency.currents) {
            largest = std::max(largest.value_or(0.0), static_cast<double>(segment.magnitude));
        }
    }
    return largest;
}

WireCurrents NecWireCurrents(const NecFrequency& frequency) {
    WireCurrents currents;
    const double scale =
        frequency.currentsInWavelengths && frequency.wavelength > 0.0 ? frequency.wavelength : 1.0;
    for (const NecCurrent& segment : frequency.currents) {
        const double number = segment.tag;
        auto wire = std::ranges::find(currents.wires, number, &Wire::number);
        if (wire == currents.wires.end()) {
            currents.wires.push_back(Wire{number, {}, WireFault::None});
            wire = currents.wires.end() - 1;
        }
        wire->pulses.push_back({segment.x * scale, segment.y * scale, segment.z * scale, segment.re,
                                segment.im, segment.magnitude, segment.phase});
        currents.lastWire = std::max(currents.lastWire, number);
    }
    return currents;
}

NearField NecNearFieldLines(const NecNearField& field) {
    NearField lines;
    lines.electric = field.electric;
    for (const NecFieldPoint& at : field.points) {
        auto line = std::ranges::find_if(lines.lines, [&at](const NearFieldLine& known) {
            return known.y == at.y && known.z == at.z;
        });
        if (line == lines.lines.end()) {
            lines.lines.push_back(NearFieldLine{at.y, at.z, {}});
            line = lines.lines.end() - 1;
        }
        NearFieldPoint point;
        point.X = static_cast<float>(at.x);
        std::array<float, 3> re{};
        std::array<float, 3> im{};
        for (std::size_t c = 0; c < 3; ++c) {
            const double phase = at.phase[c] * kDegree;
            re[c] = static_cast<float>(at.magnitude[c] * std::cos(phase));
            im[c] = static_cast<float>(at.magnitude[c] * std::sin(phase));
        }
        point.ReX = re[0];
        point.ImX = im[0];
        point.MagX = at.magnitude[0];
        point.PhaseX = at.phase[0];
        point.ReY = re[1];
        point.ImY = im[1];
        point.MagY = at.magnitude[1];
        point.PhaseY = at.phase[1];
        point.ReZ = re[2];
        point.ImZ = im[2];
        point.MagZ = at.magnitude[2];
        point.PhaseZ = at.phase[2];
        point.ReSum = re[0] + re[1] + re[2];
        point.ImSum = im[0] + im[1] + im[2];
        point.Amplitude = FieldMagnitude(point);
        point.PhaseRad = SummedPhase(point.ReSum, point.ImSum);
        line->points.push_back(point);
    }
    return lines;
}

} // namespace lobex
