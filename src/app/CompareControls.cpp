#include "CompareControls.h"

#include "core/FileDialogs.h"
#include "platform/FileChangeWatcher.h"
#include "platform/QtTranslations.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QTime>

namespace lobex {
namespace {

// How long a rewritten compared file must hold still before it is read, as the file on show.
constexpr int kSettlePauseMs = 250;

QAction* NamedAction(QMenu& menu, QAction* before, const char* name, const QString& text) {
    auto* action = new QAction(text, &menu);
    action->setObjectName(QLatin1String(name));
    menu.insertAction(before, action);
    return action;
}

} // namespace

CompareControls::CompareControls(DocumentSession& session, AppState& state, Services& services,
                                 QMenu& file, QAction* before, Hooks hooks, QObject* parent)
    : QObject(parent), session_(session), state_(state), services_(services),
      hooks_(std::move(hooks)) {
    mnuFileCompare = NamedAction(file, before, "mnuFileCompare", tr("Сравнить с…"));
    mnuFileComparePin = NamedAction(file, before, "mnuFileComparePin", tr("Запомнить как эталон"));
    mnuFileCompareClear = NamedAction(file, before, "mnuFileCompareClear", tr("Убрать сравнение"));
    mnuFileCompareNormalise =
        NamedAction(file, before, "mnuFileCompareNormalise", tr("Нормировать"));
    mnuFileCompareNormalise->setCheckable(true);
    mnuFileCompareDifference =
        NamedAction(file, before, "mnuFileCompareDifference", tr("Разность"));
    mnuFileCompareDifference->setCheckable(true);
    mnuFileCompareDifference->setEnabled(false);
    mnuFileCompareDifference->setToolTip(
        tr("Первая сравниваемая диаграмма минус открытая, в дБ: кривые по углу и цвет "
           "поверхности в 3D"));
    file.insertSeparator(before);
    mnuFileCompareNormalise->setToolTip(
        tr("Каждая диаграмма относительно своего максимума, а не в абсолютных dBi"));
    mnuFileCompareClear->setEnabled(false);
    connect(mnuFileCompare, &QAction::triggered, this, &CompareControls::mnuFileCompare_Click);
    connect(mnuFileComparePin, &QAction::triggered, this, [this] { session_.PinCurrent(); });
    connect(mnuFileCompareClear, &QAction::triggered, this,
            [this] { session_.ClearComparisons(); });
    connect(mnuFileCompareNormalise, &QAction::toggled, this, [this](bool on) {
        state_.Compare.Normalise = on;
        if (!state_.Compare.Results.empty()) {
            hooks_.redraw();
        }
    });
    connect(mnuFileCompareDifference, &QAction::toggled, this, [this](bool on) {
        state_.Compare.Difference = on;
        if (!state_.Compare.Results.empty()) {
            hooks_.redraw();
            hooks_.difference();
        }
        // A difference refused turned itself off.
        if (on && !state_.Compare.Difference) {
            const QSignalBlocker quiet(mnuFileCompareDifference);
            mnuFileCompareDifference->setChecked(false);
        }
    });
    observer_ =
        session_.Observe([this](SessionChange change, const Document*) { SessionChanged(change); });
}

CompareControls::~CompareControls() {
    session_.Forget(observer_);
}

void CompareControls::mnuFileCompare_Click() {
    const std::string path = services_.dialogs.ChooseDataFile(
        ShownText(QT_TRANSLATE_NOOP("lobex", "Сравнить с")).toStdString());
    if (!path.empty()) {
        CompareWith(path);
    }
}

void CompareControls::CompareWith(const std::string& path) {
    session_.Compare(path);
}

void CompareControls::TakeEntries() {
    const Document* current = session_.Current();
    state_.Compare.ShownLabel =
        ShownText(ComparisonName(current != nullptr ? current->name : std::string())).toStdString();
    const std::string pinnedLabel = ShownText(kPinnedLabel).toStdString();
    state_.Compare.Results.clear();
    for (const Comparison& entry : session_.Comparisons()) {
        state_.Compare.Results.push_back({ComparisonLabel(entry, pinnedLabel), entry.result});
    }
    mnuFileCompareClear->setEnabled(!session_.Comparisons().empty());
    mnuFileCompareDifference->setEnabled(!session_.Comparisons().empty());
    if (session_.Comparisons().empty()) {
        mnuFileCompareDifference->setChecked(false);
    }
}

void CompareControls::SessionChanged(SessionChange change) {
    if (change == SessionChange::Compared) {
        TakeEntries();
        Rewatch();
        hooks_.redraw();
        hooks_.difference();
    } else if (change == SessionChange::Opened && !session_.Comparisons().empty()) {
        // Another file of the kind compared: the legend names it.
        TakeEntries();
        hooks_.redraw();
    } else if (change == SessionChange::Closed) {
        TakeEntries();
        Rewatch();
    }
}

void CompareControls::Rewatch() {
    std::vector<std::string> files;
    if (hooks_.reloadOn()) {
        for (const Comparison& entry : session_.Comparisons()) {
            if (!entry.pinned) {
                files.push_back(entry.source);
            }
        }
    }
    while (watches_.size() > files.size()) {
        watches_.back()->deleteLater();
        watches_.pop_back();
    }
    while (watches_.size() < files.size()) {
        auto* watch = new FileChangeWatcher(kSettlePauseMs, this);
        connect(watch, &FileChangeWatcher::Changed, this,
                [this, watch] { ReloadCompared(watch->Path()); });
        watches_.push_back(watch);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (watches_[i]->Path() != files[i]) {
            watches_[i]->Watch(files[i]);
        }
    }
}

void CompareControls::ReloadCompared(const std::string& path) {
    const ReloadOutcome outcome = session_.ReloadComparison(path);
    if (!outcome.reloaded) {
        if (!outcome.status.empty()) {
            hooks_.status(outcome.status);
        }
        return;
    }
    hooks_.status(QT_TRANSLATE_NOOP("lobex", "Файл перечитан: ") +
                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString());
}

} // namespace lobex
