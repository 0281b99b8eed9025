#include "FarField.h"

#include "DataGrid.h"
#include "Errors.h"
#include "GainScale.h"
#include "Messages.h"
#include "PlainFloat.h"
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

struct TooManyNodes {
    int line = 0;
};

constexpr std::string_view kShortColumnCause =
    LOBEX_TEXT("строка %1: у предыдущего азимута меньше точек, чем у первого");
constexpr std::string_view kLongColumnCause =
    LOBEX_TEXT("строка %1: у этого азимута больше точек, чем у первого");
constexpr std::string_view kShortLastColumnCause =
    LOBEX_TEXT("у последнего азимута меньше точек, чем у первого");
constexpr std::string_view kOneAzimuthCause = LOBEX_TEXT("в файле только один азимут");
constexpr std::string_view kTooManyPointsCause =
    LOBEX_TEXT("строка %1: больше 16384 точек на один азимут");

// The lowest level a polar cut draws.
constexpr float kPlotFloor = -60.0f;

// Zenith, azimuth, vertical, horizontal and total gain by the leading-number rule; further
// fields are ignored. A refusal's cause names the field; its line is the caller's to name.
void ReadPointLineByRule(std::string_view line, std::array<float, 5>& values) {
    constexpr int number = 0;
    std::size_t start = 0;
    for (std::size_t f = 0; f < values.size(); ++f) {
        std::size_t stop = 0;
        values[f] = FieldFloat(line.substr(start), stop, number, static_cast<int>(f) + 1);
        const std::size_t comma = line.find(',', start + stop);
        if (comma == std::string_view::npos && f + 1 < values.size()) {
            throw InputError("Subscript out of range",
                             {kMissingFieldCause, number, static_cast<int>(f) + 2});
        }
        start = comma + 1;
    }
}

// Why reading stopped at a point line: a field without a number, where the line has one (a
// broken azimuth starts a column of its own), else the cause the grid found.
InputError PointLineError(std::string_view rest, int number, std::string_view cause) {
    const std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
    std::size_t start = 0;
    for (int field = 1; field <= 5 && start <= line.size(); ++field) {
        std::size_t stop = 0;
        LeadingNumber(line.substr(start), stop);
        if (stop == 0) {
            return InputError("Subscript out of range", {kNoNumberCause, number, field});
        }
        start = line.find(',', start);
        start = start == std::string_view::npos ? line.size() + 1 : start + 1;
    }
    return InputError("Subscript out of range", {cause, number});
}

// A whole point line of plain numbers at the start of text, with its line end: the values and
// the bytes taken. False for any other line, which the rule then reads; the walk over the line
// and the reading of its numbers are one pass. Before lastLineEnd, the text's last line end, the
// numbers need no look at the text's end.
bool ReadPlainPointLine(std::string_view text, const char* lastLineEnd,
                        std::array<float, 5>& values, std::size_t& taken) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool bounded = p >= lastLineEnd;
    for (std::size_t f = 0; f < values.size(); ++f) {
        p = bounded ? plain_float::Read(p, end, values[f])
                    : plain_float::ReadBeforeLineEnd(p, values[f]);
        if (p == nullptr) {
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

FarFieldGrid ParseGrid(TextLines& reader) {
    FarFieldGrid grid;
    std::size_t pointsPerColumn = 0;
    std::array<float, 5> values{};
    std::string_view line;
    const std::string_view rest = reader.Rest();
    const std::size_t lastLineEnd = rest.find_last_of("\r\n");
    const char* const safeEnd =
        rest.data() + (lastLineEnd == std::string_view::npos ? 0 : lastLineEnd);
    // Lines are counted only when one is refused: the header is line 1.
    const auto numberOf = [rest](std::string_view at) {
        return LineNumberAt(rest, static_cast<std::size_t>(at.data() - rest.data())) + 1;
    };
    while (!reader.Rest().empty()) {
        const std::string_view lineRest = reader.Rest();
        std::size_t taken = 0;
        if (ReadPlainPointLine(lineRest, safeEnd, values, taken)) {
            reader.Skip(taken);
        } else {
            reader.Next(line);
            if (IsBlankLine(line)) {
                continue;
            }
            try {
                ReadPointLineByRule(line, values);
            } catch (const InputError& error) {
                const Rejection& cause = error.Cause();
                throw InputError(error.what(), {cause.text, numberOf(lineRest), cause.field});
            }
        }
        const float azimuth = values[1];
        if (grid.empty()) {
            grid.push_back(AzimuthColumn{azimuth, {}});
        } else if (azimuth != grid.back().Azimuth) {
            if (grid.size() == 1) {
                pointsPerColumn = grid[0].Points.size();
                grid[0].Points.shrink_to_fit();
            } else if (grid.back().Points.size() != pointsPerColumn) {
                throw PointLineError(lineRest, numberOf(lineRest), kShortColumnCause);
            }
            grid.push_back(AzimuthColumn{azimuth, {}});
            // Later columns are as long as the first: reserving keeps memory at the payload.
            grid.back().Points.reserve(pointsPerColumn);
        }
        std::vector<PatternPoint>& points = grid.back().Points;
        if (grid.size() > 1 && points.size() == pointsPerColumn) {
            throw PointLineError(lineRest, numberOf(lineRest), kLongColumnCause);
        }
        if (points.size() == kMaxPointsPerColumn) {
            throw TooManyNodes{numberOf(lineRest)};
        }
        points.push_back(PatternPoint{values[0], values[2], values[3], values[4]});
    }
    // One azimuth is no pattern, and a short last column no grid.
    if (grid.empty()) {
        throw InputError("Subscript out of range", {kNoDataCause});
    }
    if (grid.size() == 1) {
        throw InputError("Subscript out of range", {kOneAzimuthCause});
    }
    if (grid.back().Points.size() != pointsPerColumn) {
        throw InputError("Subscript out of range", {kShortLastColumnCause});
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

// A cut into Series 0..3: angle, vertical, horizontal and total gain.
void StoreCut(DataSet& data, const PatternCut& cut) {
    ResizeCutSeries(data, cut.points.size());
    for (std::size_t i = 0; i < cut.points.size(); ++i) {
        const CutPoint& point = cut.points[i];
        data.Series[0].Values[i] = point.angle;
        data.Series[1].Values[i] = point.gain.Vertical;
        data.Series[2].Values[i] = point.gain.Horizontal;
        data.Series[3].Values[i] = point.gain.Total;
    }
}

void StoreFigures(const PatternFigures& figures, PatternResults& result) {
    static_cast<PatternFigures&>(result) = figures;
}

} // namespace

namespace {

// The grid of a far-field text, or none after telling why not.
template <typename T>
std::optional<FarFieldGrid> ParseGridText(std::string_view text, Parsed<T>& parsed) {
    try {
        TextLines reader(text);
        std::string_view line;
        if (!reader.Next(line) || TrimSpaces(DecodeText(line)) != kFarFieldHeader) {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information, {kUnknownHeaderCause, 1});
            return std::nullopt;
        }
        return ParseGrid(reader);
    } catch (const TooManyNodes& error) {
        parsed.Tell(kTooManyNodesMessage, MessageIcon::Information,
                    {kTooManyPointsCause, error.line});
    } catch (const std::bad_alloc&) {
        parsed.Tell(kTooManyNodesMessage, MessageIcon::Information, {kOutOfMemoryCause});
    } catch (const std::exception& error) {
        parsed.Tell(kWrongFormatMessage, MessageIcon::Information, CauseOf(error));
    }
    return std::nullopt;
}

// A refused grid leaves a single point, as an empty pattern model reads it.
LoadResult RefusedGrid(std::vector<LoadMessage>&& messages) {
    LoadResult result;
    result.reader = KindFarField;
    result.farField[0].Points.assign(1, PatternPoint{});
    result.messages = std::move(messages);
    return result;
}

} // namespace

LoadResult ReadFarFieldGrid(std::string_view text) {
    Parsed<FarFieldGrid> parsed;
    std::optional<FarFieldGrid> grid = ParseGridText(text, parsed);
    if (!grid) {
        return RefusedGrid(std::move(parsed.messages));
    }
    LoadResult result;
    result.reader = KindFarField;
    result.farField = std::move(*grid);
    result.loaded = true;
    return result;
}

Parsed<FarFieldPattern> ParseFarField(std::string_view text) {
    Parsed<FarFieldPattern> parsed;
    std::optional<FarFieldGrid> grid = ParseGridText(text, parsed);
    if (grid) {
        FarFieldPattern pattern{std::move(*grid), {}};
        pattern.figures = MaximumAndBeam(pattern.grid).value_or(PatternFigures{});
        parsed.result = std::move(pattern);
    }
    return parsed;
}

LoadResult ReadFarFieldGridFile(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const ReadError& error) {
        return RefusedGrid({ReadFailureMessage(error)});
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
    if (const std::optional<PatternFigures> figures = MaximumAndBeam(grid)) {
        StoreFigures(*figures, result);
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
        const std::optional<PatternCut> cut = AzimuthCut(grid, elevation);
        if (!cut) {
            Tell(ctx, kElevationMessage, MessageIcon::Information);
            result.patternControls = false;
            return result;
        }
        result.patternControls = true;
        StoreCut(data, *cut);
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
    const std::optional<PatternCut> cut = ElevationCut(grid, azimuth);
    if (!cut) {
        return false;
    }
    StoreCut(data, *cut);
    return cut->complete;
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
    }
    const std::optional<PatternCut> cut = ElevationCut(result.farField, 0.0f);
    if (cut) {
        StoreCut(data, *cut);
    } else {
        // Without azimuth 0 the table has no rows at all, rather than rows of zeros.
        for (std::size_t c = 0; c <= 3; ++c) {
            data.Series[c].Values.clear();
        }
    }
    result.patternControls = cut && cut->complete;
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

LoadResult DeriveLoad(const FarFieldPattern& pattern, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindFarField;
    result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    result.farField = pattern.grid;
    StoreFigures(pattern.figures, result.pattern);
    result.showPattern = true;
    FarFieldTable(result, request);
    return Accepted(std::move(result), KindFarField, 3, request);
}

LoadResult ReadFarField(std::string_view text, const LoadRequest& request) {
    Parsed<FarFieldPattern> parsed = ParseFarField(text);
    if (!parsed.result) {
        LoadResult result = RefusedGrid(std::move(parsed.messages));
        result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
        return result;
    }
    return DeriveDocument(std::move(*parsed.result), request);
}

} // namespace lobex
