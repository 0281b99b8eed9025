#include "frmData.h"

#include "GridModel.h"
#include "PictureBox.h"
#include "View3DHost.h"
#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/FileDialogs.h"
#include "core/LiveReload.h"
#include "core/LoadFlow.h"
#include "core/Messages.h"
#include "core/MmanaLink.h"
#include "core/Remembered.h"
#include "dialogs/frmAbout.h"
#include "frmD3D.h"
#include "frmPolar.h"
#include "graphs/CursorReadout.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "platform/FileChangeWatcher.h"
#include "platform/QtTranslations.h"
#include "plotter/PlotOutput.h"
#include "view3d/ConversionTool.h"
#include "view3d/GainColours.h"
#include "view3d/PatternModel.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace lobex {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// How long a rewritten file must hold still before it is read: MMANA writes its export in
// several pieces.
constexpr int kSettlePauseMs = 250;

} // namespace

struct frmData::ShownChoices {
    std::int16_t kind = KindNone;
    SetList sets;
    bool setPicked = false;
    int left = -1;
    int right = -1;
    bool logX = false;
    bool logY = false;
};

frmData::frmData(AppState& state, Services& services, PlotLink& link, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), ctx_{state, services.messages},
      link_(link), graph_{state, *this, services.messages, link} {
    setObjectName(QStringLiteral("frmData"));
    setAcceptDrops(true);
    BuildMenus();
    BuildControls();
    tmrTimer3D = new QTimer(this);
    tmrTimer3D->setObjectName(QStringLiteral("tmrTimer3D"));
    tmrTimer3D->setInterval(10);
    view3D_ = std::make_unique<View3DHost>(state_, services_.messages, *tmrTimer3D);
    connect(plotArea_->Pattern().cmd3D, &QPushButton::clicked, this, &frmData::cmd3D_Click);
    connect(plotArea_, &PlotArea::PictureBoxesResized, this, &frmData::RefitGraphs);
    connect(view3D_.get(), &View3DHost::DoubleClicked, this, &frmData::picPlot_DblClick3D);
    connect(view3D_.get(), &View3DHost::AntennaRequested, this,
            [this] { view3D_->OpenAntenna(services_.settings, services_.dialogs); });
    connect(cmdReturn, &QPushButton::clicked, this, [this] {
        cmdReturn_Click();
        // The polar window's 3D button closed the diagrams' documents: draw them again, as its
        // close box would, rather than show two empty boxes.
        if (state_.View.PatternShown && link_.Slots[kElevationSlot].HasBitmap != 1) {
            cmbParam_Click();
        }
    });
    connect(view3D_.get(), &View3DHost::SurfaceReadout, this, [this](const QString& text) {
        if (d3d_) {
            d3d_->lblReadout->setText(text);
        } else if (text.isEmpty()) {
            statusBar()->clearMessage();
        } else {
            statusBar()->showMessage(text);
        }
    });
    connect(chk3DRotate, &QCheckBox::toggled, this,
            [this](bool ticked) { view3D_->SetAutoRotate(ticked); });
    connect(chk3DWire, &QCheckBox::toggled, this,
            [this](bool ticked) { view3D_->SetWireframe(ticked); });
    connect(chk3DGain, &QCheckBox::toggled, this, [this](bool ticked) {
        view3D_->SetGainColours(ticked);
        SaveGainColourChoice(services_.settings, {ticked, float(spn3DGainRange->value())});
    });
    connect(spn3DGainRange, &QSpinBox::valueChanged, this, [this](int decibels) {
        view3D_->SetGainRange(decibels);
        SaveGainColourChoice(services_.settings, {chk3DGain->isChecked(), float(decibels)});
    });
    fileWatch_ = new FileChangeWatcher(kSettlePauseMs, this);
    connect(fileWatch_, &FileChangeWatcher::Changed, this, &frmData::ReloadChangedFile);
    // Only the user's own pick is kept over a reload; the program selects entries too.
    connect(cmbParam, &QComboBox::activated, this, [this] { setPicked_ = true; });

    ChoosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    // A session that ends closes the window like the program does, not like the close box.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this] { unloadingByProgram_ = true; });
}

frmData::~frmData() = default;

void frmData::Form_Load() {
    // The JPEG options last chosen apply from the start.
    const JpegSettingsText stored = ReadJpegSettings(services_.settings);
    jpeg_ = {JpegQualityFromText(stored.Quality), stored.Progressive, stored.Grayscale};
    // So do the 3D view's gain colours.
    const GainColourChoice colours = ReadGainColourChoice(services_.settings);
    spn3DGainRange->setValue(static_cast<int>(colours.RangeDb));
    chk3DGain->setChecked(colours.On);
    view3D_->SetGainColours(colours.On);
    view3D_->SetGainRange(static_cast<int>(colours.RangeDb));
    FillCurveList();
    resize(1220, 760);
    CentreOnScreen();
    lblStatus->clear();
    lblSource->clear();
    FillCombos(0);
    cmbParam->setEnabled(false);
    state_.View.PlotHost = PlotHostKind::MainWindow;
    SetFormLanguage();
    fraControls2->setFrameShape(QFrame::NoFrame);
    fraControls2->hide();
    mnuTools->menuAction()->setVisible(false);

    // What the user chose in earlier runs.
    const int source =
        InitialSourceIndex(ReadSetting(services_.settings, kDataSourceSetting), MmanaCanRun());
    optSrc[static_cast<std::size_t>(source)]->setChecked(true);
    state_.View.SourceIndex = static_cast<std::int16_t>(source);
    mnuFileReload->setChecked(ReadReloadOnChange(services_.settings));
    recentFiles_ = ReadRecentFiles(services_.settings);
    FillRecentMenu();
    const Language language = ReadLanguage(services_.settings);
    (language == Language::English ? mnuHelpLanguageEnglish : mnuHelpLanguageRussian)
        ->setChecked(true);
    ShowTitle();
}

void frmData::FillCombos(int kind) {
    const int n = kind == 0 ? kSeriesUpperBound - 1 : kind - 1;
    const auto label = [this](int index) {
        return ShownText(state_.Loaded.Data.Series[static_cast<std::size_t>(index)].Label);
    };
    {
        const QSignalBlocker quiet(cmbLeft);
        cmbLeft->clear();
        for (int i = 0; i <= n; ++i) {
            cmbLeft->addItem(label(i + 1), i + 1);
        }
        cmbLeft->setCurrentIndex(-1);
    }
    // Hidden while the selection changes, so the change does not draw a graph.
    cmbLeft->hide();
    cmbLeft->setCurrentIndex(0);
    cmbLeft->show();

    {
        const QSignalBlocker quiet(cmbRight);
        cmbRight->clear();
        cmbRight->addItem(QStringLiteral("None"), 0);
        for (int i = 1; i <= n + 1; ++i) {
            cmbRight->addItem(label(i), i);
        }
        cmbRight->setCurrentIndex(-1);
    }
    cmbRight->hide();
    cmbRight->setCurrentIndex(0);
    cmbRight->show();
}

void frmData::FillCurveList() {
    ClearGrid(state_);
    ShowGrid();
    ctlGrid->SelectRow(1);
    mnuFileSave->setEnabled(false);
}

void frmData::ShowPlotControls(bool mode3D) {
    if (mode3D) {
        fraControls1->hide();
        fraControls2->show();
    } else {
        fraControls2->hide();
        fraControls1->show();
    }
    plotArea_->ShowRectangularReadouts(!mode3D);
}

void frmData::closeEvent(QCloseEvent* event) {
    if (unloadingByProgram_) {
        event->accept();
        return;
    }
    event->ignore();
    services_.messages.Show(QT_TRANSLATE_NOOP("lobex",
                                              "Чтобы выйти из программы, нажмите кнопку Выход,\r\n"
                                              "либо меню Файл->Выход"),
                            MessageIcon::Information, state_.AppTitle);
}

void frmData::cmdExit_Click() {
    RunExit(state_, *this);
}

void frmData::mnuFileExit_Click() {
    cmdExit_Click();
}

void frmData::UnloadPolarWindow() {
    if (polar_) {
        polar_->UnloadByProgram();
    }
}

void frmData::StopPlotter() {
    lobex::StopPlotter(link_);
}

void frmData::ReleasePlotHost() {
    state_.View.PlotHost = PlotHostKind::None;
}

void frmData::UnloadMainWindow() {
    unloadingByProgram_ = true;
    close();
}

void frmData::mnuHelpContent_Click() {
    if (!services_.help.ShowHelp(helpFile_)) {
        services_.messages.Show(QT_TRANSLATE_NOOP("lobex", "Не удалось открыть справку: ") +
                                    helpFile_,
                                MessageIcon::Information, state_.AppTitle);
    }
}

void frmData::mnuHelpLanguage_Click(Language language) {
    SaveLanguage(services_.settings, language);
    // Said in the language chosen, which is not yet the one on show.
    services_.messages.Show(LanguageChosenMessage(language), MessageIcon::Information,
                            state_.AppTitle);
}

void frmData::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmData::ShowFromOtherCopy() {
    showNormal();
    raise();
    activateWindow();
}

// ---- Loading ----------------------------------------------------------------------------

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
    const QScopedValueRollback<bool> loading(loading_, true);
    OpenData(ctx_, *this, Source());
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

bool frmData::LoadData() {
    const QScopedValueRollback<bool> loading(loading_, true);
    return lobex::LoadData(ctx_, *this, Source());
}

std::string frmData::ChooseDataFile() {
    return fileFromOutside_.empty() ? services_.dialogs.ChooseDataFile("Open File")
                                    : fileFromOutside_;
}

void frmData::ShowLoadStart() {
    // New data leaves the 3D view, in either window, for the graphs, as the open command does:
    // the view would go on showing the pattern of the data it replaces, and its read-out too.
    if (state_.View.View3DActive || d3d_) {
        cmdReturn_Click();
    }
    if (!statusBar()->currentMessage().isEmpty()) {
        statusBar()->clearMessage();
    }
    if (!state_.View.SetChosen) {
        ResetCombos();
        setPicked_ = false;
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
    if (result.patternControls) {
        SetPatternControls(*result.patternControls);
    }
    if (result.curves) {
        FillCombos(*result.curves);
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
    mnuFileSave->setEnabled(!fromFile);
    shownFile_ = fromFile ? state_.Loaded.CurrentFile : std::string();
    if (fromFile && !state_.View.SetChosen && !reloading_) {
        recentFiles_ = WithRecentFile(std::move(recentFiles_), shownFile_);
        SaveRecentFiles(services_.settings, recentFiles_);
        FillRecentMenu();
    }
    ShowTitle();
    WatchShownFile();
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
    ReloadForParamEntry(state_, cmbParam->currentIndex(), [this] { return LoadData(); });
    cmbParam->setEnabled(true);
}

void frmData::mnuFileSave_Click() {
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
    // Let the drag finish before the load asks anything of the user.
    QTimer::singleShot(0, this, [this, path] { OpenFileFromOutside(path); });
}

void frmData::SetPolarLayout(bool polar) {
    HostArea().SetPolarLayout(polar);
    lblParam->setText(polar ? tr("Угол Места:") : tr("Набор:"));
}

// ---- The file on show and the files opened before ------------------------------------------

void frmData::ShowTitle() {
    const QString caption = ShownText(kMainWindowCaptions[1]);
    setWindowTitle(shownFile_.empty()
                       ? caption
                       : QFileInfo(Q(shownFile_)).fileName() + QStringLiteral(" - ") + caption);
}

void frmData::WatchShownFile() {
    fileWatch_->Watch(mnuFileReload->isChecked() ? shownFile_ : std::string());
}

void frmData::mnuFileReload_Click(bool on) {
    SaveReloadOnChange(services_.settings, on);
    WatchShownFile();
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

frmData::ShownChoices frmData::SaveChoices() const {
    ShownChoices choices;
    choices.kind = state_.Loaded.Data.DataKind;
    choices.sets = state_.Loaded.Sets;
    choices.setPicked = setPicked_;
    choices.left = cmbLeft->currentIndex();
    choices.right = cmbRight->currentIndex();
    choices.logX = state_.View.LogX;
    choices.logY = state_.View.LogY;
    return choices;
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
    const QScopedValueRollback<bool> loading(loading_, true);
    const QScopedValueRollback<bool> reloading(reloading_, true);
    const ShownChoices before = SaveChoices();
    const bool in3D = state_.View.View3DActive;
    const bool inBigWindow = d3d_ != nullptr;
    // Nobody asked for this load: its complaints go to the status line, not into boxes that
    // would pop up at every rewrite.
    HeldMessages held;
    LoadContext quiet{state_, held};
    const std::string path = shownFile_;
    const LoadSource source{nullptr, [path] {
                                return path;
                            }};
    if (!OpenData(quiet, *this, source)) {
        SetStatus(ReloadFailedStatus(held.Texts()));
        return;
    }
    if (!RestoreChoices(before, quiet, source)) {
        SetStatus(ReloadFailedStatus(held.Texts()));
        return;
    }
    if (in3D && plotArea_->Pattern().cmd3D->isEnabled()) {
        // The new pattern takes the old one's place in the 3D view, in the window it was in.
        cmd3D_Click();
        if (inBigWindow && state_.View.View3DActive) {
            picPlot_DblClick3D();
        }
    }
    SetStatus(QT_TRANSLATE_NOOP("lobex", "Файл перечитан: ") +
              QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString());
}

bool frmData::RestoreChoices(const ShownChoices& before, LoadContext& ctx,
                             const LoadSource& source) {
    if (state_.Loaded.Data.DataKind != before.kind) {
        // Other data altogether: shown as an open shows it, which closes the polar window first.
        if (!polar_) {
            return true;
        }
        const QScopedValueRollback<bool> fresh(reloading_, false);
        return OpenData(ctx, *this, source);
    }
    const int freshLeft = cmbLeft->currentIndex();
    const int freshRight = cmbRight->currentIndex();
    if (before.left < cmbLeft->count() && before.right < cmbRight->count()) {
        const QSignalBlocker quietLeft(cmbLeft);
        const QSignalBlocker quietRight(cmbRight);
        cmbLeft->setCurrentIndex(before.left);
        cmbRight->setCurrentIndex(before.right);
    }
    const int entry = before.setPicked ? RepickedEntry(before.sets, state_.Loaded.Sets) : -1;
    if (entry >= 0) {
        // The file may have changed again meanwhile; the fresh data then stays on show.
        if (!ReloadForParamEntry(state_, entry,
                                 [&] { return lobex::LoadData(ctx, *this, source); })) {
            return false;
        }
        setPicked_ = true;
    }
    if (cmbLeft->currentIndex() != freshLeft || cmbRight->currentIndex() != freshRight) {
        CurveClick(true);
    }
    bool logAxes = false;
    for (const auto& [box, ticked, flag] : {std::tuple{chkLogX, before.logX, &state_.View.LogX},
                                            std::tuple{chkLogY, before.logY, &state_.View.LogY}}) {
        if (ticked && box->isEnabled()) {
            box->setChecked(true);
            *flag = true;
            logAxes = true;
        }
    }
    if (logAxes) {
        cmbLeft_Click();
    }
    return true;
}

// ---- The window the readers change ----------------------------------------------------------

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

// ---- Graphs -------------------------------------------------------------------------------

PlotArea& frmData::HostArea() const {
    if (state_.View.PlotHost == PlotHostKind::PolarWindow && polar_) {
        return polar_->Area();
    }
    return *plotArea_;
}

const PlotHostControls& frmData::Host() const {
    return HostArea().Controls();
}

QCheckBox* frmData::LogBoxOf(LogBox box) const {
    return box == LogBox::X ? chkLogX : chkLogY;
}

void frmData::SetLogBoxVisible(LogBox box, bool visible) {
    LogBoxOf(box)->setVisible(visible);
}

void frmData::SetLogBoxEnabled(LogBox box, bool enabled) {
    LogBoxOf(box)->setEnabled(enabled);
}

void frmData::SetLogBoxTicked(LogBox box, bool ticked) {
    LogBoxOf(box)->setChecked(ticked);
}

void frmData::SetGraphMenusEnabled(bool enabled) {
    mnuFileGraph->setEnabled(enabled);
    mnuFileScreen->setEnabled(enabled);
}

CurveChoice frmData::SelectedCurve(CurveList list) const {
    const QComboBox* box = list == CurveList::Left ? cmbLeft : cmbRight;
    return {box->currentIndex(), box->currentData().toInt()};
}

void frmData::ShowPatternLabels(const PatternLabels& labels) {
    HostArea().ShowPatternLabels(labels);
}

void frmData::HidePolarResults() {
    HostArea().HidePolarResults();
}

PlotRect frmData::SlotClientRect(int slot) const {
    return HostArea().SlotClientRect(slot);
}

void frmData::PaintSlot(int slot) {
    HostArea().PaintSlot(slot);
}

void frmData::ClearSlotPicture(int slot) {
    HostArea().ClearSlotPicture(slot);
}

void frmData::RefitGraphs() {
    PlotArea& area = HostArea();
    for (int slot = 0; slot < kPlotSlotCount; ++slot) {
        if (area.SlotShown(slot) && RefitSlot(link_, slot, area.SlotClientRect(slot))) {
            area.PaintSlot(slot);
        }
    }
}

void frmData::cmbLeft_Click() {
    CurveClick(true);
}

void frmData::cmbRight_Click() {
    CurveClick(false);
}

void frmData::CurveClick(bool fromLeft) {
    QComboBox* clicked = fromLeft ? cmbLeft : cmbRight;
    if (clicked->isHidden() || cmbLeft->currentIndex() < 0 || cmbRight->currentIndex() < 0) {
        return;
    }
    cmbLeft->setEnabled(false);
    cmbRight->setEnabled(false);
    const bool bothFirst = cmbLeft->currentIndex() == 0 && cmbRight->currentIndex() == 0;
    const CurvePair pair =
        ChooseCurvePair(SelectedCurve(CurveList::Left), SelectedCurve(CurveList::Right));
    if (pair.resetRight) {
        // Reset while hidden from the left list, so that it does not draw; from the right list
        // the reset draws the single curve first, as the user would see it.
        if (fromLeft) {
            cmbRight->hide();
            cmbRight->setCurrentIndex(0);
            cmbRight->show();
        } else {
            cmbRight->setCurrentIndex(0);
        }
    }
    PlotChosenCurves(graph_, pair.left, pair.right);
    if (!bothFirst && !reloading_) {
        Host().window->raise();
    }
    cmbLeft->setEnabled(true);
    cmbRight->setEnabled(true);
}

void frmData::chkLogX_Click() {
    if (chkLogX->isEnabled()) {
        state_.View.LogX = chkLogX->isChecked();
        cmbLeft_Click();
    }
}

void frmData::chkLogY_Click() {
    if (chkLogY->isEnabled()) {
        state_.View.LogY = chkLogY->isChecked();
        cmbLeft_Click();
    }
}

void frmData::OpenPolarWindow() {
    ClosePlot(graph_, kElevationSlot);
    ClosePlot(graph_, kAzimuthSlot);
    polar_ = std::make_unique<frmPolar>(state_, link_);
    connect(polar_.get(), &frmPolar::Unloaded, this, &frmData::PolarWindowClosed);
    polar_->Area().Pattern().cmd3D->setEnabled(plotArea_->Pattern().cmd3D->isEnabled());
    connect(polar_->Area().Pattern().cmd3D, &QPushButton::clicked, this,
            &frmData::PolarCmd3D_Click);
    connect(&polar_->Area(), &PlotArea::PictureBoxesResized, this, &frmData::RefitGraphs);
    mainGeometry_ = geometry();
    ShrinkForPolarWindow(true);
    polar_->Form_Load();
    SetFormLanguage();
    SetPolarLayout(true);
    polar_->show();
    cmbParam_Click();
    // A window of its own, in front: the reload above brings the main window forward.
    if (polar_) {
        polar_->raise();
        polar_->activateWindow();
    }
}

void frmData::ShrinkForPolarWindow(bool shrink) {
    plotArea_->Controls().picPolar1->hide();
    plotArea_->Controls().picPolar2->hide();
    plotArea_->setVisible(!shrink);
    if (shrink) {
        // Only the controls stay: the diagrams are drawn in the polar window.
        QTimer::singleShot(0, this, [this] {
            if (polar_) {
                resize(minimumSizeHint().width(), height());
            }
        });
    }
}

void frmData::PolarWindowClosed(bool replot) {
    ShrinkForPolarWindow(false);
    setGeometry(mainGeometry_);
    if (polar_) {
        polar_->deleteLater();
        polar_.release();
    }
    if (replot) {
        cmbParam_Click();
    }
}

// ---- Tools --------------------------------------------------------------------------------

void frmData::mnuToolsDSCFile_Click() {
    ConversionContext conversion{state_, services_.messages, services_.settings, services_.dialogs};
    std::string path;
    ConvertCsvToDsc(conversion, path);
}

void frmData::mnuToolsDSCFolder_Click() {
    ConversionContext conversion{state_, services_.messages, services_.settings, services_.dialogs};
    ConvertCsvFolder(conversion, [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            QCoreApplication::processEvents();
        } else {
            QApplication::restoreOverrideCursor();
        }
    });
}

} // namespace lobex
