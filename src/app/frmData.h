#pragma once

#include "PatternPanel.h"
#include "core/AppState.h"
#include "core/Lifecycle.h"
#include "core/Services.h"

#include <QMainWindow>

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;

namespace lobex {

class PictureBox;

// The two captions the program holds for its main window; the window always carries the
// second. Their wording is the program's own.
inline constexpr std::array<const char*, 2> kMainWindowCaptions = {
    "Lobex - MMANA Data Viewer", "Lobex - просмотр результатов MMANA"};

// The empty grid's header, and the one the language pass gives it.
inline constexpr const char* kEmptyGridHeader = "Парам|R|j X|КСВ|Усил|Впер/Назад|Зенит";
inline constexpr const char* kLanguageGridHeader = "Парам|R|j X|КСВ|Усил|Впер/Наз|Зенит";

// The main window: source choice, curve lists, the data grid and the graph area.
class frmData : public QMainWindow, private ExitSteps {
    Q_OBJECT
public:
    frmData(AppState& state, Services& services, QWidget* parent = nullptr);
    ~frmData() override;

    // Runs once after construction, before the window is shown.
    void Form_Load();
    void SetFormLanguage();
    void FillCombos(int kind);
    void FillCurveList();
    void ClearGrid();
    // Header from text ("a|b|c"), or from the series labels when text is empty.
    void SetGridHeader(const std::string& text);
    void ShowPlotControls(bool mode3D) override;

    std::string HelpFile() const { return helpFile_; }

public slots:
    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuHelpContent_Click();
    void mnuHelpAbout_Click();
    // A later copy of the program asked for this window.
    void ShowFromOtherCopy();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void CentreOnScreen();

    // Exit steps; the views they tear down arrive with the plot engine and the 3D view.
    void Stop3DView() override;
    void UnloadD3DWindow() override;
    void UnloadPolarWindow() override;
    void StopPlotter() override;
    void ReleasePlotHost() override;
    void UnloadMainWindow() override;

    AppState& state_;
    Services& services_;
    std::string helpFile_;
    bool unloadingByProgram_ = false;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
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
    QPushButton* cmdReturn = nullptr;
    QLabel* lblControls = nullptr;

    // Data grid.
    QGroupBox* fraData = nullptr;
    QTableWidget* ctlGrid = nullptr;

    // Graph area and read-outs.
    QFrame* fraPlot = nullptr;
    PictureBox* picPlot = nullptr;
    PictureBox* picPolar1 = nullptr;
    PictureBox* picPolar2 = nullptr;
    PatternPanel pattern_;
    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QLabel* lblX1 = nullptr;
    QLabel* lblY1 = nullptr;
    QLabel* lblX2 = nullptr;
    QLabel* lblY2 = nullptr;

    // Status line.
    QLabel* lblDataSrc = nullptr;
    QLabel* lblSource = nullptr;
    QLabel* lblStatus = nullptr;

    QTimer* tmrTimer3D = nullptr;
    QLabel* lbl3dAxisFont = nullptr;
};

} // namespace lobex
