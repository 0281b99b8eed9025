#include "PatternMetrics.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

namespace lobex {
namespace {

// Angles read from a file (3.6, 183.6 ...) and sums of them differ in the last bits; a
// thousandth of a degree is far below any grid step.
constexpr float kSameAngle = 1e-3f;

float Wrapped(float azimuth) {
    const float a = std::fmod(azimuth, 360.0f);
    return a < 0.0f ? a + 360.0f : a;
}

bool SameAzimuth(float a, float b) {
    const float d = Wrapped(a - b);
    return d < kSameAngle || 360.0f - d < kSameAngle;
}

bool NoRadiation(float gain) {
    return gain <= kNoRadiation;
}

// The maximum minus a gain, unless that gain is missing or MMANA's no-radiation value.
std::optional<float> Below(float maximum, const PatternPoint* point) {
    if (point == nullptr || NoRadiation(point->Total)) {
        return std::nullopt;
    }
    return maximum - point->Total;
}

// The grid's columns once round: a closed grid repeats its first azimuth, + 360, at the end.
std::vector<const AzimuthColumn*> ColumnsOnce(const FarFieldGrid& grid) {
    std::vector<const AzimuthColumn*> columns;
    for (const AzimuthColumn& column : grid) {
        if (columns.empty() || !SameAzimuth(column.Azimuth, columns.front()->Azimuth)) {
            columns.push_back(&column);
        }
    }
    return columns;
}

struct Directions {
    std::vector<const AzimuthColumn*> columns;
    std::size_t zenith = 0; // the index of the maximum's zenith in every column

    const AzimuthColumn* Column(float azimuth) const {
        for (const AzimuthColumn* column : columns) {
            if (SameAzimuth(column->Azimuth, azimuth)) {
                return column;
            }
        }
        return nullptr;
    }
    // The point at the maximum's zenith.
    const PatternPoint* At(float azimuth) const {
        const AzimuthColumn* column = Column(azimuth);
        return column != nullptr ? &column->Points[zenith] : nullptr;
    }
};

// Runs of equal gain with lower gains on both sides, within one stretch of the azimuth cut; the
// highest, the first on ties, as (gain, index of the run's middle).
void FindLocalMaximum(const std::vector<float>& gains, const std::vector<std::size_t>& stretch,
                      std::optional<std::pair<float, std::size_t>>& best) {
    std::size_t i = 1;
    while (i + 1 < stretch.size()) {
        const float here = gains[stretch[i]];
        std::size_t end = i;
        while (end + 1 < stretch.size() && gains[stretch[end + 1]] == here) {
            ++end;
        }
        if (end + 1 < stretch.size() && gains[stretch[i - 1]] < here &&
            gains[stretch[end + 1]] < here && (!best || here > best->first)) {
            best = std::pair{here, stretch[(i + end) / 2]};
        }
        i = end + 1;
    }
}

void MeasureSideLobe(const Directions& at, std::size_t maxColumn, PatternMetrics& metrics,
                     float maximum) {
    const std::size_t n = at.columns.size();
    std::vector<float> gains(n);
    for (std::size_t i = 0; i < n; ++i) {
        gains[i] = at.columns[i]->Points[at.zenith].Total;
    }
    const float firstStep = n > 1 ? at.columns[1]->Azimuth - at.columns[0]->Azimuth : 0.0f;
    const bool round =
        n > 2 && SameStep(at.columns[0]->Azimuth + 360.0f - at.columns[n - 1]->Azimuth, firstStep);
    const auto next = [&](std::size_t i) {
        return round ? (i + 1) % n : i + 1;
    };
    const auto previous = [&](std::size_t i) {
        return round ? (i + n - 1) % n : i - 1;
    };

    // The main lobe: down from the maximum to the first local minimum each way.
    std::size_t right = maxColumn;
    std::size_t forward = 0;
    while (forward + 1 < n && (round || right + 1 < n) && gains[next(right)] <= gains[right]) {
        right = next(right);
        ++forward;
    }
    std::size_t left = maxColumn;
    std::size_t backward = 0;
    while (forward + backward + 1 < n && (round || left > 0) &&
           gains[previous(left)] <= gains[left]) {
        left = previous(left);
        ++backward;
    }

    std::vector<std::vector<std::size_t>> stretches;
    if (round) {
        std::vector<std::size_t>& outside = stretches.emplace_back();
        for (std::size_t i = right, k = 0; k < n - forward - backward + 1; ++k, i = next(i)) {
            outside.push_back(i);
        }
    } else {
        std::vector<std::size_t>& after = stretches.emplace_back();
        for (std::size_t i = right; i < n; ++i) {
            after.push_back(i);
        }
        std::vector<std::size_t>& before = stretches.emplace_back();
        for (std::size_t i = 0; i <= left; ++i) {
            before.push_back(i);
        }
    }
    std::optional<std::pair<float, std::size_t>> best;
    for (const std::vector<std::size_t>& stretch : stretches) {
        FindLocalMaximum(gains, stretch, best);
    }
    if (best) {
        metrics.side_lobe_level = best->first - maximum;
        metrics.side_lobe_azimuth = at.columns[best->second]->Azimuth;
    }
}

// The -3 dB points of the elevation cut through the maximum's azimuth, either side of it.
void MeasureElevationBeam(const Directions& at, const std::vector<PatternPoint>& zeniths,
                          float azimuth, float maximum, PatternMetrics& metrics) {
    const AzimuthColumn* front = at.Column(azimuth);
    const AzimuthColumn* back = at.Column(azimuth + 180.0f);
    struct Point {
        float angle;
        float gain;
    };
    std::vector<Point> cut; // by rising angle: the front from its lowest elevation, then the back
    for (std::size_t z = zeniths.size(); z-- > 0;) {
        cut.push_back({90.0f - zeniths[z].Zenith, front->Points[z].Total});
    }
    const std::size_t top = cut.size() - 1 - at.zenith;
    if (back != nullptr) {
        for (std::size_t z = 0; z < zeniths.size(); ++z) {
            if (zeniths[z].Zenith > 0.0f) {
                cut.push_back({90.0f + zeniths[z].Zenith, back->Points[z].Total});
            }
        }
    }
    const float level = maximum - 3.0f;
    const auto edge = [&](std::ptrdiff_t step) -> std::optional<float> {
        const auto size = static_cast<std::ptrdiff_t>(cut.size());
        for (auto i = static_cast<std::ptrdiff_t>(top); i + step >= 0 && i + step < size;
             i += step) {
            const Point& inside = cut[static_cast<std::size_t>(i)];
            const Point& beyond = cut[static_cast<std::size_t>(i + step)];
            if (beyond.gain < level) {
                if (NoRadiation(beyond.gain)) {
                    return std::nullopt; // a crossing against "no radiation" is no edge
                }
                return inside.angle + (level - inside.gain) / (beyond.gain - inside.gain) *
                                          (beyond.angle - inside.angle);
            }
        }
        return std::nullopt;
    };
    metrics.elevation_beam_low = edge(-1);
    metrics.elevation_beam_high = edge(1);
    if (metrics.elevation_beam_low && metrics.elevation_beam_high) {
        metrics.elevation_beam_width = *metrics.elevation_beam_high - *metrics.elevation_beam_low;
    }
}

// 10^(gain/10), remembered by the gain's bits: a file's gains have two decimals, so a sphere of
// a quarter million points holds a few thousand different ones, and pow is the average's cost.
// Every slot starts as 0 dB, so a slot never read is still a true pair.
class LinearGains {
public:
    double Of(float gain) {
        const auto bits = std::bit_cast<std::uint32_t>(gain);
        Slot& slot = (*slots_)[(bits * 0x9E3779B1u) >> (32 - kSlotBits)];
        if (slot.bits != bits) {
            slot = {bits, std::pow(10.0, gain / 10.0)};
        }
        return slot.linear;
    }

private:
    static constexpr int kSlotBits = 14;
    struct Slot {
        std::uint32_t bits = 0;
        double linear = 1.0;
    };
    using Slots = std::array<Slot, std::size_t{1} << kSlotBits>;
    std::unique_ptr<Slots> slots_ = std::make_unique<Slots>();
};

// The sphere's average of the linear gain; none unless the grid covers zenith 0–90 or 0–180
// and the azimuths all round.
std::optional<float> AverageGain(const Directions& at, const std::vector<PatternPoint>& zeniths) {
    const std::vector<const AzimuthColumn*>& columns = at.columns;
    const float lastZenith = zeniths.back().Zenith;
    const bool overGround = std::fabs(lastZenith - 90.0f) < kSameAngle;
    const bool freeSpace = std::fabs(lastZenith - 180.0f) < kSameAngle;
    if (columns.size() < 2 || std::fabs(zeniths.front().Zenith) >= kSameAngle ||
        (!overGround && !freeSpace) || std::fabs(columns.front()->Azimuth) >= kSameAngle) {
        return std::nullopt;
    }
    std::vector<double> steps; // between neighbouring columns, the last back round to 360
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const double to = i + 1 < columns.size() ? columns[i + 1]->Azimuth : 360.0;
        steps.push_back(to - columns[i]->Azimuth);
    }
    const double widest = *std::max_element(steps.begin(), steps.end() - 1);
    if (*std::min_element(steps.begin(), steps.end()) <= 0.0 || steps.back() > widest * 1.001) {
        return std::nullopt; // out of order, or a gap before 360: not all round
    }
    constexpr double kRadian = std::numbers::pi / 180.0;
    std::vector<double> zenithWeights(zeniths.size());
    for (std::size_t k = 0; k < zeniths.size(); ++k) {
        const double from = zeniths[k > 0 ? k - 1 : k].Zenith;
        const double to = zeniths[k + 1 < zeniths.size() ? k + 1 : k].Zenith;
        zenithWeights[k] = std::sin(zeniths[k].Zenith * kRadian) * (to - from) / 2.0;
    }
    LinearGains linear;
    double sum = 0.0;
    double azimuthTotal = 0.0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const double weight = (steps[i] + steps[i > 0 ? i - 1 : steps.size() - 1]) / 2.0;
        azimuthTotal += weight;
        for (std::size_t k = 0; k < zeniths.size(); ++k) {
            const float gain = columns[i]->Points[k].Total;
            if (!NoRadiation(gain)) {
                sum += weight * zenithWeights[k] * linear.Of(gain);
            }
        }
    }
    // Over ground the lower half radiates nothing but counts in the sphere; the trapezoid's own
    // weights make the whole, so a uniform pattern averages to exactly its gain.
    double sphere = 0.0;
    for (double w : zenithWeights) {
        sphere += w;
    }
    sphere *= azimuthTotal * (overGround ? 2.0 : 1.0);
    if (sum <= 0.0) {
        return std::nullopt;
    }
    return static_cast<float>(10.0 * std::log10(sum / sphere));
}

} // namespace

PatternMetrics MeasurePattern(const FarFieldPattern& pattern) {
    PatternMetrics metrics;
    const FarFieldGrid& grid = pattern.grid;
    const PatternFigures& found = pattern.figures;
    if (grid.size() < 2 || !IsRegular(grid) || found.MaxGain <= PatternFigures{}.MaxGain) {
        return metrics; // no maximum above the search floor: nothing to measure against
    }
    const float maximum = found.MaxGain;
    const std::vector<PatternPoint>& zeniths = grid[0].Points;
    Directions at{ColumnsOnce(grid), 0};
    while (at.zenith < zeniths.size() &&
           std::fabs(zeniths[at.zenith].Zenith - (90.0f - found.MaxElevation)) >= kSameAngle) {
        ++at.zenith;
    }
    std::size_t maxColumn = 0;
    while (maxColumn < at.columns.size() &&
           !SameAzimuth(at.columns[maxColumn]->Azimuth, found.MaxAzimuth)) {
        ++maxColumn;
    }
    if (at.zenith == zeniths.size() || maxColumn == at.columns.size()) {
        return metrics;
    }
    const float azimuth = found.MaxAzimuth;

    metrics.front_to_back = Below(maximum, at.At(azimuth + 180.0f));
    const PatternPoint* rear = nullptr;
    for (const AzimuthColumn* column : at.columns) {
        const float off = Wrapped(column->Azimuth - azimuth);
        const PatternPoint& point = column->Points[at.zenith];
        if (off >= 90.0f - kSameAngle && off <= 270.0f + kSameAngle &&
            (rear == nullptr || point.Total > rear->Total)) {
            rear = &point;
        }
    }
    metrics.front_to_rear = Below(maximum, rear);
    const PatternPoint* left = at.At(azimuth - 90.0f);
    const PatternPoint* right = at.At(azimuth + 90.0f);
    if (left != nullptr && right != nullptr) {
        metrics.front_to_side = Below(maximum, left->Total >= right->Total ? left : right);
    }
    MeasureSideLobe(at, maxColumn, metrics, maximum);
    MeasureElevationBeam(at, zeniths, azimuth, maximum, metrics);
    metrics.average_gain = AverageGain(at, zeniths);
    if (metrics.average_gain) {
        metrics.directivity = maximum - *metrics.average_gain;
    }
    return metrics;
}

} // namespace lobex
