#include "frmData.h"

#include "core/NecRun.h"

#include "CompareControls.h"
#include "PictureBox.h"
#include "core/Messages.h"
#include "core/Remembered.h"
#include "platform/FileChangeWatcher.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTime>
#include <QTimer>

// The file on show: the title naming it, the files opened before, and reading it again when
// another program rewrites it.
namespace lobex {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void frmData::ShowTitle() {
    const QString caption = ShownText(kMainWindowCaptions[1]);
    setWindowTitle(shownFile_.empty() ? caption
                                      : ShownFileName(false) + QStringLiteral(" - ") + caption);
}

void frmData::TakeShownDocument(SessionChange change, const Document* document) {
    if (change == SessionChange::Compared || change == SessionChange::Closed) {
        return;
    }
    shownFile_ = document != nullptr ? document->name : std::string();
    // A deck's output lives in a temporary folder: the deck is what the user opened.
    if (!shownFile_.empty() && shownFile_ != state_.Loaded.CurrentFile) {
        lblSource->setText(ShownFileName(true));
        if (IsMaaModel(shownFile_)) {
            SetStatus(kComputedWithNecStatus);
        }
    }
    if (change == SessionChange::Opened && !shownFile_.empty()) {
        recentFiles_ = WithRecentFile(std::move(recentFiles_), shownFile_);
        SaveRecentFiles(services_.settings, recentFiles_);
        FillRecentMenu();
    }
    ShowTitle();
    WatchShownFile();
}

void frmData::WatchShownFile() {
    fileWatch_->Watch(mnuFileReload->isChecked() ? shownFile_ : std::string());
}

void frmData::mnuFileReload_Click(bool on) {
    SaveReloadOnChange(services_.settings, on);
    WatchShownFile();
    compare_->Rewatch();
}

void frmData::FillRecentMenu() {
    // The entry clicked may be the one whose load refills the menu: old entries go later.
    for (QAction* old : mnuFileRecent->actions()) {
        mnuFileRecent->removeAction(old);
        old->deleteLater();
    }
    for (std::size_t i = 0; i < recentFiles_.size(); ++i) {
        QString path = QDir::toNativeSeparators(Q(recentFiles_[i]));
        QAction* entry = mnuFileRecent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(path.replace('&', QStringLiteral("&&"))));
        entry->setObjectName(QStringLiteral("mnuFileRecent(%1)").arg(i));
        connect(entry, &QAction::triggered, this,
                [this, i] { mnuFileRecent_Click(static_cast<int>(i)); });
    }
    mnuFileRecent->menuAction()->setEnabled(!recentFiles_.empty());
}

void frmData::mnuFileRecent_Click(int index) {
    if (index < 0 || index >= static_cast<int>(recentFiles_.size())) {
        return;
    }
    const std::string path = recentFiles_[static_cast<std::size_t>(index)];
    if (!QFileInfo::exists(Q(path))) {
        recentFiles_ = WithoutRecentFile(std::move(recentFiles_), path);
        SaveRecentFiles(services_.settings, recentFiles_);
        FillRecentMenu();
        services_.messages.Show(
            std::string(kFileNotFoundMessage) + ":\r\n" + path +
                "\r\n" QT_TRANSLATE_NOOP("lobex", "Он убран из списка последних файлов."),
            MessageIcon::Information, state_.AppTitle);
        return;
    }
    OpenFileFromOutside(path);
}

void frmData::ReloadChangedFile() {
    if (!mnuFileReload->isChecked() || shownFile_.empty()) {
        return;
    }
    if (loading_ || QApplication::activeModalWidget() != nullptr) {
        // Another load is letting events run, or a dialog waits in the middle of some work
        // that expects the data to stay: the change is read once they have ended.
        QTimer::singleShot(kSettlePauseMs, this, &frmData::ReloadChangedFile);
        return;
    }
    if (IsNecDeck(shownFile_)) {
        // A changed deck is run again, a changed model computed again: the output on show is
        // theirs, in a folder of its own.
        OpenNecDeck(shownFile_, true);
        return;
    }
    if (IsMaaModel(shownFile_)) {
        ComputeMaaModel(shownFile_, false);
        return;
    }
    ReloadShown();
}

void frmData::ReloadShown(const std::string& output) {
    const QScopedValueRollback<bool> loading(loading_, true);
    const QScopedValueRollback<bool> reloading(reloading_, true);
    const bool in3D = state_.View.View3DActive;
    const bool inBigWindow = d3d_ != nullptr;
    const ReloadOutcome outcome = session_.Reload(*this, output);
    if (!outcome.reloaded) {
        SetStatus(outcome.status);
        return;
    }
    if (in3D && plotArea_->Pattern().cmd3D->isEnabled()) {
        // The new pattern takes the old one's place in the 3D view, in the window it was in.
        cmd3D_Click();
        if (inBigWindow && state_.View.View3DActive) {
            picPlot_DblClick3D();
        }
    }
    // A model computed again keeps saying where its numbers come from.
    if (!IsMaaModel(shownFile_)) {
        SetStatus(QT_TRANSLATE_NOOP("lobex", "Файл перечитан: ") +
                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString());
    }
}

DocumentChoices frmData::ShownChoices() const {
    DocumentChoices choices;
    choices.left = cmbLeft->currentIndex();
    choices.right = cmbRight->currentIndex();
    choices.logX = state_.View.LogX;
    choices.logY = state_.View.LogY;
    return choices;
}

int frmData::CurveCount(bool left) const {
    return (left ? cmbLeft : cmbRight)->count();
}

void frmData::SelectCurves(int left, int right) {
    const QSignalBlocker quietLeft(cmbLeft);
    const QSignalBlocker quietRight(cmbRight);
    cmbLeft->setCurrentIndex(left);
    cmbRight->setCurrentIndex(right);
}

void frmData::DrawCurves() {
    CurveClick(true);
}

bool frmData::TickLogBox(bool x) {
    QCheckBox* box = x ? chkLogX : chkLogY;
    if (!box->isEnabled()) {
        return false;
    }
    box->setChecked(true);
    (x ? state_.View.LogX : state_.View.LogY) = true;
    return true;
}

bool frmData::ReopenOtherKind(const std::function<bool()>& reopen) {
    // Other data altogether is shown as an open shows it, which closes the polar window first.
    if (!polar_) {
        return true;
    }
    const QScopedValueRollback<bool> fresh(reloading_, false);
    return reopen();
}

} // namespace lobex
