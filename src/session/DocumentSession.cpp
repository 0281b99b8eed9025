#include "DocumentSession.h"

#include "LiveReload.h"
#include "core/Messages.h"
#include "core/NecFile.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <variant>

namespace lobex {

const Document* DocumentSession::Current() const {
    return current_ >= 0 ? &documents_[static_cast<std::size_t>(current_)] : nullptr;
}

Document* DocumentSession::CurrentDocument() {
    return current_ >= 0 ? &documents_[static_cast<std::size_t>(current_)] : nullptr;
}

void DocumentSession::TakeShownChoices() {
    if (Document* document = CurrentDocument()) {
        document->choices.kind = ctx_.state.Loaded.Data.DataKind;
        document->choices.sets = ctx_.state.Loaded.Sets;
        document->shown = ctx_.state.Loaded.Shown;
    }
}

namespace {

// A NEC-2 output's frequency as the state keeps it: the one on show, so that a reload of an
// output whose frequencies moved shows the nearest and says which.
void TakeNecFrequency(AppState& state) {
    const auto* nec = std::get_if<NecOutput>(state.Loaded.Document.get());
    const int index = nec != nullptr ? ShownNecFrequency(*nec, state.View.NecFrequency) : -1;
    if (index >= 0) {
        state.View.NecFrequency = nec->frequencies[static_cast<std::size_t>(index)].mhz;
    }
}

} // namespace

bool DocumentSession::OpenOn(LoadContext& ctx, const LoadSource& source,
                             const std::string& shownAs) {
    if (!OpenData(ctx, view_, source)) {
        return false;
    }
    TakeNecFrequency(ctx.state);
    Document document;
    document.source = source.mmana != nullptr ? std::string() : ctx.state.Loaded.CurrentFile;
    document.name = shownAs.empty() || document.source.empty() ? document.source : shownAs;
    document.result = ctx.state.Loaded.Document;
    // One document is on show at a time: the new one takes the current one's place.
    if (current_ < 0) {
        documents_.push_back(std::move(document));
        current_ = static_cast<int>(documents_.size()) - 1;
    } else {
        documents_[static_cast<std::size_t>(current_)] = std::move(document);
    }
    TakeShownChoices();
    DropUnmatchedComparisons();
    return true;
}

bool DocumentSession::Open(const LoadSource& source, const std::string& shownAs) {
    // Another file starts at its first frequency's pattern.
    ViewFlags& flags = ctx_.state.View;
    const auto nec = std::pair(flags.NecFrequency, flags.NecShown);
    flags.NecFrequency = 0.0;
    flags.NecShown = NecPart::Pattern;
    if (!OpenOn(ctx_, source, shownAs)) {
        std::tie(flags.NecFrequency, flags.NecShown) = nec;
        return false;
    }
    Notify(SessionChange::Opened);
    return true;
}

bool DocumentSession::OpenFile(const std::string& path, const std::string& shownAs) {
    return Open(LoadSource{nullptr,
                           [&path] {
                               return path;
                           }},
                shownAs);
}

bool DocumentSession::PickOn(LoadContext& ctx, int index) {
    const Document* document = Current();
    if (document == nullptr || document->result == nullptr) {
        return false;
    }
    const LoadSource source(document->result);
    if (!ReloadForParamEntry(ctx.state, index, [&] { return LoadData(ctx, view_, source); })) {
        return false;
    }
    TakeShownChoices();
    return true;
}

bool DocumentSession::Pick(int index) {
    if (!PickOn(ctx_, index)) {
        return false;
    }
    Notify(SessionChange::Picked);
    return true;
}

bool DocumentSession::PickNec(double mhz, NecPart part) {
    const Document* document = Current();
    const auto* nec =
        document != nullptr ? std::get_if<NecOutput>(document->result.get()) : nullptr;
    if (nec == nullptr || nec->frequencies.empty()) {
        return false;
    }
    ViewFlags& flags = ctx_.state.View;
    const auto before = std::pair(flags.NecFrequency, flags.NecShown);
    const DocumentChoices chosen = document->choices;
    flags.NecFrequency =
        nec->frequencies[static_cast<std::size_t>(ShownNecFrequency(*nec, mhz))].mhz;
    flags.NecShown = part;
    // Held: the document in memory may go while its load runs.
    const std::shared_ptr<const Result> result = document->result;
    if (!OpenData(ctx_, view_, LoadSource(result))) {
        std::tie(flags.NecFrequency, flags.NecShown) = before;
        return false;
    }
    TakeShownChoices();
    // The elevation the user picked stays picked where the other frequency's pattern has it.
    const int entry = chosen.setPicked && chosen.kind == ctx_.state.Loaded.Data.DataKind
                          ? RepickedEntry(chosen.sets, ctx_.state.Loaded.Sets)
                          : -1;
    if (entry < 0 || !PickOn(ctx_, entry)) {
        CurrentDocument()->choices.setPicked = false;
    }
    Notify(SessionChange::Picked);
    return true;
}

void DocumentSession::KeepPick() {
    if (Document* document = CurrentDocument()) {
        document->choices.setPicked = true;
    }
}

ReloadOutcome DocumentSession::Reload(ChoiceControls& controls, const std::string& output) {
    const Document* document = Current();
    if (document == nullptr || document->source.empty()) {
        return {};
    }
    DocumentChoices before = controls.ShownChoices();
    before.kind = document->choices.kind;
    before.sets = document->choices.sets;
    before.setPicked = document->choices.setPicked;
    const std::string path = output.empty() ? document->source : output;
    const std::string name = document->name;
    const LoadSource source{nullptr, [path] {
                                return path;
                            }};
    HeldMessages held;
    LoadContext quiet{ctx_.state, held};
    const auto failed = [&held] {
        return ReloadOutcome{false, ReloadFailedStatus(held.Texts())};
    };
    if (!OpenOn(quiet, source, name)) {
        return failed();
    }
    if (ctx_.state.Loaded.Data.DataKind != before.kind) {
        if (!controls.ReopenOtherKind([&] { return OpenOn(quiet, source, name); })) {
            return failed();
        }
        Notify(SessionChange::Reloaded);
        return {true, {}};
    }
    const DocumentChoices fresh = controls.ShownChoices();
    if (before.left < controls.CurveCount(true) && before.right < controls.CurveCount(false)) {
        controls.SelectCurves(before.left, before.right);
    }
    const int entry = before.setPicked ? RepickedEntry(before.sets, ctx_.state.Loaded.Sets) : -1;
    if (entry >= 0) {
        if (!PickOn(quiet, entry)) {
            return failed();
        }
        KeepPick();
    }
    const DocumentChoices restored = controls.ShownChoices();
    if (restored.left != fresh.left || restored.right != fresh.right) {
        controls.DrawCurves();
    }
    const bool logX = before.logX && controls.TickLogBox(true);
    const bool logY = before.logY && controls.TickLogBox(false);
    if (logX || logY) {
        controls.DrawCurves();
    }
    Notify(SessionChange::Reloaded);
    return {true, {}};
}

void DocumentSession::Close() {
    if (current_ < 0) {
        return;
    }
    documents_.erase(documents_.begin() + current_);
    current_ = -1;
    comparisons_.clear();
    Notify(SessionChange::Closed);
}

namespace {

// A compared file is read afresh: no set of the one on show applies to it.
LoadRequest ComparisonRequest(const AppState& state) {
    LoadRequest request;
    request.decimalSeparator = state.DecimalSeparator;
    request.pi = state.PiValue;
    return request;
}

std::vector<Comparison>::iterator FileEntry(std::vector<Comparison>& entries,
                                            const std::string& path) {
    return std::find_if(entries.begin(), entries.end(), [&path](const Comparison& entry) {
        return !entry.pinned && entry.source == path;
    });
}

} // namespace

void DocumentSession::Refuse(std::string_view text) {
    Tell(ctx_, text, MessageIcon::Information);
}

std::shared_ptr<const Result> DocumentSession::ShownResult() const {
    const Document* current = Current();
    return current != nullptr ? current->shown : nullptr;
}

void DocumentSession::DropUnmatchedComparisons() {
    const std::shared_ptr<const Result> shown = ShownResult();
    const auto unmatched = [&shown](const Comparison& entry) {
        return shown == nullptr || !Comparable(*shown, *entry.result);
    };
    if (std::erase_if(comparisons_, unmatched) > 0) {
        Notify(SessionChange::Compared);
    }
}

bool DocumentSession::Compare(const std::string& path) {
    const std::shared_ptr<const Result> shownResult = ShownResult();
    const Result* shown = shownResult.get();
    const auto known = FileEntry(comparisons_, path);
    if (shown != nullptr && known == comparisons_.end() && comparisons_.size() >= kMaxComparisons) {
        Refuse(kCompareTooMany);
        return false;
    }
    const ComparisonRead read = ReadForComparison(shown, path, ComparisonRequest(ctx_.state));
    if (read.result == nullptr) {
        TellAll(ctx_, read.messages);
        return false;
    }
    if (known != comparisons_.end()) {
        known->result = read.result;
    } else {
        comparisons_.push_back({ComparisonName(path), path, read.result, false, 0});
    }
    Notify(SessionChange::Compared);
    return true;
}

bool DocumentSession::PinCurrent() {
    const Document* current = Current();
    const std::shared_ptr<const Result> shown = ShownResult();
    if (current == nullptr || shown == nullptr) {
        Refuse(kCompareNothingShown);
        return false;
    }
    if (!ComparableKind(*shown)) {
        Refuse(kCompareKindNotComparable);
        return false;
    }
    if (comparisons_.size() >= kMaxComparisons) {
        Refuse(kCompareTooMany);
        return false;
    }
    // The result is never changed in place (a reload puts a new one in the document), so
    // holding the same one is holding a copy.
    comparisons_.push_back({ComparisonName(current->name), {}, shown, true, ++pins_});
    Notify(SessionChange::Compared);
    return true;
}

void DocumentSession::ClearComparisons() {
    if (comparisons_.empty()) {
        return;
    }
    comparisons_.clear();
    Notify(SessionChange::Compared);
}

ReloadOutcome DocumentSession::ReloadComparison(const std::string& path) {
    const auto entry = FileEntry(comparisons_, path);
    const std::shared_ptr<const Result> shown = ShownResult();
    if (entry == comparisons_.end() || shown == nullptr) {
        return {};
    }
    const ComparisonRead read = ReadForComparison(shown.get(), path, ComparisonRequest(ctx_.state));
    if (read.result == nullptr) {
        std::vector<std::string> texts;
        for (const LoadMessage& message : read.messages) {
            texts.push_back(message.text);
        }
        return {false, ReloadFailedStatus(texts)};
    }
    entry->result = read.result;
    Notify(SessionChange::Compared);
    return {true, {}};
}

int DocumentSession::Observe(Observer observer) {
    observers_.emplace_back(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void DocumentSession::Forget(int id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void DocumentSession::Notify(SessionChange change) {
    // An observer may forget itself while told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers) {
        observer(change, Current());
    }
}

} // namespace lobex
