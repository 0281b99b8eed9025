#pragma once

#include "Comparison.h"
#include "core/LoadFlow.h"
#include "model/Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The open documents: where each came from, its typed result and what the user chose on it.
// Picks work on the result in memory; a reload reads the file again and gives the choices back.
namespace lobex {

// What the user chose on a document, given back after a reload.
struct DocumentChoices {
    // The kind of data the choices were made on: other data after a reload is shown afresh.
    std::int16_t kind = KindNone;
    // The set / wire / line / elevation list and its entry on show.
    SetList sets;
    // The user picked an entry since the document was opened; the program's own picks are not
    // kept.
    bool setPicked = false;
    // The entries of the curve lists, -1 for none.
    int left = -1;
    int right = -1;
    bool logX = false;
    bool logY = false;
};

struct Document {
    // The file read; empty for MMANA's window.
    std::string source;
    // What the user opened, which names the document in the title, the legend and the pins:
    // the file read, or the deck or model whose NEC-2 run wrote it.
    std::string name;
    std::shared_ptr<const Result> result;
    // What of the result is drawn and compared (LoadedData::Shown of its last load).
    std::shared_ptr<const Result> shown;
    DocumentChoices choices;
};

// The controls a window shows beside the data, as a reload needs them.
class ChoiceControls {
public:
    virtual ~ChoiceControls() = default;
    // The curve-list entries on show and the log axes ticked.
    virtual DocumentChoices ShownChoices() const = 0;
    // How many entries the curve lists hold now.
    virtual int CurveCount(bool left) const = 0;
    // Selects curve-list entries without drawing.
    virtual void SelectCurves(int left, int right) = 0;
    // Draws the chosen curves, as a click on the left list does.
    virtual void DrawCurves() = 0;
    // Ticks a log box when it can be ticked now (its flag in the state too); false when not.
    virtual bool TickLogBox(bool x) = 0;
    // A reload brought another kind of data. Where the window shows it as a fresh open would,
    // it runs `reopen` (the same file, read afresh) and answers its outcome; true otherwise.
    virtual bool ReopenOtherKind(const std::function<bool()>& reopen) = 0;
};

struct ReloadOutcome {
    bool reloaded = false;
    // Why a reload failed, for the status line; empty when there was nothing to reload.
    std::string status;
};

// Compared: the comparison entries changed (added, read again, pinned or removed).
enum class SessionChange { Opened, Picked, Reloaded, Closed, Compared };

class DocumentSession {
public:
    using Observer = std::function<void(SessionChange, const Document*)>;

    DocumentSession(LoadContext& ctx, DataView& view) : ctx_(ctx), view_(view) {}

    // Opens from the source as the Open command does; the document read becomes the current
    // one, named `shownAs` when given (a NEC-2 run's output by its deck). A load that fails or
    // is cancelled changes nothing.
    bool Open(const LoadSource& source, const std::string& shownAs = {});
    bool OpenFile(const std::string& path, const std::string& shownAs = {});
    // Picks entry `index` of the current set list, from the result in memory: the file may be
    // half-rewritten at that moment.
    bool Pick(int index);
    // Shows `part` of the current NEC-2 output at its frequency nearest to mhz, derived from the
    // output in memory, as a fresh open would show it (a part the frequency lacks falls back as
    // the reader's does). The choice is the state's (ViewFlags::NecFrequency, the frequency
    // itself, and NecShown), which a reload keeps and a fresh open forgets. False, with nothing
    // changed, for a document that is no NEC-2 output.
    bool PickNec(double mhz, NecPart part);
    // The entry on show is the user's own pick, kept over reloads.
    void KeepPick();
    // Reads the current document's file again, keeping the choices: the curves, the user's pick
    // of the set list (by its text), the log axes. Its messages are held, not shown: nobody
    // asked for this load. A reload that fails says why on the status text; what it could not
    // read stays on show. `output` is read instead when given: a deck run again writes its new
    // output elsewhere, and the document keeps its name and its NEC-2 choices.
    ReloadOutcome Reload(ChoiceControls& controls, const std::string& output = {});
    // Forgets the current document: none is current until the next open.
    void Close();

    // Adds the result of a file to compare with the current one; the user is told why not (no
    // result on show, another kind, too many, a file that does not load) and nothing changes.
    // A file compared already is read again in its place.
    bool Compare(const std::string& path);
    // Keeps a copy of the current result as a pinned comparison entry.
    bool PinCurrent();
    // Removes every comparison entry, pinned ones too.
    void ClearComparisons();
    // Reads a compared file again after it changed. A file that no longer loads or no longer
    // compares keeps its entry as it was, and the status says why.
    ReloadOutcome ReloadComparison(const std::string& path);
    // The results shown against the current one, in the order added.
    const std::vector<Comparison>& Comparisons() const { return comparisons_; }

    const Document* Current() const;
    const std::vector<Document>& Documents() const { return documents_; }

    // Told of every change, until forgotten.
    int Observe(Observer observer);
    void Forget(int id);

private:
    bool OpenOn(LoadContext& ctx, const LoadSource& source, const std::string& shownAs);
    bool PickOn(LoadContext& ctx, int index);
    Document* CurrentDocument();
    // What of the current document is compared (of a NEC-2 output, the part on show).
    std::shared_ptr<const Result> ShownResult() const;
    void Notify(SessionChange change);
    // The choices of the current document, and what of it is shown, as the state now holds
    // them.
    void TakeShownChoices();
    // Comparisons that no longer match the current result go (a file of another kind opened).
    void DropUnmatchedComparisons();
    void Refuse(std::string_view text);

    LoadContext& ctx_;
    DataView& view_;
    std::vector<Document> documents_;
    // The index of the document on show; -1 for none.
    int current_ = -1;
    std::vector<Comparison> comparisons_;
    int pins_ = 0;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserver_ = 0;
};

} // namespace lobex
