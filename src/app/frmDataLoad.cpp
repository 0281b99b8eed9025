#include "frmData.h"

#include "CompareControls.h"
#include "NecDeckOpen.h"

#include "PictureBox.h"
#include "core/DataGrid.h"
#include "core/FileDialogs.h"
#include "frmPolar.h"
#include "graphs/PolarGraph.h"
#include "graphs/SmithGraph.h"
#include "platform/QtTranslations.h"
#include "view3d/CurrentPaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <variant>

// Loading: where "Открыть" reads, and the window as the load flow shows what it read.
namespace lobex {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// Choosing a source only says where the next "Открыть" reads: the data on show stays until a
// load replaces it.
void frmData::optSrc_Click(int index) {
    state_.View.SourceIndex = static_cast<std::int16_t>(index);
    WriteSetting(services_.settings, kDataSourceSetting, SourceSettingText(index));
}

void frmData::mnuData_Click() {
    const bool mmana = optSrc[0]->isChecked();
    mnuDataSrcMMANA->setChecked(mmana);
    mnuDataSrcFile->setChecked(!mmana);
}

void frmData::mnuDataSrcMMANA_Click() {
    mnuDataSrcFile->setChecked(false);
    mnuDataSrcMMANA->setChecked(true);
    optSrc[0]->setChecked(true);
    optSrc_Click(0);
}

void frmData::mnuDataSrcFile_Click() {
    mnuDataSrcMMANA->setChecked(false);
    mnuDataSrcFile->setChecked(true);
    optSrc[1]->setChecked(true);
    optSrc_Click(1);
}

void frmData::ResetCombos() {
    cmbLeft->setEnabled(false);
    cmbRight->setEnabled(false);
    state_.Loaded.Sets = SetList{};
    ShowSetList();
    cmbParam->setEnabled(false);
}

void frmData::cmdRun_Click() {
    if (state_.View.SourceIndex == 0) {
        DropPendingOpens();
        const QScopedValueRollback<bool> loading(loading_, true);
        session_.Open(Source());
        return;
    }
    OpenChosenFile(ChooseDataFile());
}

void frmData::mnuFileOpen_Click() {
    cmdRun_Click();
}

void frmData::OpenFileFromOutside(const std::string& path) {
    if (!optSrc[1]->isChecked()) {
        optSrc[1]->setChecked(true);
        optSrc_Click(1);
    }
    fileFromOutside_ = path;
    cmdRun_Click();
    fileFromOutside_.clear();
}

LoadSource frmData::Source() {
    LoadSource source;
    if (state_.View.SourceIndex == 0) {
        source.mmana = &services_.mmana;
    } else {
        source.chooseFile = [this] {
            return ChooseDataFile();
        };
    }
    return source;
}

std::string frmData::ChooseDataFile() {
    return fileFromOutside_.empty() ? services_.dialogs.ChooseDataFile("Open File")
                                    : fileFromOutside_;
}

void frmData::ShowLoadStart() {
    // New data leaves the 3D view, in either window, for the graphs, as the open command does:
    // the view would go on showing the pattern of the data it replaces, and its read-out too.
    if ((state_.View.View3DActive || d3d_) && !keep3D_) {
        cmdReturn_Click();
    }
    if (!statusBar()->currentMessage().isEmpty()) {
        statusBar()->clearMessage();
    }
    if (!state_.View.SetChosen) {
        ResetCombos();
        if (!reloading_) {
            UnloadPolarWindow();
            SetPolarLayout(false);
        }
    }
    for (int slot : {kElevationSlot, kAzimuthSlot, kMainSlot}) {
        ClosePlot(graph_, slot);
    }
    if (!(state_.View.PatternShown && state_.View.SetChosen)) {
        ShowGrid();
        ctlGrid->SelectRow(1);
        mnuFileSave->setEnabled(false);
    }
    for (QCheckBox* box : {chkLogX, chkLogY}) {
        box->setEnabled(false);
        box->setChecked(false);
    }
    ShowSetList();
}

bool frmData::ShowPattern() {
    return lobex::ShowPattern(graph_, 1, 2);
}

void frmData::ShowLoadResult(const LoadResult& result) {
    if (result.loaded && result.reader == KindFarField) {
        Set3DButtonEnabled(false);
    }
    if (result.loaded && result.setCaption) {
        lblParam->setText(ShownText(*result.setCaption));
    }
    ShowSetList();
    if (!result.loaded) {
        return; // what was on show stays, its set list choice included
    }
    HostArea().ClearReadouts();
    // The document is in place only now: the diagrams drawn during the load had the old one.
    HostArea().ShowPatternFigures();
    DeriveCurves();
    ShowImpedance();
    // The pulses of a current file (and a NEC-2 output's segments) carry their places, so the
    // wires can be shown in 3D.
    const Result* document = state_.Loaded.Document.get();
    cmdCurrents3D->setVisible(state_.Loaded.Data.DataKind == KindCurrents && document != nullptr &&
                              !ShownCurrents(*document, state_.View.NecFrequency).empty());
    cmdCurrents3D->setEnabled(plotArea_->Pattern().View3DUsable);
    if (result.patternControls) {
        SetPatternControls(*result.patternControls);
    }
    if (result.curves) {
        FillCombos(*result.curves);
        // Impedance data is also offered as a Smith chart, after its curves.
        if (OffersSmithChart(result.reader)) {
            const QSignalBlocker quiet(cmbLeft);
            cmbLeft->addItem(ShownText(kSmithChartName), kSmithChartItem);
        }
    }
    ShowGrid();
    ctlGrid->SelectRow(1);

    cmbRight->setEnabled(true);
    cmbLeft->setEnabled(true);
    cmdPrint->setEnabled(true);
    cmbParam->setEnabled(cmbParam->count() >= 1);
    if (!state_.View.SetChosen) {
        ChooseInitialCurves();
    }
    if (!state_.View.PatternShown) {
        cmbLeft_Click();
    }
    // A reload reads the file on show whatever source is chosen now.
    const bool fromFile = reloading_ || state_.View.SourceIndex != 0;
    lblSource->setText(fromFile ? Q(state_.Loaded.CurrentFile) : QStringLiteral("MMANA"));
    mnuFileGraph->setEnabled(true);
    mnuFileScreen->setEnabled(true);
    // Data read from MMANA's window is saved as CSV, a sweep as Touchstone.
    mnuFileSave->setEnabled(!fromFile || state_.Loaded.Data.DataKind == KindSweep);
    // A reload comes from another program's work: the window stays where the user left it.
    if (!reloading_) {
        raise();
    }
}

void frmData::SetBusy(bool busy) {
    // The load runs to its end before the user can start another (events run meanwhile without
    // user input), so the window still repaints under the wait cursor.
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

// The curves first drawn for each kind of data: entry k of the left list is series k + 1,
// entry k of the right list is series k, entry 0 there being "None".
void frmData::ChooseInitialCurves() {
    cmbLeft->hide();
    cmbRight->hide();
    cmbRight->setCurrentIndex(0);
    const std::int16_t kind = state_.Loaded.Data.DataKind;
    if (kind == KindNearField || kind == KindCurrents) {
        cmbLeft->setCurrentIndex(2);
        cmbRight->setCurrentIndex(0);
    } else {
        cmbLeft->setCurrentIndex(0);
        cmbRight->setCurrentIndex(2);
    }
    if (kind == KindFarField) {
        const std::size_t zeniths =
            state_.Loaded.FarField.empty() ? 0 : state_.Loaded.FarField[0].Points.size();
        Enable3DButton(plotArea_->Pattern(), zeniths > 1);
    }
    cmbLeft->show();
    cmbRight->show();
}

void frmData::cmbParam_Click() {
    if (cmbParam->isHidden() || cmbParam->currentIndex() < 0) {
        return;
    }
    cmbParam->setEnabled(false);
    {
        const QScopedValueRollback<bool> loading(loading_, true);
        session_.Pick(cmbParam->currentIndex());
    }
    cmbParam->setEnabled(true);
}

void frmData::mnuFileSave_Click() {
    if (state_.Loaded.Data.DataKind == KindSweep) {
        SaveTouchstone();
        return;
    }
    // Data files are saved where data files are read, until a save folder is remembered.
    if (OpenSaveFileDialog(state_, services_.settings, services_.dialogs, "CSV File (*.csv)|*.csv",
                           LastDataFolder(state_, services_.settings)) == 0) {
        return;
    }
    if (ExportCsv(ctx_, state_.Paths.SaveFileName)) {
        SetStatus(SavedStatus(state_.Paths.SaveFileName));
    }
}

void frmData::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void frmData::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    const std::string path = QDir::toNativeSeparators(urls.front().toLocalFile()).toStdString();
    // Let the drag finish before the load asks anything of the user. With Ctrl held the file
    // is compared with the one on show instead.
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        QTimer::singleShot(0, this, [this, path] { compare_->CompareWith(path); });
        return;
    }
    QTimer::singleShot(0, this, [this, path] { OpenFileFromOutside(path); });
}

void frmData::SetPolarLayout(bool polar) {
    HostArea().SetPolarLayout(polar);
    lblParam->setText(polar ? tr("Угол Места:") : tr("Набор:"));
}

void frmData::ShowSetList() {
    const QSignalBlocker quiet(cmbParam);
    cmbParam->clear();
    for (const SetListEntry& entry : state_.Loaded.Sets.entries) {
        cmbParam->addItem(Q(entry.text), entry.itemData);
    }
    cmbParam->setCurrentIndex(state_.Loaded.Sets.selected);
}

void frmData::SetPatternControls(bool enabled) {
    HostArea().SetPatternControls(enabled);
    Set3DButtonEnabled(enabled);
}

void frmData::Set3DButtonEnabled(bool enabled) {
    Enable3DButton(plotArea_->Pattern(), enabled);
    if (polar_) {
        polar_->Area().Pattern().cmd3D->setEnabled(plotArea_->Pattern().cmd3D->isEnabled());
    }
}

void frmData::SetStatus(std::string_view text) {
    lblStatus->setText(ShownText(text));
}

void frmData::ShowGrid() {
    ctlGrid->SetDecimalSeparator(state_.DecimalSeparator);
    ctlGrid->Show(state_.Loaded.DataGrid, state_.Loaded.Data.GridRowCount);
}

void frmData::PumpEvents() {
    // The sort asks often; painting now and then is enough, and clicks wait for the load.
    static constexpr qint64 kIntervalMs = 30;
    if (!pumpClock_.isValid() || pumpClock_.elapsed() >= kIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        pumpClock_.restart();
    }
}

} // namespace lobex
