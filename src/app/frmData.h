#pragma once

#include "DataGridView.h"
#include "PlotArea.h"
#include "core/AppState.h"
#include "core/DataView.h"
#include "core/Lifecycle.h"
#include "core/LoadContext.h"
#include "core/LoadFlow.h"
#include "core/Remembered.h"
#include "core/Services.h"
#include "graphs/GraphView.h"
#include "graphs/PlotLink.h"
#include "images/JpegOptions.h"
#include "images/clsGIF.h"
#include "session/DocumentSession.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QRect>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QSpinBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

namespace lobex {

class ImpedanceBar;
class PictureBox;
class View3DHost;
class frmPolar;
class frmD3D;
class FileChangeWatcher;
class CompareControls;
class NecControls;
class NecDeckOpen;
class BackgroundRead;

// The two captions the program holds for its main window; the window always carries the
// second. Their wording is the program's own.
inline constexpr std::array<const char*, 2> kMainWindowCaptions = {
    "Lobex - MMANA Data Viewer", QT_TRANSLATE_NOOP("lobex", "Lobex - просмотр результатов MMANA")};

// The status line of a result computed from an MMANA model with NEC-2.
inline constexpr std::string_view kComputedWithNecStatus =
    QT_TRANSLATE_NOOP("lobex", "Рассчитано NEC-2; числа немного отличаются от MININEC MMANA");

// The main window: source choice, curve lists, the data grid and the graph area. It shows what
// the load flow (DataView) and the graph code (GraphView) leave in the shared state.
class frmData : public QMainWindow,
                public DataView,
                public GraphView,
                private ExitSteps,
                private ChoiceControls {
    Q_OBJECT
public:
    frmData(AppState& state, Services& services, PlotLink& link, QWidget* parent = nullptr);
    ~frmData() override;

    // Runs once after construction, before the window is shown.
    void Form_Load();
    void SetFormLanguage();
    void FillCurveList();
    // The curve lists filled from the series labels: kind - 1 curves, or six for kind 0.
    void FillCombos(int kind);
    void ShowPlotControls(bool mode3D) override;
    void OpenPolarWindow();
    // The 3D view of the pattern in place of the graph, and back.
    void cmd3D_Click();
    // The polar window's "3D Модель": the view opens in the 3D window.
    void PolarCmd3D_Click();
    void cmdReturn_Click();
    // The 3D view shows the wires of the current file alone (true) or the pattern: the boxes
    // that belong to one of them only, and the return button's word; "Фаза" wherever currents
    // are drawn (phase).
    void Show3DControlsFor(bool currents, bool phase);
    // A double click on the 3D view moves it into its own large window; "Выход" there brings it
    // back.
    void picPlot_DblClick3D();
    void D3DWindowExit();
    frmD3D* D3DWindow() const { return d3d_.get(); }
    // The 3D button, an antenna as Shift+F2 would load it, the big window when asked, and a few
    // frames; the window that shows the view.
    QWidget* Show3DForCommandLine(const std::string& antenna, bool ownWindow);
    // An open still under way: a NEC-2 run, a large file read off the window's thread, or the
    // load of what they gave.
    bool OpenPending() const;
    View3DHost& View3D() { return *view3D_; }
    // "Сравнить с…" and the other comparison commands.
    CompareControls& Comparisons() { return *compare_; }
    // What of a NEC-2 output is on show, and its frequency.
    NecControls& Nec() { return *nec_; }
    // Shows part of the NEC-2 output on show at its frequency nearest to mhz, from memory. Another
    // pattern keeps the polar window and the 3D view (its camera and flags) where they are.
    void PickNec(double mhz, NecPart part);
    // The 3D view takes the currents of the frequency on show for its wires (a NEC-2 output's,
    // or a current file's) and names the frequency in its corner.
    void TakeShownFrequency3D();

    void ResetCombos();
    // Opens a file given from outside (the command line, a drop) as if chosen in the dialog.
    void OpenFileFromOutside(const std::string& path);
    // Runs a NEC-2 deck (.nec) through nec2c without holding the window and opens its output as
    // a NEC document; a run that fails or is cancelled leaves the document on show. A rerun of
    // the deck on show (it changed) reads its new output as a reload does, the choices kept.
    void OpenNecDeck(const std::string& deck, bool rerun = false);
    // Computes an MMANA model (.maa) with NEC-2: its deck, what the deck cannot hold told first
    // (unless tellNotes is false), runs as a deck does; the result is named after the model.
    // tellNotes false is the model on show computed again after it changed: a rerun.
    void ComputeMaaModel(const std::string& model, bool tellNotes = true);
    // A load runs (its events are let through while it reads).
    bool Loading() const { return loading_; }

    std::string HelpFile() const { return helpFile_; }

    // Puts a picture of the active window of the program on the clipboard and, with a path,
    // also saves it there as BMP; false after telling the user why not.
    bool CaptureActiveWindow(const std::string& path);
    // The pixels of a control as shown, on the clipboard; false when they cannot be read.
    bool CopyControlToClipboard(QWidget& control);
    // The 3D view's picture on the clipboard; true at once while no 3D view is shown.
    bool Copy3DViewToClipboard(QWidget& control);
    // The graph save's two additions in the 3D view; false when nothing was written.
    // False with the reason in *reason when the file could not be written.
    bool Save3DModel(const std::string& path, std::string* reason = nullptr);
    bool Save3DTurntable(const std::string& path, std::string* reason = nullptr);
    // The animated GIF of a NEC-2 output's pattern over its frequencies, as the view shows it.
    bool Save3DOverFrequency(const std::string& path, std::string* reason = nullptr);
    // Where the 3D view is shown, to take its picture from: the big window's picture box or the
    // view in the main window's.
    QWidget& View3DPictureBox();
    // Chooses the printer for a print job (the print dialog); false when the user cancels.
    std::function<bool(QPrinter&)> ChoosePrinter;
    // Whether MMANA can run here; without it the first start reads files. Asked by Form_Load.
    std::function<bool()> MmanaCanRun = [] {
        return true;
    };

    // Reads the file on show again after another program rewrote it, keeping what the user
    // chose: the set, the curves, the log axes and the polar window. A failure leaves the data
    // as it was and says so on the status line.
    void ReloadChangedFile();
    // The reload itself, of the document's file or of its deck's new output; the 3D view stays.
    void ReloadShown(const std::string& output = {});

    // DataView.
    void ShowLoadStart() override;
    bool ShowPattern() override;
    void ShowLoadResult(const LoadResult& result) override;
    void SetStatus(std::string_view text) override;
    void SetBusy(bool busy) override;
    void PumpEvents() override;

    // GraphView.
    void SetLogBoxVisible(LogBox box, bool visible) override;
    void SetLogBoxEnabled(LogBox box, bool enabled) override;
    void SetLogBoxTicked(LogBox box, bool ticked) override;
    void SetGraphMenusEnabled(bool enabled) override;
    CurveChoice SelectedCurve(CurveList list) const override;
    void ShowPatternLabels(const PatternLabels& labels) override;
    void HidePolarResults() override;
    void SetPolarLayout(bool polar) override;
    PlotRect SlotClientRect(int slot) const override;
    void PaintSlot(int slot) override;
    void ClearSlotPicture(int slot) override;
    void SetPatternControls(bool enabled) override;
    void Set3DButtonEnabled(bool enabled) override;

public slots:
    void optSrc_Click(int index);
    void mnuData_Click();
    void mnuDataSrcMMANA_Click();
    void mnuDataSrcFile_Click();
    void cmdRun_Click();
    void mnuFileOpen_Click();
    // Файл ▸ "Рассчитать (NEC-2)": asks for a model and computes it.
    void mnuFileComputeNec_Click();
    void mnuFileSave_Click();
    void mnuFileReload_Click(bool on);
    // Entry `index` of the recent files.
    void mnuFileRecent_Click(int index);
    void cmbParam_Click();
    void cmbLeft_Click();
    void cmbRight_Click();
    void chkLogX_Click();
    void chkLogY_Click();
    // The reference impedance entered under the graph: the derived curves follow it; an entry
    // that is no impedance is refused and the previous one stays.
    void cmbZ0_Click();
    void cmbSwrLimit_Click(double threshold);
    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuFileGraphCopy_Click();
    void mnuFileGraphPrint_Click();
    void mnuFileGraphSave_Click();
    void cmdPrint_Click();
    void cmdCapture_Click();
    void mnuFileScreenCopy_Click();
    void mnuFileScreenSave_Click();
    void mnuToolsDSCFile_Click();
    void mnuToolsDSCFolder_Click();
    void mnuHelpContent_Click();
    void mnuHelpAbout_Click();
    // The interface language for the next start.
    void mnuHelpLanguage_Click(Language language);
    // A later copy of the program asked for this window.
    void ShowFromOtherCopy();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void SetToolTips();
    void CentreOnScreen();
    void ChooseInitialCurves();
    std::string ChooseDataFile();
    // Where "Открыть" reads: the running MMANA or a data file, as the source buttons say.
    LoadSource Source();
    void ShowGrid();
    // The title names the file on show.
    void ShowTitle();
    // The document on show names the title, the source line and the recent files, and is
    // watched.
    void TakeShownDocument(SessionChange change, const Document* document);
    // The file on show is watched for changes while reloading is on.
    void WatchShownFile();
    void FillRecentMenu();
    // A file chosen to open: a deck runs, a model is computed, anything else is read.
    void OpenChosenFile(const std::string& path);
    // Reads a data file as Open does; a large one that may be a NEC output off the window's
    // thread, the data on show staying until it has been read.
    void OpenDataFile(const std::string& path);
    // The nec2c runs of decks and models, made when first needed.
    NecDeckOpen& NecRuns();
    // The latest open wins: a run or read still going on is dropped.
    void DropPendingOpens();
    // The file on show as the title and the source line name it: a model computed with NEC-2
    // says so.
    QString ShownFileName(bool fullPath) const;
    // The curve lists and log boxes, as a reload keeps them.
    DocumentChoices ShownChoices() const override;
    int CurveCount(bool left) const override;
    void SelectCurves(int left, int right) override;
    void DrawCurves() override;
    bool TickLogBox(bool x) override;
    bool ReopenOtherKind(const std::function<bool()>& reopen) override;
    void ShowSetList();
    // The reference impedance and SWR threshold remembered from earlier runs.
    void ReadImpedanceChoice();
    // The derived curves of the data on show at the chosen reference impedance, and the
    // impedance bar under the graph, shown for data with R and jX.
    void DeriveCurves();
    void ShowImpedance();
    // Файл ▸ Сохранить for a sweep: a Touchstone file.
    void SaveTouchstone();
    void CurveClick(bool fromLeft);
    int AskGraphChoice();
    void BringViewWindowsToFront();
    // "Общая шкала" and the step keys of a NEC-2 output, once the 3D view is there.
    void ConnectNecControls();
    QWidget* ActiveProgramWindow();
    QCheckBox* LogBoxOf(LogBox box) const;
    // The graph area of the window PlotHost names, and its controls.
    PlotArea& HostArea() const;
    const PlotHostControls& Host() const;
    // The polar window takes the diagrams: the main window keeps only its controls.
    void ShrinkForPolarWindow(bool shrink);
    // The polar window has gone; replot says whether the diagrams come back here.
    void PolarWindowClosed(bool replot);
    // Graphs whose picture boxes changed size are drawn again at the new size.
    void RefitGraphs();
    QImage GraphPicture(QWidget& source);

    // Exit steps; the views they tear down arrive with the plot engine and the 3D view.
    void Stop3DView() override;
    void UnloadD3DWindow() override;
    void UnloadPolarWindow() override;
    void StopPlotter() override;
    void ReleasePlotHost() override;
    void UnloadMainWindow() override;

    AppState& state_;
    Services& services_;
    LoadContext ctx_;
    // The documents opened; picks and reloads go through it.
    DocumentSession session_;
    PlotLink& link_;
    GraphContext graph_;
    std::unique_ptr<frmPolar> polar_;
    std::unique_ptr<frmD3D> d3d_;
    // The main window's place before the polar window shrank it, given back on closing.
    QRect mainGeometry_;
    std::string helpFile_;
    bool unloadingByProgram_ = false;
    // A file given from outside, used by the next load instead of the dialog.
    std::string fileFromOutside_;
    std::unique_ptr<NecDeckOpen> necDeck_;
    std::unique_ptr<BackgroundRead> backgroundRead_;
    // The deck or model of the last run that opened, and its output file.
    std::pair<std::string, std::string> necRun_;
    // The run going on is the document's deck or model run again.
    bool necRerun_ = false;
    // The file the data on show came from; empty for data from MMANA or none.
    std::string shownFile_;
    std::vector<std::string> recentFiles_;
    FileChangeWatcher* fileWatch_ = nullptr;
    CompareControls* compare_ = nullptr;
    NecControls* nec_ = nullptr;
    // A NEC-2 output's next pattern is loading into the 3D view: the view stays.
    bool keep3D_ = false;
    // How long a rewritten file must hold still before it is read: MMANA writes its export in
    // several pieces.
    static constexpr int kSettlePauseMs = 250;
    // A load runs: a change noticed meanwhile is re-read after it.
    bool loading_ = false;
    // The current load re-reads a changed file: the polar window stays.
    bool reloading_ = false;
    QElapsedTimer pumpClock_;
    JpegOptions jpeg_;
    // One GIF encoder for the whole run: it refuses a second picture while busy.
    clsGIF gif_;
    // The picture the last capture took, as it was put on the clipboard.
    QImage capture_;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileComputeNec = nullptr;
    QAction* mnuFileSave = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuFileReload = nullptr;
    QMenu* mnuFileGraph = nullptr;
    QAction* mnuFileGraphSave = nullptr;
    QAction* mnuFileGraphCopy = nullptr;
    QAction* mnuFileGraphPrint = nullptr;
    QMenu* mnuFileScreen = nullptr;
    QAction* mnuFileScreenSave = nullptr;
    QAction* mnuFileScreenCopy = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuData = nullptr;
    QMenu* mnuDataSrc = nullptr;
    QAction* mnuDataSrcMMANA = nullptr;
    QAction* mnuDataSrcFile = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuToolsDSCFile = nullptr;
    QAction* mnuToolsDSCFolder = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContent = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMenu* mnuHelpLanguage = nullptr;
    QAction* mnuHelpLanguageRussian = nullptr;
    QAction* mnuHelpLanguageEnglish = nullptr;

    // Source and commands.
    QGroupBox* fraSrc = nullptr;
    std::array<QRadioButton*, 2> optSrc{};
    QButtonGroup* optSrcGroup = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdCapture = nullptr;
    QPushButton* cmdExit = nullptr;

    // Graph controls and their 3D counterparts.
    QFrame* fraControls1 = nullptr;
    std::array<QLabel*, 2> lblCmb{};
    QComboBox* cmbLeft = nullptr;
    QComboBox* cmbRight = nullptr;
    QLabel* lblParam = nullptr;
    QComboBox* cmbParam = nullptr;
    QCheckBox* chkLogX = nullptr;
    QCheckBox* chkLogY = nullptr;
    QFrame* fraControls2 = nullptr;
    QCheckBox* chk3DWire = nullptr;
    QCheckBox* chk3DRotate = nullptr;
    QCheckBox* chk3DGain = nullptr;
    // "Фаза": animates the instantaneous currents along the wires; shown with currents only.
    QCheckBox* chk3DPhase = nullptr;
    // The wires of a current file in 3D, beside the log boxes while currents are on show.
    QPushButton* cmdCurrents3D = nullptr;
    QSpinBox* spn3DGainRange = nullptr;
    QPushButton* cmdReturn = nullptr;
    QLabel* lblControls = nullptr;

    // Data grid and graph area.
    QGroupBox* fraData = nullptr;
    DataGridView* ctlGrid = nullptr;
    PlotArea* plotArea_ = nullptr;
    ImpedanceBar* fraImpedance = nullptr;
    // The main window's rectangular graph, which the 3D view replaces.
    PictureBox* picPlot = nullptr;

    // Status line.
    QLabel* lblDataSrc = nullptr;
    QLabel* lblSource = nullptr;
    QLabel* lblStatus = nullptr;

    QTimer* tmrTimer3D = nullptr;
    std::unique_ptr<View3DHost> view3D_;
    QLabel* lbl3dAxisFont = nullptr;
};

} // namespace lobex
