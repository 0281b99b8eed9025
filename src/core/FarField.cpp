#include "FarField.h"

#include "DataGrid.h"
#include "Errors.h"
#include "GainScale.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <new>

namespace lobex {
namespace {

// The grid table lists each zenith twice (2Z + 1 rows), and the grid counts rows in 16 bits.
constexpr std::size_t kMaxPointsPerColumn = (kGridRowLimit + 1) / 2;

struct TooManyNodes {};

// The lowest level a polar cut draws.
constexpr float kPlotFloor = -60.0f;

// Zenith, azimuth, vertical, horizontal and total gain by the leading-number rule; further
// fields are ignored.
void ReadPointLineByRule(std::string_view line, std::array<float, 5>& values) {
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

// A whole point line of plain numbers at the start of text, with its line end: the values and
// the bytes taken. False for any other line, which the rule then reads; the walk over the line
// and the reading of its numbers are one pass.
bool ReadPlainPointLine(std::string_view text, std::array<float, 5>& values, std::size_t& taken) {
    const char* p = text.data();
    const char* const end = p + text.size();
    for (std::size_t f = 0; f < values.size(); ++f) {
        if (!ReadPlainFloat(p, end, values[f])) {
            return false;
        }
        // A field ended by a line end is a short line, for the rule to refuse.
        if (f + 1 < values.size()) {
            if (p == end || *p != ',') {
                return false;
            }
            ++p;
        }
    }
    if (p != end) {
        if (*p == '\n') {
            ++p;
        } else if (*p == '\r') {
            ++p;
            p += p != end && *p == '\n' ? 1 : 0;
        } else {
            return false;
        }
    }
    taken = static_cast<std::size_t>(p - text.data());
    return true;
}

// Two azimuth steps are the same step when they differ by less than a thousandth of it: steps
// such as 3.6 or 0.1 degrees are not exact in binary, and their differences wander.
bool SameStep(float a, float b) {
    return std::fabs(a - b) <= std::fabs(b) / 1000.0f;
}

// The elevation of a zenith angle as the file's decimals give it: 90 - 72.1 is 17.9, where the
// float subtraction would show 17.900002.
float ElevationOf(float zenith) {
    return static_cast<float>(90.0 - ShortestDecimal(zenith));
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

FarFieldGrid ParseGrid(TextLines& reader) {
    FarFieldGrid grid;
    std::size_t pointsPerColumn = 0;
    std::array<float, 5> values{};
    std::string_view line;
    while (!reader.Rest().empty()) {
        std::size_t taken = 0;
        if (ReadPlainPointLine(reader.Rest(), values, taken)) {
            reader.Skip(taken);
        } else {
            reader.Next(line);
            if (IsBlankLine(line)) {
                continue;
            }
            ReadPointLineByRule(line, values);
        }
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
    if (first + 360.0f != last && SameStep(grid[1].Azimuth - first, 360.0f - last)) {
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

LoadResult ReadFarFieldGrid(std::string_view text) {
    LoadResult result;
    result.reader = KindFarField;
    result.farField[0].Points.assign(1, PatternPoint{});
    try {
        TextLines reader(text);
        std::string_view line;
        if (!reader.Next(line) || TrimSpaces(DecodeText(line)) != kFarFieldHeader) {
            result.Tell(kWrongFormatMessage, MessageIcon::Information);
            return result;
        }
        result.farField = ParseGrid(reader);
        result.loaded = true;
    } catch (const TooManyNodes&) {
        result.Tell(kTooManyNodesMessage, MessageIcon::Information);
    } catch (const std::bad_alloc&) {
        result.Tell(kTooManyNodesMessage, MessageIcon::Information);
    } catch (const std::exception&) {
        result.Tell(kWrongFormatMessage, MessageIcon::Information);
    }
    return result;
}

LoadResult ReadFarFieldGridFile(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const ReadError& error) {
        LoadResult result;
        result.reader = KindFarField;
        result.farField[0].Points.assign(1, PatternPoint{});
        const LoadMessage message = ReadFailureMessage(error);
        result.Tell(message.text, message.icon);
        return result;
    }
    return ReadFarFieldGrid(bytes);
}

bool LoadFarFieldGrid(LoadContext& ctx, const std::string& path) {
    LoadResult result = ReadFarFieldGridFile(path);
    TellAll(ctx, result.messages);
    ctx.state.Loaded.FarField = std::move(result.farField);
    return result.loaded;
}

void FindMaximumAndBeam(const FarFieldGrid& grid, PatternResults& result) {
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
    result.MaxElevation = ElevationOf(point(maxColumn, maxPoint).Zenith);
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
    // The width from the file's decimals, so that 782 steps of 0.1 are 78.2, not 78.200005.
    const double decimalStep =
        ShortestDecimal(azimuth(stepFrom + 1)) - ShortestDecimal(azimuth(stepFrom));
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
        if (!SameStep(std::fabs(here - reference), step)) {
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
    result.BeamWidth = static_cast<float>((count + 1) * decimalStep);
    if (result.BeamLeft == 360.0f) {
        result.BeamLeft = 0.0f;
    }
    if (result.BeamRight == 360.0f) {
        result.BeamRight = 0.0f;
    }
}

CutResult BuildCut(LoadContext& ctx, float azimuth, float elevation) {
    AppState& state = ctx.state;
    DataSet& data = state.Loaded.Data;
    PatternResults& pattern = state.Loaded.Pattern;
    const FarFieldGrid& grid = state.Loaded.FarField;
    ClearCutSeries(data);
    state.View.PatternShown = true;
    pattern.ElevationCutAvailable = true;
    const bool regular = IsRegular(grid);
    CutResult result;

    if (state.View.CutKind == 1) {
        std::size_t index = 0;
        const std::vector<PatternPoint>* points = regular ? &grid[0].Points : nullptr;
        while (points != nullptr && index < points->size() &&
               ElevationOf((*points)[index].Zenith) != elevation) {
            ++index;
        }
        if (points == nullptr || index == points->size()) {
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            result.patternControls = false;
            return result;
        }
        result.patternControls = true;
        ResizeCutSeries(data, grid.size());
        for (std::size_t a = 0; a < grid.size(); ++a) {
            StorePoint(data, a, grid[a].Azimuth, grid[a].Points[index]);
        }
    } else if (state.View.CutKind == 2) {
        if (!regular || grid[0].Points.size() == 1) {
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            pattern.ElevationCutAvailable = false;
            data.DataText = kDataLoaded;
            data.DataKind = KindFarField;
            result.built = true;
            result.patternControls = false;
            return result;
        }
        result.patternControls = ElevationCut(grid, azimuth, data);
        if (!*result.patternControls) {
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            pattern.ElevationCutAvailable = false;
        }
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
            value = GainToRadius(value, pattern.PlotFloor, pattern.PlotRange);
        }
    }
    StoreSeriesLimits(data, 3);
    data.DataText = kDataLoaded;
    data.DataKind = KindFarField;
    result.built = true;
    return result;
}

bool ElevationCut(const FarFieldGrid& grid, float azimuth, DataSet& data) {
    const AzimuthColumn* front = IsRegular(grid) ? FindColumn(grid, azimuth) : nullptr;
    if (front == nullptr) {
        return false;
    }
    const AzimuthColumn* back = FindColumn(grid, azimuth + 180.0f);
    const std::vector<PatternPoint>& zeniths = grid[0].Points;
    const std::size_t last = zeniths.size() - 1;
    // Without the back azimuth only the front half holds rows.
    ResizeCutSeries(data, back != nullptr ? 2 * last + 1 : last + 1);
    for (std::size_t z = 0; z <= last; ++z) {
        StorePoint(data, z, 90.0f - zeniths[z].Zenith, front->Points[z]);
    }
    if (back == nullptr) {
        return false;
    }
    for (std::size_t k = 1; k <= last; ++k) {
        StorePoint(data, last + k, 90.0f + zeniths[k].Zenith, back->Points[k]);
    }
    return true;
}

namespace {

// The grid's view of a pattern: labels, the elevation list (item data = zenith index) and the
// elevation cut through azimuths 0 and 180.
void FarFieldTable(LoadResult& result, const LoadRequest& request) {
    DataSet& data = result.data;
    SetLabels(data, {LOBEX_TEXT("Угол Места"), LOBEX_TEXT("Верт"), LOBEX_TEXT("Гориз"),
                     LOBEX_TEXT("Общая"), "", "", ""});
    const std::vector<PatternPoint>& zeniths = result.farField[0].Points;
    if (!request.setChosen) {
        SetList list;
        for (std::size_t z = 0; z < zeniths.size(); ++z) {
            const float elevation = ElevationOf(zeniths[z].Zenith);
            if (elevation >= 0.0f) {
                if (list.selected < 0 && elevation == result.pattern.MaxElevation) {
                    list.selected = static_cast<int>(list.entries.size());
                }
                list.entries.push_back(
                    {LocaleNumberText(elevation, request.decimalSeparator), static_cast<int>(z)});
            }
        }
        if (!list.entries.empty() && list.selected < 0) {
            list.selected = 0;
        }
        result.sets = std::move(list);
        ResizeCutSeries(data, zeniths.size());
    }
    result.patternControls = ElevationCut(result.farField, 0.0f, data);
    // Without azimuth 0 the table has no rows at all, rather than rows of zeros.
    if (!result.farField.empty() && FindColumn(result.farField, 0.0f) == nullptr) {
        for (std::size_t c = 0; c <= 3; ++c) {
            data.Series[c].Values.clear();
        }
    }
    // The table's own limits, so Min and Max describe what the grid shows.
    StoreSeriesLimits(data, 3);
}

} // namespace

float CutElevation(const AppState& state) {
    const int entry = state.Loaded.Data.SelectedSetIndex;
    const std::vector<SetListEntry>& entries = state.Loaded.Sets.entries;
    if (state.View.SetChosen && entry >= 0 && entry < static_cast<int>(entries.size())) {
        return LeadingFloat(
            ToPointForm(entries[static_cast<std::size_t>(entry)].text, state.DecimalSeparator));
    }
    return state.Loaded.Pattern.MaxElevation;
}

bool BuildPatternCuts(LoadContext& ctx) {
    AppState& state = ctx.state;
    const float elevation = CutElevation(state);
    state.View.CutKind = 1;
    if (!BuildCut(ctx, 0.0f, elevation).built) {
        return false;
    }
    state.View.CutKind = 2;
    return !state.Loaded.Pattern.ElevationCutAvailable || BuildCut(ctx, 0.0f, 0.0f).built;
}

LoadResult ReadFarField(std::string_view text, const LoadRequest& request) {
    LoadResult result = ReadFarFieldGrid(text);
    result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    if (!result.loaded) {
        return result;
    }
    FindMaximumAndBeam(result.farField, result.pattern);
    result.showPattern = true;
    FarFieldTable(result, request);
    return Accepted(std::move(result), KindFarField, 3, request);
}

} // namespace lobex
