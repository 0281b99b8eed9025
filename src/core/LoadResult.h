#pragma once

#include "AppState.h"
#include "Services.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// A message a load has for the user, in the order it arose, with its cause (where reading stopped
// and why) when it has one.
struct LoadMessage {
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    Rejection cause;
    friend bool operator==(const LoadMessage&, const LoadMessage&) = default;
};

// What a reader made of a text: its typed result, none when it refused the text, and what it
// has to tell the user (with a text for the status line, for some refusals).
template <typename T>
struct Parsed {
    std::optional<T> result;
    std::vector<LoadMessage> messages;
    std::optional<std::string> status;

    void Tell(std::string_view text, MessageIcon icon, Rejection cause = {}) {
        messages.push_back({std::string(text), icon, cause});
    }
};

// The choices in force when a reader runs.
struct LoadRequest {
    // The set or wire asked for (0: none yet), the zenith index of a chosen elevation.
    int set = 0;
    // Re-reading for an entry picked in the set list: the list and the curve lists stay.
    bool setChosen = false;
    std::string decimalSeparator = ".";
    float pi = kPiValue;
    // Of a NEC-2 output: the frequency (MHz, 0 the first) and the part asked for.
    double necFrequency = 0.0;
    NecPart necPart = NecPart::Pattern;
};

// Everything one reader made of a text: the data set and what the windows should show of it.
// Readers fill it and never touch the shared state; the load flow applies it.
struct LoadResult {
    bool loaded = false;
    // The typed result all the rest was derived from; none when the text was refused.
    std::shared_ptr<const Result> document;
    // What of it is on show when that is not the document itself (a NEC-2 output's pattern or
    // sweep); none otherwise.
    std::shared_ptr<const Result> shown;
    // The reader that ran (a data kind), also when it refused the text; KindNone before any.
    std::int16_t reader = KindNone;
    // Kind, series with labels, DataText, HeaderWords and the set the reader settled on.
    DataSet data;
    SharedGrid farField;
    // The maximum and the beam of a far field.
    PatternResults pattern;
    std::vector<NearFieldPoint> nearField{NearFieldPoint{}};
    bool electricField = false;
    // The grid's column captions; empty keeps the ones shown.
    std::vector<std::string> gridHeader;
    // A new set list; none keeps the list as it is.
    std::optional<SetList> sets;
    // The caption beside the set list ("Провод:"); none keeps it.
    std::optional<std::string> setCaption;
    // The curve lists refilled from the labels for this many curves (the window's rule); none
    // keeps them.
    std::optional<int> curves;
    // A far field: its two cuts are drawn before the grid table replaces the series.
    bool showPattern = false;
    // Whether the elevation cut of the grid table could be built (the 3D button and the
    // elevation result labels follow it).
    std::optional<bool> patternControls;
    // A text for the status line; none keeps it.
    std::optional<std::string> status;
    std::vector<LoadMessage> messages;

    void Tell(std::string_view text, MessageIcon icon, Rejection cause = {}) {
        messages.push_back({std::string(text), icon, cause});
    }
};

// A reader's refusal: the message added, the data dropped, the reader and earlier messages kept.
inline LoadResult Refused(LoadResult&& result, std::string_view text, MessageIcon icon,
                          Rejection cause = {}) {
    result.Tell(text, icon, cause);
    result.loaded = false;
    result.data.Series = DataSet{}.Series;
    return std::move(result);
}

// A reader's refusal of a text: its messages and status, the data left empty.
template <typename T>
LoadResult Refusal(std::int16_t reader, Parsed<T>&& parsed, const LoadRequest& request) {
    LoadResult result;
    result.reader = reader;
    result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    result.messages = std::move(parsed.messages);
    result.status = std::move(parsed.status);
    return result;
}

// The load derived from a typed result, which it keeps as its document. DeriveLoad is the
// reader's own, found by the type.
template <typename T>
LoadResult DeriveDocument(T&& typed, const LoadRequest& request) {
    auto document = std::make_shared<const Result>(std::forward<T>(typed));
    LoadResult result = DeriveLoad(std::get<std::decay_t<T>>(*document), request);
    result.document = std::move(document);
    return result;
}

// A reader's load of what its parse gave: the typed result derived, or the parse's refusal.
template <typename T>
LoadResult LoadParsed(std::int16_t reader, Parsed<T>&& parsed, const LoadRequest& request) {
    if (!parsed.result) {
        return Refusal(reader, std::move(parsed), request);
    }
    return DeriveDocument(std::move(*parsed.result), request);
}

// DataText after a reader succeeded.
inline constexpr std::string_view kDataLoaded = "Data Loaded";

// The end of every successful read: the grid headed by the labels, the data marked as loaded of
// `kind`, and on a fresh load the curve lists offered for `curves`.
inline LoadResult Accepted(LoadResult&& result, std::int16_t kind, int curves,
                           const LoadRequest& request) {
    result.gridHeader = SeriesLabels(result.data);
    if (!request.setChosen) {
        result.curves = curves;
    }
    result.data.DataText = kDataLoaded;
    result.data.DataKind = kind;
    result.loaded = true;
    return std::move(result);
}

} // namespace lobex
