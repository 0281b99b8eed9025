#include "CompareOverlay.h"

#include "GraphCommands.h"
#include "core/FarField.h"
#include "core/GainScale.h"
#include "core/LoadFlow.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <variant>

namespace lobex {
namespace {

constexpr std::array<int, 3> kLeftColour = {255, 0, 0};
constexpr std::array<int, 3> kRightColour = {0, 0, 255};

// The results in legend order: the one on show first, then the compared ones.
struct Drawn {
    std::string label;
    std::shared_ptr<const Result> result;
};

std::vector<Drawn> DrawnResults(const AppState& state) {
    std::vector<Drawn> drawn{{state.Compare.ShownLabel, state.Loaded.Shown}};
    for (const ComparedResult& compared : state.Compare.Results) {
        if (compared.Document != nullptr && drawn.size() < kResultLines.size()) {
            drawn.push_back({compared.Label, compared.Document});
        }
    }
    return drawn;
}

OverlayCurve Curve(std::vector<float> x, std::vector<float> y, std::size_t result, bool right,
                   const std::string& legend) {
    const ResultLine& line = kResultLines[result];
    return {std::move(x),  std::move(y), right ? kRightColour : kLeftColour,
            line.lineType, line.width,   legend};
}

// The style commands of every curve, in order. Up to eight results' curves stroked with
// round joins would take the diagram several times as long as one result's.
std::string StyleCommands(const std::vector<OverlayCurve>& curves) {
    std::string commands = "[FastLines(1)]";
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const OverlayCurve& curve = curves[c];
        const std::string n = std::to_string(c + 1);
        commands += graphs::Command("Color", {n, std::to_string(curve.color[0]),
                                              std::to_string(curve.color[1]),
                                              std::to_string(curve.color[2])});
        commands += graphs::Command("LineType", {n, std::to_string(curve.lineType)});
        commands +=
            graphs::Command("LineWidth", {n, std::to_string(static_cast<int>(curve.width))});
        if (!curve.legend.empty()) {
            commands += "[Legend(" + n + "," + graphs::Quoted(curve.legend) + ")]";
        }
    }
    return commands;
}

void Extend(float& lo, float& hi, const std::vector<float>& values) {
    for (const float value : values) {
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
}

} // namespace

std::optional<OverlayLimits> RectangularOverlay(const AppState& state, int left, int right,
                                                PlotOverlay& overlay) {
    if (state.Compare.Results.empty() || left < 1 || !graphs::IsSeriesColumn(left) ||
        !graphs::IsSeriesColumn(right)) {
        return std::nullopt;
    }
    const DataSet& shown = state.Loaded.Data;
    const auto column = [](const DataSet& data, int c) -> const SeriesRecord& {
        return data.Series[static_cast<std::size_t>(c)];
    };
    OverlayLimits limits{column(shown, 0).Min,     column(shown, 0).Max,
                         column(shown, left).Min,  column(shown, left).Max,
                         column(shown, right).Min, column(shown, right).Max};
    LoadRequest request;
    request.set = shown.SelectedSetIndex;
    request.decimalSeparator = state.DecimalSeparator;
    request.pi = state.PiValue;
    std::vector<OverlayCurve> lefts;
    std::vector<OverlayCurve> rights;
    const std::vector<Drawn> drawn = DrawnResults(state);
    for (std::size_t r = 0; r < drawn.size(); ++r) {
        // The one on show as its graph shows it; the others derived as a load of theirs would.
        LoadResult derived;
        const DataSet* data = &shown;
        if (r > 0) {
            derived = DeriveLoad(drawn[r].result, request);
            if (!derived.loaded) {
                continue;
            }
            data = &derived.data;
            Extend(limits.xlo, limits.xhi, column(*data, 0).Values);
            Extend(limits.ylo, limits.yhi, column(*data, left).Values);
            Extend(limits.y2lo, limits.y2hi, column(*data, right).Values);
        }
        const std::vector<float>& x = column(*data, 0).Values;
        const std::size_t n = std::min(x.size(), column(*data, left).Values.size());
        if (n == 0) {
            continue;
        }
        const auto values = [&](int c) {
            std::vector<float> y = column(*data, c).Values;
            y.resize(n, y.empty() ? 0.0f : y.back());
            return y;
        };
        const std::vector<float> xs(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
        lefts.push_back(Curve(xs, values(left), r, false, drawn[r].label));
        if (right != 0) {
            rights.push_back(Curve(xs, values(right), r, true, {}));
        }
    }
    overlay.curves = std::move(lefts);
    const std::size_t firstRight = overlay.curves.size() + 1;
    overlay.curves.insert(overlay.curves.end(), rights.begin(), rights.end());
    overlay.commands = StyleCommands(overlay.curves);
    if (right != 0) {
        overlay.commands +=
            graphs::Command("MultipleYAxes", {"2", std::to_string(firstRight), "0"});
    }
    return limits;
}

namespace {

// The gains of one cut in one column (1 vertical, 2 horizontal, 3 total), in angle order.
struct CutGains {
    std::vector<float> angles;
    std::vector<float> gains;
};

float GainOf(const PatternPoint& point, int column) {
    return column == 1 ? point.Vertical : column == 2 ? point.Horizontal : point.Total;
}

std::optional<PatternCut> CutOf(const FarFieldPattern& pattern, int area, float elevation) {
    if (area == kAzimuthSlot) {
        return AzimuthCut(pattern.grid, elevation);
    }
    std::optional<PatternCut> cut = ElevationCut(pattern.grid, 0.0f);
    if (cut) {
        // In angle order the line runs round in one sweep (as the diagram of the one on show).
        std::stable_sort(cut->points.begin(), cut->points.end(),
                         [](const CutPoint& a, const CutPoint& b) { return a.angle < b.angle; });
    }
    return cut;
}

CutGains GainsOf(const PatternCut& cut, int column, float offset, float floor) {
    CutGains gains;
    for (const CutPoint& point : cut.points) {
        gains.angles.push_back(point.angle);
        gains.gains.push_back(std::max(GainOf(point.gain, column) - offset, floor));
    }
    return gains;
}

} // namespace

bool PolarOverlay(const AppState& state, int left, int right, int area, PlotOverlay& overlay) {
    if (state.Compare.Results.empty() || left < 1 || left > 3 || right < 0 || right > 3 ||
        (area != kAzimuthSlot && area != kElevationSlot)) {
        return false;
    }
    const float floor = state.Loaded.Pattern.PlotFloor;
    const float elevation = CutElevation(state);
    const bool normalise = state.Compare.Normalise;
    struct Gains {
        std::size_t result;
        std::string label;
        CutGains left;
        std::optional<CutGains> right;
    };
    std::vector<Gains> all;
    float top = normalise ? 0.0f : state.Loaded.Pattern.MaxGain;
    const std::vector<Drawn> drawn = DrawnResults(state);
    for (std::size_t r = 0; r < drawn.size(); ++r) {
        const auto* pattern = drawn[r].result != nullptr
                                  ? std::get_if<FarFieldPattern>(drawn[r].result.get())
                                  : nullptr;
        if (pattern == nullptr) {
            continue;
        }
        const std::optional<PatternCut> cut = CutOf(*pattern, area, elevation);
        if (!cut || cut->points.empty()) {
            continue;
        }
        const float offset = normalise ? pattern->figures.MaxGain : 0.0f;
        Gains gains{r, drawn[r].label, GainsOf(*cut, left, offset, floor), std::nullopt};
        if (!normalise) {
            top = std::max(top, pattern->figures.MaxGain);
        }
        const auto raise = [&top](const CutGains& part) {
            top = std::max(top, *std::max_element(part.gains.begin(), part.gains.end()));
        };
        raise(gains.left);
        if (right != 0) {
            gains.right = GainsOf(*cut, right, offset, floor);
            raise(*gains.right);
        }
        all.push_back(std::move(gains));
    }
    const float span = top - floor;
    const auto radii = [&](const CutGains& cut) {
        std::vector<float> r(cut.gains.size());
        std::transform(cut.gains.begin(), cut.gains.end(), r.begin(),
                       [&](float gain) { return GainToRadius(gain, floor, span); });
        return r;
    };
    overlay.curves.clear();
    for (const Gains& gains : all) {
        overlay.curves.push_back(
            Curve(gains.left.angles, radii(gains.left), gains.result, false, gains.label));
        if (gains.right) {
            overlay.curves.push_back(
                Curve(gains.right->angles, radii(*gains.right), gains.result, true, {}));
        }
    }
    overlay.commands = StyleCommands(overlay.curves);
    const float shownMaximum = normalise ? 0.0f : state.Loaded.Pattern.MaxGain;
    overlay.beamRadius = GainToRadius(shownMaximum - 3.0f, floor, span);
    return !overlay.curves.empty();
}

} // namespace lobex
