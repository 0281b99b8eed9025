#include "FarField.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"

#include <array>
#include <cmath>
#include <new>

namespace lobex {
namespace {

// The grid table lists each zenith twice (2Z + 1 rows), and the grid counts rows in 16 bits.
constexpr std::size_t kMaxPointsPerColumn = (kGridRowLimit + 1) / 2;

struct TooManyNodes {};

// The lowest level a polar cut draws.
constexpr float kPlotFloor = -60.0f;

// Zenith, azimuth, vertical, horizontal and total gain; further fields are ignored.
void ReadPointLine(std::string_view line, std::array<float, 5>& values) {
    std::size_t start = 0;
    for (std::size_t f = 0; f < values.size(); ++f) {
        std::size_t stop = 0;
        values[f] = LeadingFloat(line.substr(start), stop);
        const std::size_t comma = line.find(',', start + stop);
        if (comma == std::string_view::npos && f + 1 < values.size()) {
            throw RuntimeError("Subscript out of range");
        }
        start = comma + 1;
    }
}

// Every column holds the same, non-zero number of points.
bool IsRegular(const FarFieldGrid& grid) {
    if (grid.empty() || grid[0].Points.empty()) {
        return false;
    }
    for (const AzimuthColumn& column : grid) {
        if (column.Points.size() != grid[0].Points.size()) {
            return false;
        }
    }
    return true;
}

FarFieldGrid ParseGrid(LineReader& reader) {
    FarFieldGrid grid;
    std::size_t pointsPerColumn = 0;
    std::array<float, 5> values{};
    std::string_view line;
    while (reader.Next(line)) {
        if (IsBlankLine(line)) {
            continue;
        }
        ReadPointLine(line, values);
        const float azimuth = values[1];
        if (grid.empty()) {
            grid.push_back(AzimuthColumn{azimuth, {}});
        } else if (azimuth != grid.back().Azimuth) {
            if (grid.size() == 1) {
                pointsPerColumn = grid[0].Points.size();
                grid[0].Points.shrink_to_fit();
            } else if (grid.back().Points.size() != pointsPerColumn) {
                throw RuntimeError("Subscript out of range");
            }
            grid.push_back(AzimuthColumn{azimuth, {}});
            // Later columns are as long as the first: reserving keeps memory at the payload.
            grid.back().Points.reserve(pointsPerColumn);
        }
        std::vector<PatternPoint>& points = grid.back().Points;
        if (grid.size() > 1 && points.size() == pointsPerColumn) {
            throw RuntimeError("Subscript out of range");
        }
        if (points.size() == kMaxPointsPerColumn) {
            throw TooManyNodes{};
        }
        points.push_back(PatternPoint{values[0], values[2], values[3], values[4]});
    }
    if (grid.size() < 2 || grid.back().Points.size() != pointsPerColumn) {
        // One azimuth is no pattern, and a short last column no grid.
        throw RuntimeError("Subscript out of range");
    }
    // Close the circle when the file stops one step short of 360.
    const float first = grid.front().Azimuth;
    const float last = grid.back().Azimuth;
    if (first + 360.0f != last && grid[1].Azimuth - first == 360.0f - last) {
        grid.push_back(AzimuthColumn{360.0f, grid.front().Points});
    }
    return grid;
}

void ClearCutSeries(DataSet& data) {
    for (SeriesRecord& series : data.Series) {
        series.Label.clear();
        series.Min = 0.0f;
        series.Max = 0.0f;
        series.Values.assign(1, 0.0f);
    }
}

void ResizeCutSeries(DataSet& data, std::size_t size) {
    for (std::size_t c = 0; c <= 3; ++c) {
        data.Series[c].Values.assign(size, 0.0f);
    }
}

const AzimuthColumn* FindColumn(const FarFieldGrid& grid, float azimuth) {
    for (const AzimuthColumn& column : grid) {
        if (column.Azimuth == azimuth) {
            return &column;
        }
    }
    return nullptr;
}

void StorePoint(DataSet& data, std::size_t index, float angle, const PatternPoint& point) {
    data.Series[0].Values[index] = angle;
    data.Series[1].Values[index] = point.Vertical;
    data.Series[2].Values[index] = point.Horizontal;
    data.Series[3].Values[index] = point.Total;
}

} // namespace

bool ReadFarFieldGrid(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    ClearSeries(state);
    state.FarField[0].Points.assign(1, PatternPoint{});
    try {
        LineReader reader(path);
        std::string_view line;
        if (!reader.Next(line) || TrimSpaces(DecodeText(line)) != kFarFieldHeader) {
            Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
            return false;
        }
        FarFieldGrid grid = ParseGrid(reader);
        state.FarField = std::move(grid);
        return true;
    } catch (const TooManyNodes&) {
        Tell(ctx, kTooManyNodesMessage, MessageIcon::Information);
    } catch (const std::bad_alloc&) {
        Tell(ctx, kTooManyNodesMessage, MessageIcon::Information);
    } catch (const std::exception&) {
        Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
    }
    return false;
}

void FindMaximumAndBeam(AppState& state) {
    const FarFieldGrid& grid = state.FarField;
    PatternResults& result = state.Pattern;
    if (grid.size() < 2 || !IsRegular(grid)) {
        return;
    }
    const int lastColumn = static_cast<int>(grid.size()) - 1;
    const int lastPoint = static_cast<int>(grid[0].Points.size()) - 1;
    const auto point = [&grid](int column, int index) -> const PatternPoint& {
        return grid[static_cast<std::size_t>(column)].Points[static_cast<std::size_t>(index)];
    };
    const auto azimuth = [&grid](int column) {
        return grid[static_cast<std::size_t>(column)].Azimuth;
    };

    result.MaxElevation = 0.0f;
    result.MaxGain = -100.0f;
    result.MaxAzimuth = 0.0f;
    result.BeamWidth = 0.0f;
    result.BeamLeft = 0.0f;
    result.BeamRight = 0.0f;
    int maxColumn = -1;
    int maxPoint = 0;
    for (int a = 0; a <= lastColumn; ++a) {
        for (int z = lastPoint; z >= 0; --z) {
            const PatternPoint& p = point(a, z);
            if (p.Zenith <= 90.0f && p.Total > result.MaxGain) {
                result.MaxElevation = 90.0f - p.Zenith;
                result.MaxGain = p.Total;
                result.MaxAzimuth = azimuth(a);
                maxColumn = a;
                maxPoint = z;
            }
        }
    }
    if (maxColumn < 0) {
        return; // nothing above the horizon stronger than the search floor: no lobe
    }
    const auto distance = [&](int column) {
        return std::fabs(result.MaxGain - point(column, maxPoint).Total);
    };

    // Forward, increasing azimuth; the last column stands for the first.
    int count = 0;
    float previous = 361.0f;
    for (int i = 0; i <= lastColumn; ++i) {
        int k = maxColumn + i;
        if (k > lastColumn) {
            k -= lastColumn;
        }
        if (azimuth(k) == previous) {
            continue;
        }
        previous = azimuth(k);
        const float d = distance(k);
        if (d > 3.0f) {
            if (std::fabs(distance(k - 1) - 3.0f) <= std::fabs(d - 3.0f)) {
                --k;
                --count;
            }
            result.BeamRight = azimuth(k);
            break;
        }
        ++count;
    }
    if (count - 1 == lastColumn) {
        result.BeamWidth = 360.0f;
        return;
    }

    // Backward, decreasing azimuth. The step comes from the column after the maximum, or from
    // the one before it when the maximum sits in the last column.
    const int stepFrom = maxColumn < lastColumn ? maxColumn : maxColumn - 1;
    const float step = azimuth(stepFrom + 1) - azimuth(stepFrom);
    previous = azimuth(maxColumn);
    for (int i = 0; i <= lastColumn; ++i) {
        int k = maxColumn - i;
        if (k < 0) {
            k = lastColumn - std::abs(k) + 1;
        }
        const float here = azimuth(k);
        if (here == previous || std::fabs(here - previous) == 360.0f) {
            continue;
        }
        const float reference = previous == 0.0f ? 360.0f : previous;
        if (std::fabs(here - reference) != step) {
            --count; // a gap in the azimuths ends the lobe
            break;
        }
        previous = here;
        const float d = distance(k);
        if (d > 3.0f) {
            const int visitedBefore = k == lastColumn ? 0 : k + 1;
            if (std::fabs(distance(visitedBefore) - 3.0f) <= std::fabs(d - 3.0f)) {
                k = visitedBefore;
                --count;
            }
            result.BeamLeft = azimuth(k);
            break;
        }
        ++count;
    }
    result.BeamWidth = static_cast<float>(count + 1) * step;
    if (result.BeamLeft == 360.0f) {
        result.BeamLeft = 0.0f;
    }
    if (result.BeamRight == 360.0f) {
        result.BeamRight = 0.0f;
    }
}

bool BuildCut(LoadContext& ctx, float azimuth, float elevation) {
    AppState& state = ctx.state;
    DataSet& data = state.Data;
    PatternResults& pattern = state.Pattern;
    const FarFieldGrid& grid = state.FarField;
    ClearCutSeries(data);
    state.PatternShown = true;
    pattern.ElevationCutAvailable = true;
    const bool regular = IsRegular(grid);

    if (state.CutKind == 1) {
        const float zenith = 90.0f - elevation;
        std::size_t index = 0;
        const std::vector<PatternPoint>* points = regular ? &grid[0].Points : nullptr;
        while (points != nullptr && index < points->size() && (*points)[index].Zenith != zenith) {
            ++index;
        }
        if (points == nullptr || index == points->size()) {
            ctx.view.SetPatternControls(false);
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            return false;
        }
        ctx.view.SetPatternControls(true);
        ResizeCutSeries(data, grid.size());
        for (std::size_t a = 0; a < grid.size(); ++a) {
            StorePoint(data, a, grid[a].Azimuth, grid[a].Points[index]);
        }
    } else if (state.CutKind == 2) {
        if (!regular || grid[0].Points.size() == 1) {
            ctx.view.SetPatternControls(false);
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            pattern.ElevationCutAvailable = false;
            data.DataText = kDataLoaded;
            data.DataKind = KindFarField;
            return true;
        }
        ctx.view.SetPatternControls(true);
        ElevationCut(ctx, azimuth, kElevationMessage);
    }
    StoreSeriesLimits(data, 3);

    for (std::size_t c = 1; c <= 3; ++c) {
        SeriesRecord& series = data.Series[c];
        for (float& value : series.Values) {
            if (value < kPlotFloor) {
                value = kPlotFloor;
                series.Min = kPlotFloor;
            }
        }
    }
    float top = pattern.MaxGain;
    for (std::size_t c = 1; c <= 3; ++c) {
        top = std::max(top, data.Series[c].Max);
    }
    pattern.PlotFloor = kPlotFloor;
    pattern.PlotRange = std::fabs(top - pattern.PlotFloor);
    for (std::size_t c = 1; c <= 3; ++c) {
        for (float& value : data.Series[c].Values) {
            // With everything at the floor there is no range: every radius is the centre.
            const float ratio = pattern.PlotRange > 0.0f
                                    ? (std::fabs(pattern.PlotFloor) + value) / pattern.PlotRange
                                    : 0.0f;
            const float square = ratio * ratio;
            value = square * square;
        }
    }
    StoreSeriesLimits(data, 3);
    data.DataText = kDataLoaded;
    data.DataKind = KindFarField;
    return true;
}

void ElevationCut(LoadContext& ctx, float azimuth, std::string_view message) {
    AppState& state = ctx.state;
    DataSet& data = state.Data;
    const FarFieldGrid& grid = state.FarField;
    const auto missing = [&] {
        ctx.view.SetPatternControls(false);
        if (!message.empty()) {
            Tell(ctx, message, MessageIcon::Information);
        }
        state.Pattern.ElevationCutAvailable = false;
    };
    const AzimuthColumn* front = IsRegular(grid) ? FindColumn(grid, azimuth) : nullptr;
    if (front == nullptr) {
        missing();
        return;
    }
    const std::vector<PatternPoint>& zeniths = grid[0].Points;
    const std::size_t last = zeniths.size() - 1;
    ResizeCutSeries(data, 2 * last + 1);
    for (std::size_t z = 0; z <= last; ++z) {
        StorePoint(data, z, 90.0f - zeniths[z].Zenith, front->Points[z]);
    }
    const AzimuthColumn* back = FindColumn(grid, azimuth + 180.0f);
    if (back == nullptr) {
        missing();
        return;
    }
    for (std::size_t k = 1; k <= last; ++k) {
        StorePoint(data, last + k, 90.0f + zeniths[k].Zenith, back->Points[k]);
    }
    ctx.view.SetPatternControls(true);
}

void FarFieldTable(LoadContext& ctx) {
    AppState& state = ctx.state;
    DataSet& data = state.Data;
    static constexpr std::array<const char*, kSeriesCount> kLabels = {
        "Угол Места", "Верт", "Гориз", "Общая", "", "", ""};
    for (std::size_t c = 0; c < kSeriesCount; ++c) {
        data.Series[c].Label = kLabels[c];
    }
    SetGridHeader(ctx, "");
    state.ComboFilling = true;
    if (!state.SetChosen) {
        DataView& view = ctx.view;
        view.ParamClear();
        int selected = -1;
        const std::vector<PatternPoint>& zeniths = state.FarField[0].Points;
        for (std::size_t z = 0; z < zeniths.size(); ++z) {
            const float elevation = 90.0f - zeniths[z].Zenith;
            if (elevation >= 0.0f) {
                if (selected < 0 && elevation == state.Pattern.MaxElevation) {
                    selected = view.ParamCount();
                }
                view.ParamAddItem(LocaleNumberText(elevation, state.DecimalSeparator),
                                  static_cast<int>(z));
            }
        }
        view.ParamSetEnabled(true);
        if (view.ParamCount() > 0) {
            view.ParamSetListIndex(selected < 0 ? 0 : selected);
        }
        ResizeCutSeries(data, zeniths.size());
    }
    ElevationCut(ctx, 0.0f, "");
    // The table's own limits, so Min and Max describe what the grid shows.
    StoreSeriesLimits(data, 3);
    state.ComboFilling = false;
}

bool BuildPatternCuts(LoadContext& ctx) {
    AppState& state = ctx.state;
    float elevation = state.Pattern.MaxElevation;
    const int chosen = state.Data.SelectedSetIndex;
    if (state.SetChosen && chosen >= 0 && chosen < ctx.view.ParamCount()) {
        elevation =
            LeadingFloat(ToPointForm(ctx.view.ParamItemText(chosen), state.DecimalSeparator));
    }
    state.CutKind = 1;
    if (!BuildCut(ctx, 0.0f, elevation)) {
        return false;
    }
    state.CutKind = 2;
    return !state.Pattern.ElevationCutAvailable || BuildCut(ctx, 0.0f, 0.0f);
}

bool LoadFarField(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    ctx.view.Set3DButtonEnabled(false);
    if (!ReadFarFieldGrid(ctx, path)) {
        return false;
    }
    FindMaximumAndBeam(state);
    // The data set holds a pattern now, whatever the drawing of its cuts makes of it.
    state.Data.DataKind = KindFarField;
    state.Data.DataText = kDataLoaded;
    ctx.view.ShowPattern(1, 2);
    FarFieldTable(ctx);
    if (!state.SetChosen) {
        ctx.view.FillCombos(3);
    }
    return true;
}

} // namespace lobex
