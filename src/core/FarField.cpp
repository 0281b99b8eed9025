#include "FarField.h"

#include "DataGrid.h"
#include "Errors.h"
#include "GainScale.h"
#include "Messages.h"
#include "PlainFloat.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"
#include "Utf8Path.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

// The azimuth of the line before as its characters, the comma after it included: a column's
// lines repeat it, the same characters make the same number, and comparing them at once costs
// less than reading the number again.
class RepeatedAzimuth {
public:
    // The number, with p moved past its comma, when the characters at p are the kept ones.
    bool Same(const char*& p, const char* end, float& value) const {
        if (mask_ == 0 || end - p < 8 || ((Load(p) ^ word_) & mask_) != 0) {
            return false;
        }
        value = value_;
        p += length_;
        return true;
    }
    // Keeps the field from `from`, whose number `value` ends at the comma at `comma`.
    void Keep(const char* from, const char* comma, const char* end, float value) {
        length_ = static_cast<std::size_t>(comma - from) + 1;
        mask_ = length_ <= 8 && end - from >= 8 ? ~std::uint64_t{0} >> (64 - 8 * length_) : 0;
        word_ = mask_ != 0 ? Load(from) & mask_ : 0;
        value_ = value;
    }

private:
    static std::uint64_t Load(const char* p) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    std::uint64_t word_ = 0;
    std::uint64_t mask_ = 0; // none kept
    std::size_t length_ = 0;
    float value_ = 0.0f;
};

// A whole point line of plain numbers at the start of text, with its line end: the values and
// the bytes taken. False for any other line, which the rule then reads; the walk over the line
// and the reading of its numbers are one pass. Before lastLineEnd, the text's last line end, the
// numbers need no look at the text's end.
bool ReadPlainPointLine(std::string_view text, const char* lastLineEnd, RepeatedAzimuth& azimuth,
                        std::array<float, 5>& values, std::size_t& taken) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool bounded = p >= lastLineEnd;
    for (std::size_t f = 0; f < values.size(); ++f) {
        if (f == 1 && azimuth.Same(p, end, values[1])) {
            continue;
        }
        const char* const from = p;
        p = bounded ? plain_float::Read(p, end, values[f])
                    : plain_float::ReadBeforeLineEnd(p, values[f]);
        if (p == nullptr) {
            return false;
        }
        if (f == 1 && p != end && *p == ',') {
            azimuth.Keep(from, p, end, values[1]);
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

// The grid as its lines come, in file order: the columns so far and the length every column
// after the first must have. Lines are numbered from the start of rest (the header is line 1).
class GridBuilder {
public:
    // With limitLines, a line longer than a text file's may be ends the reading (LongLine).
    explicit GridBuilder(std::string_view rest, bool limitLines = false)
        : rest_(rest), limitLines_(limitLines) {}
    // The text of the lines that follow, for reading in pieces.
    void Continue(std::string_view rest) { rest_ = rest; }
    std::size_t Columns() const { return grid_.size(); }
    // The length of every column after the first; 0 while there is only the first.
    std::size_t PointsPerColumn() const { return pointsPerColumn_; }

    // Reads reader's lines up to stop, a line start in rest (or its end).
    void ReadLines(TextLines& reader, const char* stop);
    // Takes the columns another thread read from the lines after the last one read here, when
    // reading those lines here would have made the same grid; false leaves the grid as it was.
    bool Take(FarFieldGrid&& columns);
    FarFieldGrid Finish();

private:
    void Add(float azimuth, const PatternPoint& point, std::string_view lineRest);
    // The first column's length is every column's; its spare room is given back.
    void EndFirstColumn() {
        pointsPerColumn_ = grid_[0].Points.size();
        grid_[0].Points.shrink_to_fit();
    }
    // Lines are counted only when one is refused.
    int NumberOf(std::string_view at) const {
        return LineNumberAt(rest_, static_cast<std::size_t>(at.data() - rest_.data())) + 1;
    }

    std::string_view rest_;
    bool limitLines_ = false;
    FarFieldGrid grid_;
    std::size_t pointsPerColumn_ = 0;
};

struct LongLine {};

// The last line end of a piece, before which its numbers need no look at its end.
const char* LastLineEnd(std::string_view piece) {
    const std::size_t at = piece.find_last_of("\r\n");
    return piece.data() + (at == std::string_view::npos ? 0 : at);
}

void GridBuilder::ReadLines(TextLines& reader, const char* stop) {
    std::array<float, 5> values{};
    RepeatedAzimuth azimuth;
    std::string_view line;
    const std::string_view part = rest_.substr(0, static_cast<std::size_t>(stop - rest_.data()));
    const char* const safeEnd = LastLineEnd(part);
    while (!reader.Rest().empty() && reader.Rest().data() < stop) {
        const std::string_view lineRest = reader.Rest();
        const std::string_view bounded =
            lineRest.substr(0, static_cast<std::size_t>(stop - lineRest.data()));
        std::size_t taken = 0;
        if (ReadPlainPointLine(bounded, safeEnd, azimuth, values, taken)) {
            reader.Skip(taken);
        } else {
            reader.Next(line);
            if (limitLines_ && line.size() > kMaxLineLength) {
                throw LongLine{};
            }
            if (IsBlankLine(line)) {
                continue;
            }
            try {
                ReadPointLineByRule(line, values);
            } catch (const InputError& error) {
                const Rejection& cause = error.Cause();
                throw InputError(error.what(), {cause.text, NumberOf(lineRest), cause.field});
            }
        }
        Add(values[1], PatternPoint{values[0], values[2], values[3], values[4]}, lineRest);
    }
}

void GridBuilder::Add(float azimuth, const PatternPoint& point, std::string_view lineRest) {
    if (grid_.empty()) {
        grid_.push_back(AzimuthColumn{azimuth, {}});
    } else if (azimuth != grid_.back().Azimuth) {
        if (grid_.size() == 1) {
            EndFirstColumn();
        } else if (grid_.back().Points.size() != pointsPerColumn_) {
            throw PointLineError(lineRest, NumberOf(lineRest), kShortColumnCause);
        }
        grid_.push_back(AzimuthColumn{azimuth, {}});
        // Later columns are as long as the first: reserving keeps memory at the payload.
        grid_.back().Points.reserve(pointsPerColumn_);
    }
    std::vector<PatternPoint>& points = grid_.back().Points;
    if (grid_.size() > 1 && points.size() == pointsPerColumn_) {
        throw PointLineError(lineRest, NumberOf(lineRest), kLongColumnCause);
    }
    if (points.size() == kMaxPointsPerColumn) {
        throw TooManyNodes{NumberOf(lineRest)};
    }
    points.push_back(point);
}

bool GridBuilder::Take(FarFieldGrid&& columns) {
    // The checks Add would make, on the lengths alone: any refusal is left to Add, which knows
    // the line.
    std::size_t count = grid_.size();
    std::size_t last = count == 0 ? 0 : grid_.back().Points.size();
    std::size_t perColumn = pointsPerColumn_;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::size_t points = columns[c].Points.size();
        if (c == 0 && count > 0 && columns[0].Azimuth == grid_.back().Azimuth) {
            last += points;
        } else {
            if (count == 1) {
                perColumn = last;
            } else if (count > 1 && last != perColumn) {
                return false;
            }
            ++count;
            last = points;
        }
        if ((count > 1 && last > perColumn) || last > kMaxPointsPerColumn) {
            return false;
        }
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
        AzimuthColumn& column = columns[c];
        if (c == 0 && !grid_.empty() && column.Azimuth == grid_.back().Azimuth) {
            std::vector<PatternPoint>& points = grid_.back().Points;
            points.insert(points.end(), column.Points.begin(), column.Points.end());
            continue;
        }
        if (grid_.size() == 1) {
            EndFirstColumn();
        }
        grid_.push_back(std::move(column));
    }
    return true;
}

FarFieldGrid GridBuilder::Finish() {
    // One azimuth is no pattern, and a short last column no grid.
    if (grid_.empty()) {
        throw InputError("Subscript out of range", {kNoDataCause});
    }
    if (grid_.size() == 1) {
        throw InputError("Subscript out of range", {kOneAzimuthCause});
    }
    if (grid_.back().Points.size() != pointsPerColumn_) {
        throw InputError("Subscript out of range", {kShortLastColumnCause});
    }
    // Close the circle when the file stops one step short of 360.
    const float first = grid_.front().Azimuth;
    const float last = grid_.back().Azimuth;
    if (first + 360.0f != last && SameStep(grid_[1].Azimuth - first, 360.0f - last)) {
        grid_.push_back(AzimuthColumn{360.0f, grid_.front().Points});
    }
    return std::move(grid_);
}

// The columns of the lines of a part of a large file, read on a thread while the lines before
// it are read elsewhere: plain point lines only, each column in file order, the first perhaps
// the end of one begun before the part. Read gives up (false) at any other line, an overlong
// column, or when told to stop; the lines may come in pieces, each of whole lines.
struct PlainColumns {
    FarFieldGrid columns;
    std::size_t used = 0;
    std::size_t perColumn = 0;

    // Columns made ready for the points to come, on the thread that reads the first part: a
    // second thread's heap grows a page at a time, the first's in large steps.
    void Prepare(std::size_t count, std::size_t points) {
        columns.resize(count);
        for (AzimuthColumn& column : columns) {
            column.Points.reserve(points);
        }
        perColumn = points;
    }

    bool Read(std::string_view part, const char* lastLineEnd, const std::stop_token& stop) {
        std::array<float, 5> values{};
        RepeatedAzimuth azimuth;
        while (!part.empty()) {
            std::size_t taken = 0;
            if (!ReadPlainPointLine(part, lastLineEnd, azimuth, values, taken)) {
                return false;
            }
            part.remove_prefix(taken);
            if (used == 0 || values[1] != columns[used - 1].Azimuth) {
                if (stop.stop_requested()) {
                    return false;
                }
                // The first column may be a part of one; the second has the full length.
                if (used == 2) {
                    perColumn = columns[1].Points.size();
                }
                if (used == columns.size()) {
                    columns.emplace_back().Points.reserve(perColumn);
                }
                columns[used++].Azimuth = values[1];
            }
            std::vector<PatternPoint>& points = columns[used - 1].Points;
            if (points.size() == kMaxPointsPerColumn) {
                return false;
            }
            points.push_back(PatternPoint{values[0], values[2], values[3], values[4]});
        }
        return true;
    }

    // The columns read, the ones made ready beyond them dropped.
    FarFieldGrid&& TakeColumns() {
        columns.resize(used);
        return std::move(columns);
    }
};

// The bytes a large file is read by at once.
constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

// A part's columns made ready for its bytesAfter bytes of lines, as the bytesRead bytes read so
// far give the columns' length and size.
void PrepareColumns(PlainColumns& after, const GridBuilder& builder, std::uint64_t bytesAfter,
                    std::size_t bytesRead) {
    const std::size_t points = builder.PointsPerColumn();
    if (points > 0 && bytesRead > 0) {
        const std::uint64_t columns = bytesAfter * builder.Columns() / bytesRead + 2;
        after.Prepare(static_cast<std::size_t>(std::min<std::uint64_t>(columns, 1 << 16)), points);
    }
}

// A grid text in one pass: refusals and their lines are told as the lines come. A large file is
// read faster in parts (ReadGridInPieces), and only its refusals come here.
FarFieldGrid ParseGrid(TextLines& reader) {
    const std::string_view rest = reader.Rest();
    GridBuilder builder(rest);
    const char* const end = rest.data() + rest.size();
    builder.ReadLines(reader, end);
    return builder.Finish();
}

// A file read in pieces of whole lines, from `from` up to `stop` (a line start) or its end. The
// piece buffer is reused, so a large file costs no memory of its own size.
class LinePieces {
public:
    static constexpr std::uint64_t kToTheEnd = std::numeric_limits<std::uint64_t>::max();

    LinePieces(const std::filesystem::path& path, std::uint64_t from, std::uint64_t stop)
        : file_(path, std::ios::binary) {
        Restart(from, stop);
    }
    // The lines from `from` up to `stop` instead, the file and buffer kept.
    void Restart(std::uint64_t from, std::uint64_t stop) {
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(from));
        left_ = stop - from;
        keptFrom_ = 0;
        kept_ = 0;
        end_ = false;
        failed_ = !file_.is_open();
    }
    // The next piece: whole lines, at the end whatever is left. False once all is read, and when
    // the file cannot be read or a line does not fit a piece (Failed).
    bool Next(std::string_view& piece);
    bool Failed() const { return failed_; }

private:
    static constexpr std::size_t kPiece = kPieceBytes;
    std::ifstream file_;
    std::uint64_t left_ = 0;
    // Not cleared: the file's bytes overwrite it.
    std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kPiece);
    // The unfinished line at the end of the last piece, moved to the front for the next.
    std::size_t keptFrom_ = 0;
    std::size_t kept_ = 0;
    bool end_ = false;
    bool failed_ = false;
};

bool LinePieces::Next(std::string_view& piece) {
    if (end_ || failed_) {
        return false;
    }
    if (!file_) {
        failed_ = true;
        return false;
    }
    std::memmove(buffer_.get(), buffer_.get() + keptFrom_, kept_);
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece - kept_, left_));
    file_.read(buffer_.get() + kept_, static_cast<std::streamsize>(want));
    const auto got = static_cast<std::size_t>(file_.gcount());
    if (file_.bad()) {
        failed_ = true;
        return false;
    }
    left_ -= got;
    const std::string_view bytes(buffer_.get(), kept_ + got);
    if (got < want || left_ == 0) {
        end_ = true;
        piece = bytes;
        return true;
    }
    const std::size_t lineEnd = bytes.find_last_of('\n');
    if (lineEnd == std::string_view::npos) {
        failed_ = true;
        return false;
    }
    piece = bytes.substr(0, lineEnd + 1);
    keptFrom_ = lineEnd + 1;
    kept_ = bytes.size() - keptFrom_;
    return true;
}

// The lines after the first part of a large file come in parts of about this size, which each
// thread takes as it is free: a thread that starts late, or a core busy with other work, costs
// the reading at most a part.
constexpr std::uint64_t kPartBytes = std::uint64_t{512} << 10;

// The first part, which this thread reads before the other starts: long enough to tell how long
// a column is (two columns of the finest grid), short so that the other starts soon.
constexpr std::uint64_t kFirstPartBytes = std::uint64_t{128} << 10;

// Where a large file is cut into parts: line starts about kPartBytes apart after the first part,
// from 0 to its size; just the two ends on a machine with one core.
std::vector<std::uint64_t> FileCuts(const std::filesystem::path& path, std::uint64_t size) {
    static const bool cores = std::thread::hardware_concurrency() > 1;
    std::vector<std::uint64_t> cuts{0};
    if (cores && size >= kLargeFarFieldBytes) {
        // Unbuffered: each look is one read of its own few bytes.
        std::ifstream file;
        file.rdbuf()->pubsetbuf(nullptr, 0);
        file.open(path, std::ios::binary);
        // A line end is looked for in a few bytes first: lines are short, and reading the
        // longest a line may be at every cut would cost the file again in part.
        constexpr std::size_t kFirstLook = 512;
        std::string bytes(kFirstLook, '\0');
        for (std::uint64_t at = kFirstPartBytes; file && at + kPartBytes / 2 < size;
             at += kPartBytes) {
            if (at <= cuts.back()) {
                continue;
            }
            file.seekg(static_cast<std::streamoff>(at));
            file.read(bytes.data(), static_cast<std::streamsize>(kFirstLook));
            std::size_t got = static_cast<std::size_t>(file.gcount());
            if (std::string_view(bytes.data(), got).find('\n') == std::string_view::npos) {
                bytes.resize(kMaxLineLength + 1);
                file.read(bytes.data() + got, static_cast<std::streamsize>(bytes.size() - got));
                got += static_cast<std::size_t>(file.gcount());
            }
            const std::string_view read(bytes.data(), got);
            file.clear();
            const std::size_t lineEnd = read.find('\n');
            if (lineEnd != std::string_view::npos && at + lineEnd + 1 < size) {
                cuts.push_back(at + lineEnd + 1);
            }
        }
    }
    cuts.push_back(size);
    return cuts;
}

// Reads builder's lines from pieces, the first already begun in reader; false when the pieces
// could not all be read.
bool ReadPieces(GridBuilder& builder, LinePieces& pieces, TextLines& reader) {
    std::string_view piece;
    while (true) {
        const std::string_view rest = reader.Rest();
        builder.Continue(rest);
        builder.ReadLines(reader, rest.data() + rest.size());
        if (!pieces.Next(piece)) {
            return !pieces.Failed();
        }
        // A byte order mark starting a piece would be dropped as at the start of a file.
        if (piece.substr(0, 3) == "\xEF\xBB\xBF") {
            return false;
        }
        reader = TextLines(piece);
    }
}

// The grid once builder has read pieces to their end, the first already begun in reader.
std::optional<FarFieldGrid> ReadToTheEnd(GridBuilder& builder, LinePieces& pieces,
                                         TextLines& reader) {
    return ReadPieces(builder, pieces, reader) ? std::optional(builder.Finish()) : std::nullopt;
}

// Enough of a file's start for the far-field header, which is one short line.
constexpr std::uint64_t kHeaderLook = 4096;

// A part of a large file after its first, read by whichever thread takes it.
struct FilePart {
    std::uint64_t from = 0;
    std::uint64_t stop = 0;
    PlainColumns columns;
    bool whole = false;
};

// The parts after the first, taken one by one until none is left; each as PlainColumns reads
// them. A part not read whole leaves the parts after it unread: they would not be used.
class PartReader {
public:
    PartReader(const std::filesystem::path& path, std::vector<FilePart>& parts)
        : path_(path), parts_(parts) {}

    void Run(const std::stop_token& stop) {
        std::optional<LinePieces> pieces;
        for (std::size_t k = next_++; k < parts_.size() && k < unread_; k = next_++) {
            FilePart& part = parts_[k];
            try {
                if (pieces) {
                    pieces->Restart(part.from, part.stop);
                } else {
                    pieces.emplace(path_, part.from, part.stop);
                }
                std::string_view piece;
                bool read = true;
                while (read && pieces->Next(piece)) {
                    read = part.columns.Read(piece, LastLineEnd(piece), stop);
                }
                part.whole = read && !pieces->Failed();
            } catch (const std::bad_alloc&) {
                part.whole = false;
            }
            if (!part.whole) {
                std::size_t unread = unread_;
                while (k < unread && !unread_.compare_exchange_weak(unread, k)) {
                }
            }
        }
    }

private:
    const std::filesystem::path& path_;
    std::vector<FilePart>& parts_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> unread_{std::numeric_limits<std::size_t>::max()};
};

// The grid of a large far-field file, read in pieces, its parts on two threads at once; none
// when anything in it is not as a good grid has it (a refusal, a long line, a file that cannot
// be read), which the reading of the whole file then tells as ever.
std::optional<FarFieldGrid> ReadGridInPieces(const std::filesystem::path& path,
                                             std::uint64_t size) {
    // The header first: a large file of another kind costs no cuts and no part read here.
    LinePieces first(path, 0, std::min(size, kHeaderLook));
    std::string_view piece;
    std::string_view line;
    if (!first.Next(piece)) {
        return std::nullopt;
    }
    if (TextLines head(piece);
        !head.Next(line) || TrimSpaces(DecodeText(line)) != kFarFieldHeader) {
        return std::nullopt;
    }
    const std::vector<std::uint64_t> cuts = FileCuts(path, size);
    first.Restart(0, cuts[1]);
    if (!first.Next(piece)) {
        return std::nullopt;
    }
    TextLines reader(piece);
    reader.Next(line); // the header, looked at above
    GridBuilder builder(reader.Rest(), true);
    if (cuts.size() == 2) {
        return ReadToTheEnd(builder, first, reader);
    }
    builder.ReadLines(reader, piece.data() + piece.size());
    std::vector<FilePart> parts(cuts.size() - 2);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        parts[k].from = cuts[k + 1];
        parts[k].stop = cuts[k + 2];
        PrepareColumns(parts[k].columns, builder, parts[k].stop - parts[k].from, piece.size());
    }
    PartReader partReader(path, parts);
    {
        std::jthread second;
        try {
            second = std::jthread([&](std::stop_token stop) { partReader.Run(stop); });
        } catch (const std::system_error&) {
            // No thread to be had: this one reads every part.
        }
        // A refusal of the first part stops the other thread (the thread's end asks it to).
        if (!ReadPieces(builder, first, reader)) {
            return std::nullopt;
        }
        partReader.Run(std::stop_token{});
        // Waited for, not stopped: a part the other thread is reading is read by then.
        if (second.joinable()) {
            second.join();
        }
    }
    for (FilePart& part : parts) {
        if (part.whole && builder.Take(part.columns.TakeColumns())) {
            continue;
        }
        LinePieces rest(path, part.from, LinePieces::kToTheEnd);
        if (!rest.Next(piece)) {
            return std::nullopt;
        }
        reader = TextLines(piece);
        return ReadToTheEnd(builder, rest, reader);
    }
    return builder.Finish();
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
    result.farField = FarFieldGrid{AzimuthColumn{0.0f, {PatternPoint{}}}};
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

namespace {

LoadResult DerivePatternLoad(const FarFieldPattern& pattern, SharedGrid grid,
                             const LoadRequest& request) {
    LoadResult result;
    result.reader = KindFarField;
    result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    result.farField = std::move(grid);
    StoreFigures(pattern.figures, result.pattern);
    result.showPattern = true;
    FarFieldTable(result, request);
    return Accepted(std::move(result), KindFarField, 3, request);
}

} // namespace

LoadResult DeriveLoad(const FarFieldPattern& pattern, const LoadRequest& request) {
    return DerivePatternLoad(pattern, pattern.grid, request);
}

LoadResult DeriveSharedLoad(const std::shared_ptr<const Result>& document,
                            const FarFieldPattern& pattern, const LoadRequest& request) {
    LoadResult result = DerivePatternLoad(pattern, SharedGrid(document, pattern.grid), request);
    result.document = document;
    return result;
}

LoadResult ReadFarField(std::string_view text, const LoadRequest& request) {
    Parsed<FarFieldPattern> parsed = ParseFarField(text);
    if (!parsed.result) {
        LoadResult result = RefusedGrid(std::move(parsed.messages));
        result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
        return result;
    }
    auto document = std::make_shared<const Result>(std::move(*parsed.result));
    return DeriveSharedLoad(document, std::get<FarFieldPattern>(*document), request);
}

std::optional<LoadResult> ReadLargeFarFieldFile(const std::string& path,
                                                const LoadRequest& request) {
    const std::filesystem::path filePath = Utf8Path(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(filePath, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(filePath, error);
    if (error || size < kLargeFarFieldBytes) {
        return std::nullopt;
    }
    std::optional<FarFieldGrid> grid;
    try {
        grid = ReadGridInPieces(filePath, size);
    } catch (const std::exception&) {
        // Refused or out of memory: the whole read tells which.
    } catch (const TooManyNodes&) {
    } catch (const LongLine&) {
    }
    if (!grid) {
        return std::nullopt;
    }
    FarFieldPattern pattern{std::move(*grid), {}};
    pattern.figures = MaximumAndBeam(pattern.grid).value_or(PatternFigures{});
    auto document = std::make_shared<const Result>(std::move(pattern));
    return DeriveSharedLoad(document, std::get<FarFieldPattern>(*document), request);
}

} // namespace lobex
