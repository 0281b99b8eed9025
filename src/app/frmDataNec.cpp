#include "frmData.h"

#include "BackgroundRead.h"
#include "NecDeckOpen.h"
#include "core/TouchstoneFile.h"
#include "platform/QtTranslations.h"
#include "view3d/AntennaDescription.h"
#include "view3d/AntennaLoader.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <utility>

// NEC-2 in the window: decks and MMANA models computed by nec2c, and NEC outputs too large to
// read while the window waits.
namespace lobex {
namespace {

// Below this a file is read at once: a NEC output of this size parses in a few tens of
// milliseconds, and what the window shows stays simple to follow (and to test).
constexpr qint64 kBackgroundReadBytes = 1 << 20;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// What may be a NEC output (any name but a CSV's or a Touchstone file's), and is large.
bool ReadInBackground(const std::string& path) {
    return !path.empty() && !HasCsvExtension(path) && !HasTouchstoneExtension(path) &&
           QFileInfo(Q(path)).size() >= kBackgroundReadBytes;
}

} // namespace

void frmData::OpenChosenFile(const std::string& path) {
    if (!path.empty()) {
        DropPendingOpens();
    }
    if (IsNecDeck(path)) {
        OpenNecDeck(path);
    } else if (IsMaaModel(path)) {
        ComputeMaaModel(path);
    } else {
        OpenDataFile(path);
    }
}

bool frmData::OpenPending() const {
    // A load itself lets window events run before its result is on show.
    return loading_ || (necDeck_ && necDeck_->Running()) ||
           (backgroundRead_ && backgroundRead_->Reading());
}

void frmData::DropPendingOpens() {
    if (necDeck_) {
        necDeck_->Cancel();
    }
    if (backgroundRead_) {
        backgroundRead_->Cancel();
    }
}

void frmData::OpenDataFile(const std::string& path) {
    // A run's output is named after what the user opened: its deck or model.
    const auto shownAs = [this](const std::string& read) {
        return read == necRun_.second ? necRun_.first : std::string();
    };
    if (!ReadInBackground(path)) {
        const QScopedValueRollback<bool> loading(loading_, true);
        session_.OpenFile(path, shownAs(path));
        return;
    }
    if (!backgroundRead_) {
        backgroundRead_ = std::make_unique<BackgroundRead>(
            this, state_.AppTitle,
            [this] { return loading_ || QApplication::activeModalWidget() != nullptr; },
            [this, shownAs](const std::string& read, LoadResult&& result) {
                const QScopedValueRollback<bool> loading(loading_, true);
                session_.Open(LoadSource(read, std::move(result)), shownAs(read));
            });
    }
    // Another file starts at its first frequency's pattern, as the session opens it.
    LoadRequest request = FreshRequest(state_);
    request.necFrequency = 0.0;
    request.necPart = NecPart::Pattern;
    backgroundRead_->Start(path, request);
}

void frmData::mnuFileComputeNec_Click() {
    const std::string model = AskMaaModel(state_, services_.settings, services_.dialogs,
                                          tr("Рассчитать (NEC-2)").toStdString());
    // The result comes from a file, which the source buttons then say.
    if (!model.empty()) {
        OpenFileFromOutside(model);
    }
}

void frmData::ComputeMaaModel(const std::string& model, bool tellNotes) {
    MaaNecDeck deck;
    std::string why;
    if (!ReadMaaNecDeck(model, NecDeckChoices{}, deck, why)) {
        const std::string text =
            QCoreApplication::translate("lobex", "Модель нельзя рассчитать: ").toStdString() +
            model + "\r\n" + why;
        // A model rewritten by MMANA is computed again unasked: its refusal waits on the status
        // line, as a reload's does.
        if (tellNotes) {
            services_.messages.Show(text, MessageIcon::Critical, state_.AppTitle);
        } else {
            SetStatus(text);
        }
        return;
    }
    if (tellNotes && !deck.Notes.empty()) {
        std::string text =
            QCoreApplication::translate("lobex", "NEC-2 рассчитает модель %1 с оговорками:")
                .arg(QFileInfo(Q(model)).fileName())
                .toStdString();
        for (const DeckNote& note : deck.Notes) {
            text += "\r\n- " + NoteText(ShownText(note.Pattern).toStdString(), note.Args);
        }
        services_.messages.Show(text, MessageIcon::Information, state_.AppTitle);
    }
    necRerun_ = !tellNotes;
    NecRuns().RunText(model, deck.Text);
}

// A deck runs through nec2c while the window goes on; its output opens when the run ends.
void frmData::OpenNecDeck(const std::string& deck, bool rerun) {
    necRerun_ = rerun;
    NecRuns().Run(deck);
}

NecDeckOpen& frmData::NecRuns() {
    if (!necDeck_) {
        necDeck_ = std::make_unique<NecDeckOpen>(
            this, services_.messages, state_.AppTitle,
            [this](const std::string& ran, const std::string& output) {
                necRun_ = {ran, output};
                // The document's deck run again after it changed: its part and frequency stay.
                if (std::exchange(necRerun_, false) && ran == shownFile_) {
                    ReloadShown(output);
                } else {
                    OpenDataFile(output);
                }
            });
    }
    return *necDeck_;
}

QString frmData::ShownFileName(bool fullPath) const {
    const QString name = fullPath ? Q(shownFile_) : QFileInfo(Q(shownFile_)).fileName();
    return IsMaaModel(shownFile_) ? name + QStringLiteral(" (NEC-2)") : name;
}

} // namespace lobex
