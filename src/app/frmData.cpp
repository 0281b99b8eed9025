#include "frmData.h"

#include "GridModel.h"
#include "PictureBox.h"
#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/FileDialogs.h"
#include "core/LoadFlow.h"
#include "core/MmanaLink.h"
#include "dialogs/frmAbout.h"
#include "frmPolar.h"
#include "graphs/CursorReadout.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "plotter/PlotOutput.h"
#include "view3d/ConversionTool.h"

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
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace lobex {
namespace {

// Grid columns are 800 twips wide in the classic 8-point face. Wider faces get wider columns,
// enough for the header's "Впер/Наз" (longer captions show whole in their tooltips).
int GridColumnWidth(const QWidget& grid) {
    constexpr int twipsWidth = 800 / 15;
    constexpr int padding = 10;
    const int captionWidth =
        grid.fontMetrics().horizontalAdvance(QStringLiteral("Впер/Наз")) + padding;
    return std::max(twipsWidth, captionWidth);
}

constexpr int kPlotFrameHeight = 5150 / 15; // 5150 twips
constexpr int kGridColumns = kSeriesCount;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QAction* NamedAction(QMenu* menu, const char* name) {
    auto* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* NamedMenu(QMenu* parent, const char* name) {
    auto* menu = parent->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QLabel* ReadoutLabel(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(parent), name);
    label->setMinimumWidth(0);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmData::frmData(AppState& state, Services& services, PlotLink& link, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), ctx_{state, services.messages},
      link_(link), graph_{state, *this, services.messages, link} {
    setObjectName(QStringLiteral("frmData"));
    setAcceptDrops(true);
    BuildMenus();
    BuildControls();
    mainControls_ = {this,      fraPlot, picPlot, picPolar1, picPolar2,
                     &pattern_, lblX1,   lblY1,   lblX2,     lblY2};
    tmrTimer3D = Named(new QTimer(this), "tmrTimer3D");
    tmrTimer3D->setInterval(10);

    ChoosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    // A session that ends closes the window like the program does, not like the close box.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this] { unloadingByProgram_ = true; });
}

frmData::~frmData() = default;

void frmData::BuildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = Named(bar->addMenu(QString()), "mnuFile");
    mnuFileOpen = NamedAction(mnuFile, "mnuFileOpen");
    mnuFileOpen->setShortcut(QKeySequence::Open);
    mnuFileSave = NamedAction(mnuFile, "mnuFileSave");
    mnuFileSave->setShortcut(QKeySequence::Save);
    mnuFile->addSeparator();
    mnuFileGraph = NamedMenu(mnuFile, "mnuFileGraph");
    mnuFileGraphSave = NamedAction(mnuFileGraph, "mnuFileGraphSave");
    mnuFileGraphCopy = NamedAction(mnuFileGraph, "mnuFileGraphCopy");
    mnuFileGraphPrint = NamedAction(mnuFileGraph, "mnuFileGraphPrint");
    mnuFileScreen = NamedMenu(mnuFile, "mnuFileScreen");
    mnuFileScreenSave = NamedAction(mnuFileScreen, "mnuFileScreenSave");
    mnuFileScreenCopy = NamedAction(mnuFileScreen, "mnuFileScreenCopy");
    mnuFile->addSeparator();
    mnuFileExit = NamedAction(mnuFile, "mnuFileExit");

    mnuData = Named(bar->addMenu(QString()), "mnuData");
    mnuDataSrc = NamedMenu(mnuData, "mnuDataSrc");
    mnuDataSrcMMANA = NamedAction(mnuDataSrc, "mnuDataSrcMMANA");
    mnuDataSrcMMANA->setText(QStringLiteral("MMANA"));
    mnuDataSrcMMANA->setCheckable(true);
    mnuDataSrcFile = NamedAction(mnuDataSrc, "mnuDataSrcFile");
    mnuDataSrcFile->setCheckable(true);

    mnuTools = Named(bar->addMenu(QStringLiteral("Сервис")), "mnuTools");
    mnuToolsDSCFile = NamedAction(mnuTools, "mnuToolsDSCFile");
    mnuToolsDSCFile->setText(QStringLiteral("Преобразовать файл CSV"));
    mnuToolsDSCFolder = NamedAction(mnuTools, "mnuToolsDSCFolder");
    mnuToolsDSCFolder->setText(QStringLiteral("Преобразовать папку"));

    mnuHelp = Named(bar->addMenu(QString()), "mnuHelp");
    mnuHelpContent = NamedAction(mnuHelp, "mnuHelpContent");
    mnuHelpContent->setShortcut(QKeySequence::HelpContents);
    mnuHelpAbout = NamedAction(mnuHelp, "mnuHelpAbout");

    // Nothing is loaded yet, so there is no graph or screen to put out.
    mnuFileGraph->setEnabled(false);
    mnuFileScreen->setEnabled(false);

    connect(mnuFileExit, &QAction::triggered, this, &frmData::mnuFileExit_Click);
    connect(mnuFileGraphCopy, &QAction::triggered, this, &frmData::mnuFileGraphCopy_Click);
    connect(mnuFileGraphPrint, &QAction::triggered, this, &frmData::mnuFileGraphPrint_Click);
    connect(mnuFileGraphSave, &QAction::triggered, this, &frmData::mnuFileGraphSave_Click);
    connect(mnuFileScreenCopy, &QAction::triggered, this, &frmData::mnuFileScreenCopy_Click);
    connect(mnuFileScreenSave, &QAction::triggered, this, &frmData::mnuFileScreenSave_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmData::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmData::mnuFileSave_Click);
    connect(mnuData, &QMenu::aboutToShow, this, &frmData::mnuData_Click);
    connect(mnuDataSrcMMANA, &QAction::triggered, this, &frmData::mnuDataSrcMMANA_Click);
    connect(mnuDataSrcFile, &QAction::triggered, this, &frmData::mnuDataSrcFile_Click);
    connect(mnuToolsDSCFile, &QAction::triggered, this, &frmData::mnuToolsDSCFile_Click);
    connect(mnuToolsDSCFolder, &QAction::triggered, this, &frmData::mnuToolsDSCFolder_Click);
    connect(mnuHelpContent, &QAction::triggered, this, &frmData::mnuHelpContent_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmData::mnuHelpAbout_Click);
}

void frmData::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    // Left column: where the data comes from, what is drawn, and the table of numbers.
    auto* side = new QWidget(central);
    side->setObjectName(QStringLiteral("sidePanel"));
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->setSpacing(8);

    fraSrc = Named(new QGroupBox(side), "fraSrc");
    auto* srcLayout = new QHBoxLayout(fraSrc);
    optSrcGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optSrc[static_cast<std::size_t>(i)] = new QRadioButton(fraSrc);
        optSrc[static_cast<std::size_t>(i)]->setObjectName(Indexed("optSrc", i));
        optSrcGroup->addButton(optSrc[static_cast<std::size_t>(i)], i);
        srcLayout->addWidget(optSrc[static_cast<std::size_t>(i)]);
    }
    optSrc[0]->setText(QStringLiteral("MMANA"));
    optSrc[0]->setChecked(true);
    mnuDataSrcMMANA->setChecked(true);
    srcLayout->addStretch(1);
    cmdRun = Named(new QPushButton(fraSrc), "cmdRun");
    cmdRun->setDefault(true);
    cmdRun->setMinimumWidth(110);
    srcLayout->addWidget(cmdRun);
    sideLayout->addWidget(fraSrc);

    fraControls1 = Named(new QFrame(side), "fraControls1");
    auto* curves = new QFormLayout(fraControls1);
    curves->setContentsMargins(4, 0, 4, 0);
    curves->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (int i = 0; i < 2; ++i) {
        lblCmb[static_cast<std::size_t>(i)] = new QLabel(fraControls1);
        lblCmb[static_cast<std::size_t>(i)]->setObjectName(Indexed("lblCmb", i));
    }
    cmbLeft = Named(new QComboBox(fraControls1), "cmbLeft");
    cmbRight = Named(new QComboBox(fraControls1), "cmbRight");
    lblParam = Named(new QLabel(fraControls1), "lblParam");
    cmbParam = Named(new QComboBox(fraControls1), "cmbParam");
    curves->addRow(lblCmb[0], cmbLeft);
    curves->addRow(lblCmb[1], cmbRight);
    curves->addRow(lblParam, cmbParam);
    chkLogX = Named(new QCheckBox(QStringLiteral("Log X"), fraControls1), "chkLogX");
    chkLogY = Named(new QCheckBox(QStringLiteral("Log Y"), fraControls1), "chkLogY");
    chkLogX->setEnabled(false);
    chkLogY->setEnabled(false);
    auto* logRow = new QHBoxLayout;
    logRow->addWidget(chkLogX);
    logRow->addWidget(chkLogY);
    logRow->addStretch(1);
    curves->addRow(QString(), logRow);
    sideLayout->addWidget(fraControls1);

    fraControls2 = Named(new QFrame(side), "fraControls2");
    auto* view3d = new QGridLayout(fraControls2);
    view3d->setContentsMargins(4, 0, 4, 0);
    chk3DWire = Named(new QCheckBox(fraControls2), "chk3DWire");
    chk3DRotate = Named(new QCheckBox(fraControls2), "chk3DRotate");
    cmdReturn = Named(new QPushButton(fraControls2), "cmdReturn");
    lblControls = Named(new QLabel(fraControls2), "lblControls");
    lblControls->setWordWrap(true);
    view3d->addWidget(chk3DWire, 0, 0);
    view3d->addWidget(chk3DRotate, 0, 1);
    view3d->addWidget(cmdReturn, 0, 2);
    view3d->addWidget(lblControls, 1, 0, 1, 3);
    sideLayout->addWidget(fraControls2);

    fraData = Named(new QGroupBox(side), "fraData");
    auto* dataLayout = new QVBoxLayout(fraData);
    dataLayout->setContentsMargins(4, 4, 4, 4);
    ctlGrid = Named(new QTableView(fraData), "ctlGrid");
    gridModel_ = new GridModel(this);
    ctlGrid->setModel(gridModel_);
    ctlGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ctlGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ctlGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    ctlGrid->setAlternatingRowColors(true);
    ctlGrid->setWordWrap(false);
    ctlGrid->verticalHeader()->hide();
    ctlGrid->verticalHeader()->setDefaultSectionSize(20);
    ctlGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ctlGrid->horizontalHeader()->setHighlightSections(false);
    ctlGrid->horizontalHeader()->setDefaultSectionSize(GridColumnWidth(*ctlGrid));
    ctlGrid->setMinimumWidth(GridColumnWidth(*ctlGrid) * kGridColumns + 24);
    ctlGrid->installEventFilter(this);
    connect(ctlGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmData::KeepGridSelectionOnData);
    dataLayout->addWidget(ctlGrid);
    sideLayout->addWidget(fraData, 1);

    auto* buttons = new QHBoxLayout;
    cmdPrint = Named(new QPushButton(side), "cmdPrint");
    cmdPrint->setEnabled(false);
    cmdCapture = Named(new QPushButton(QStringLiteral("Снимок"), side), "cmdCapture");
    cmdExit = Named(new QPushButton(side), "cmdExit");
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCapture);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    sideLayout->addLayout(buttons);

    // Right: the graph area. The rectangular graph and the two polar diagrams share the space;
    // only one of the two is shown at a time.
    fraPlot = Named(new QFrame(central), "fraPlot");
    fraPlot->setFrameShape(QFrame::StyledPanel);
    fraPlot->setMinimumHeight(kPlotFrameHeight);
    auto* plotLayout = new QGridLayout(fraPlot);
    plotLayout->setContentsMargins(1, 1, 1, 1);
    plotLayout->setSpacing(1);
    picPlot = Named(new PictureBox(fraPlot), "picPlot");
    picPolar1 = Named(new PictureBox(fraPlot), "picPolar1");
    picPolar2 = Named(new PictureBox(fraPlot), "picPolar2");
    plotLayout->addWidget(picPlot, 0, 0, 1, 2);
    plotLayout->addWidget(picPolar1, 0, 0);
    plotLayout->addWidget(picPolar2, 0, 1);
    plotLayout->setRowStretch(0, 1);
    picPolar1->hide();
    picPolar2->hide();
    pattern_ = BuildPatternPanel(picPolar2);

    lblX = ReadoutLabel(fraPlot, "lblX");
    lblY = ReadoutLabel(fraPlot, "lblY");
    lblX1 = ReadoutLabel(fraPlot, "lblX1");
    lblY1 = ReadoutLabel(fraPlot, "lblY1");
    lblX2 = ReadoutLabel(fraPlot, "lblX2");
    lblY2 = ReadoutLabel(fraPlot, "lblY2");
    auto* readout1 = new QHBoxLayout;
    readout1->setContentsMargins(8, 2, 8, 2);
    readout1->setSpacing(16);
    for (QLabel* label : {lblX, lblY, lblX1, lblY1}) {
        readout1->addWidget(label);
    }
    readout1->addStretch(1);
    auto* readout2 = new QHBoxLayout;
    readout2->setContentsMargins(8, 2, 8, 2);
    readout2->setSpacing(16);
    readout2->addWidget(lblX2);
    readout2->addWidget(lblY2);
    readout2->addStretch(1);
    plotLayout->addLayout(readout1, 1, 0);
    plotLayout->addLayout(readout2, 1, 1);

    auto* mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(8, 8, 8, 4);
    mainLayout->setSpacing(8);
    mainLayout->addWidget(side, 0);
    mainLayout->addWidget(fraPlot, 1);

    // Status line: the source of the data shown, and what the last action did.
    lblDataSrc = Named(new QLabel(this), "lblDataSrc");
    lblSource = Named(new QLabel(this), "lblSource");
    lblSource->setTextFormat(Qt::PlainText);
    lblStatus = Named(new QLabel(this), "lblStatus");
    lblStatus->setTextFormat(Qt::PlainText);
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(lblDataSrc);
    statusBar()->addWidget(lblSource, 1);
    statusBar()->addPermanentWidget(lblStatus);

    // Never shown: it only carries the font of the 3D axis letters.
    lbl3dAxisFont = Named(new QLabel(this), "lbl3dAxisFont");
    QFont axisFont(QStringLiteral("Arial"), 12);
    axisFont.setBold(true);
    lbl3dAxisFont->setFont(axisFont);
    lbl3dAxisFont->hide();

    connect(cmdExit, &QPushButton::clicked, this, &frmData::cmdExit_Click);
    connect(cmdRun, &QPushButton::clicked, this, &frmData::cmdRun_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmData::cmdPrint_Click);
    connect(cmdCapture, &QPushButton::clicked, this, &frmData::cmdCapture_Click);
    connect(optSrcGroup, &QButtonGroup::idClicked, this, &frmData::optSrc_Click);
    connect(cmbParam, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &frmData::cmbParam_Click);
    connect(cmbLeft, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &frmData::cmbLeft_Click);
    connect(cmbRight, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &frmData::cmbRight_Click);
    connect(chkLogX, &QCheckBox::clicked, this, &frmData::chkLogX_Click);
    connect(chkLogY, &QCheckBox::clicked, this, &frmData::chkLogY_Click);
    connect(picPlot, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) { picPlot_MouseMove(at); });
    connect(picPolar1, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                lblX2->clear();
                lblY2->clear();
                MouseMove(at.x(), at.y(), lblX1, lblY1, 1);
            });
    connect(picPolar2, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                lblX1->clear();
                lblY1->clear();
                MouseMove(at.x(), at.y(), lblX2, lblY2, 2);
            });
    for (PictureBox* box : {picPolar1, picPolar2}) {
        connect(box, &PictureBox::DoubleClicked, this, [this] {
            if (cmbLeft->isEnabled()) {
                OpenPolarWindow();
            }
        });
    }
    pattern_.fraPolar2->setMouseTracking(true);
    pattern_.fraPolar2->installEventFilter(this);
}

void frmData::Form_Load() {
    // The JPEG options last chosen apply from the start.
    const JpegSettingsText stored = ReadJpegSettings(services_.settings);
    jpeg_ = {JpegQualityFromText(stored.Quality), stored.Progressive, stored.Grayscale};
    FillCurveList();
    resize(1220, 760);
    CentreOnScreen();
    lblStatus->clear();
    lblX->clear();
    lblY->clear();
    lblSource->clear();
    FillCombos(0);
    cmbParam->setEnabled(false);
    fraPlot->setMinimumHeight(kPlotFrameHeight);
    state_.PlotHost = PlotHostKind::MainWindow;
    SetFormLanguage();
    fraControls2->setFrameShape(QFrame::NoFrame);
    fraControls2->hide();
    mnuTools->menuAction()->setVisible(false);
}

void frmData::CentreOnScreen() {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = frameGeometry().size().expandedTo(this->size());
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2 - 15);
}

void frmData::SetFormLanguage() {
    cmdExit->setText(QStringLiteral("Выход"));
    cmdRun->setText(QStringLiteral("Открыть"));
    cmdPrint->setText(QStringLiteral("Печать"));
    fraData->setTitle(QStringLiteral("Данные"));
    fraSrc->setTitle(QStringLiteral("Источник"));
    lblDataSrc->setText(QStringLiteral("Источник данных:"));
    optSrc[1]->setText(QStringLiteral("Файл"));
    lblCmb[0]->setText(QStringLiteral("Красная Линия:"));
    lblCmb[1]->setText(QStringLiteral("Синяя Линия:"));
    lblParam->setText(QStringLiteral("Набор:"));
    chk3DWire->setText(QStringLiteral("Сетка"));
    chk3DRotate->setText(QStringLiteral("Вращать"));
    cmdReturn->setText(QStringLiteral("Полярный"));
    ApplyPatternCaptions(*Host().pattern);
    pattern_.cmd3D->setText(QStringLiteral("3D Модель"));
    lblControls->setText(QStringLiteral("Mouse, Cursor, PageUp, PageDown, Home, End"));
    SetGridHeader(state_, kGridLanguageHeader);
    ShowGrid();
    mnuFile->setTitle(QStringLiteral("Файл"));
    mnuFileOpen->setText(QStringLiteral("Открыть"));
    mnuFileSave->setText(QStringLiteral("Сохранить"));
    mnuFileGraph->setTitle(QStringLiteral("График"));
    mnuFileGraphSave->setText(QStringLiteral("Сохранить"));
    mnuFileGraphCopy->setText(QStringLiteral("Скопировать"));
    mnuFileGraphPrint->setText(QStringLiteral("Распечатать"));
    mnuFileScreen->setTitle(QStringLiteral("Экран"));
    mnuFileScreenSave->setText(QStringLiteral("Сохранить"));
    mnuFileScreenCopy->setText(QStringLiteral("Скопировать"));
    mnuFileExit->setText(QStringLiteral("Выход"));
    mnuData->setTitle(QStringLiteral("Данные"));
    mnuDataSrc->setTitle(QStringLiteral("Источник"));
    mnuDataSrcFile->setText(QStringLiteral("Файл"));
    mnuHelp->setTitle(QStringLiteral("Помощь"));
    mnuHelpContent->setText(QStringLiteral("Справка"));
    mnuHelpAbout->setText(QStringLiteral("О Программе"));
    const char separator = state_.AppFolder.empty() ? '/' : state_.AppFolder.back();
    helpFile_ = state_.AppFolder + "Help" + separator + "Lobex.html";
    if (state_.PlotHost == PlotHostKind::PolarWindow && polar_) {
        polar_->setWindowTitle(
            QStringLiteral("Диаграмма Направленности - Полярная - Lobex by Orvane"));
    }
    setWindowTitle(QString::fromUtf8(kMainWindowCaptions[1]));
}

void frmData::FillCombos(int kind) {
    const int n = kind == 0 ? kSeriesUpperBound - 1 : kind - 1;
    const auto label = [this](int index) {
        return Q(state_.Data.Series[static_cast<std::size_t>(index)].Label);
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
    SelectGridRow(1);
    mnuFileSave->setEnabled(false);
}

void frmData::ShowPlotControls(bool mode3D) {
    if (mode3D) {
        fraControls1->hide();
        fraControls2->show();
        lblX->hide();
        lblY->hide();
    } else {
        fraControls2->hide();
        fraControls1->show();
        lblX->show();
        lblY->show();
    }
}

void frmData::closeEvent(QCloseEvent* event) {
    if (unloadingByProgram_) {
        event->accept();
        return;
    }
    event->ignore();
    services_.messages.Show("Чтобы выйти из программы, нажмите кнопку Выход,\r\n"
                            "либо меню Файл->Выход",
                            MessageIcon::Information, state_.AppTitle);
}

void frmData::cmdExit_Click() {
    RunExit(state_, *this);
}

void frmData::mnuFileExit_Click() {
    cmdExit_Click();
}

void frmData::Stop3DView() {}

void frmData::UnloadD3DWindow() {}

void frmData::UnloadPolarWindow() {
    if (polar_) {
        polar_->UnloadByProgram();
    }
}

void frmData::StopPlotter() {
    lobex::StopPlotter(link_);
}

void frmData::ReleasePlotHost() {
    state_.PlotHost = PlotHostKind::None;
}

void frmData::UnloadMainWindow() {
    unloadingByProgram_ = true;
    close();
}

void frmData::mnuHelpContent_Click() {
    if (!services_.help.ShowHelp(helpFile_)) {
        services_.messages.Show("Не удалось открыть справку: " + helpFile_,
                                MessageIcon::Information, state_.AppTitle);
    }
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

void frmData::optSrc_Click(int index) {
    state_.SourceIndex = static_cast<std::int16_t>(index);
    if (state_.PolarWindowOpen) {
        UnloadPolarWindow();
    }
    SetPolarLayout(false);
    FillCurveList();
    ResetCombos();
    for (int slot : {kMainSlot, kElevationSlot, kAzimuthSlot}) {
        ClosePlot(graph_, slot);
    }
    fraData->setTitle(QStringLiteral("Data"));
    cmbParam->setEnabled(false);
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
    state_.Sets = SetList{};
    ShowSetList();
    cmbParam->setEnabled(false);
}

void frmData::cmdRun_Click() {
    state_.SetChosen = false;
    state_.Data.SelectedSetIndex = 0;
    ResetCombos();
    if (state_.PatternShown) {
        if (state_.PolarWindowOpen) {
            UnloadPolarWindow();
        }
        state_.PatternShown = false;
    }
    SetPolarLayout(false);
    LoadData();
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

bool frmData::LoadData() {
    LoadSource source;
    if (state_.SourceIndex == 0) {
        source.mmana = &services_.mmana;
    } else {
        source.chooseFile = [this] {
            return ChooseDataFile();
        };
    }
    return lobex::LoadData(ctx_, *this, source);
}

std::string frmData::ChooseDataFile() {
    return fileFromOutside_.empty() ? services_.dialogs.ChooseDataFile("Open File")
                                    : fileFromOutside_;
}

void frmData::ShowLoadStart() {
    for (int slot : {kElevationSlot, kAzimuthSlot, kMainSlot}) {
        ClosePlot(graph_, slot);
    }
    if (!(state_.PatternShown && state_.SetChosen)) {
        ShowGrid();
        SelectGridRow(1);
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
    if (result.reader == KindFarField) {
        Set3DButtonEnabled(false);
    }
    if (result.setCaption) {
        lblParam->setText(Q(*result.setCaption));
    }
    ShowSetList();
    if (!result.loaded) {
        for (QWidget* control : {static_cast<QWidget*>(cmbRight), static_cast<QWidget*>(cmbLeft),
                                 static_cast<QWidget*>(cmdPrint)}) {
            control->setEnabled(false);
        }
        mnuFileGraph->setEnabled(false);
        mnuFileScreen->setEnabled(false);
        return;
    }
    if (result.patternControls) {
        SetPatternControls(*result.patternControls);
    }
    if (result.curves) {
        FillCombos(*result.curves);
    }
    ShowGrid();
    SelectGridRow(1);

    cmbRight->setEnabled(true);
    cmbLeft->setEnabled(true);
    cmdPrint->setEnabled(true);
    cmbParam->setEnabled(cmbParam->count() >= 1);
    if (!state_.SetChosen) {
        ChooseInitialCurves();
    }
    if (!state_.PatternShown) {
        cmbLeft_Click();
    }
    lblSource->setText(optSrc[0]->isChecked() ? QStringLiteral("MMANA") : Q(state_.CurrentFile));
    mnuFileGraph->setEnabled(true);
    mnuFileScreen->setEnabled(true);
    mnuFileSave->setEnabled(state_.SourceIndex == 0);
    raise();
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
    const std::int16_t kind = state_.Data.DataKind;
    if (kind == KindNearField || kind == KindCurrents) {
        cmbLeft->setCurrentIndex(2);
        cmbRight->setCurrentIndex(0);
    } else {
        cmbLeft->setCurrentIndex(0);
        cmbRight->setCurrentIndex(2);
    }
    if (kind == KindFarField) {
        const std::size_t zeniths = state_.FarField.empty() ? 0 : state_.FarField[0].Points.size();
        Enable3DButton(pattern_, zeniths > 1);
    }
    cmbLeft->show();
    cmbRight->show();
}

void frmData::cmbParam_Click() {
    if (cmbParam->isHidden() || cmbParam->currentIndex() < 0) {
        return;
    }
    cmbParam->setEnabled(false);
    if (state_.ComboFilling) {
        return;
    }
    ReloadForParamEntry(state_, cmbParam->currentIndex(), [this] { return LoadData(); });
    cmbParam->setEnabled(true);
}

void frmData::mnuFileSave_Click() {
    if (OpenSaveFileDialog(state_, services_.settings, services_.dialogs,
                           "CSV File (*.csv)|*.csv") == 0) {
        return;
    }
    if (ExportCsv(ctx_, state_.SaveFileName)) {
        SetStatus(SavedStatus(state_.SaveFileName));
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
    const PlotHostControls& host = Host();
    if (polar) {
        for (QFrame* frame :
             {host.pattern->fraPolar2, host.pattern->fraPolar3, host.pattern->fraPolar4}) {
            frame->setFrameShape(QFrame::NoFrame);
        }
        host.picPolar1->show();
        host.picPolar2->show();
        host.picPlot->hide();
        for (QLabel* label : {host.lblX1, host.lblY1, host.lblX2, host.lblY2}) {
            label->clear();
        }
        lblParam->setText(QStringLiteral("Угол Места:"));
    } else {
        host.picPolar1->hide();
        host.picPolar2->hide();
        host.picPlot->show();
        lblParam->setText(QStringLiteral("Набор:"));
    }
}

// ---- The window the readers change ----------------------------------------------------------

void frmData::SetParamCaption(const QString& caption) {
    lblParam->setText(caption);
}

void frmData::ShowSetList() {
    const QSignalBlocker quiet(cmbParam);
    cmbParam->clear();
    for (const SetListEntry& entry : state_.Sets.entries) {
        cmbParam->addItem(Q(entry.text), entry.itemData);
    }
    cmbParam->setCurrentIndex(state_.Sets.selected);
}

void frmData::SetPatternControls(bool enabled) {
    PatternPanel& panel = *Host().pattern;
    Enable3DButton(panel, enabled);
    panel.lblMax[2]->setEnabled(enabled);
    panel.lblMaxElev->setEnabled(enabled);
    if (!enabled) {
        panel.lblMaxElev->clear();
    }
    Enable3DButton(pattern_, enabled);
}

// The 3D button opens the 3D view; until this build has one, it stays disabled rather than
// offer a click that does nothing.
void frmData::Enable3DButton(PatternPanel& panel, bool enabled) {
    constexpr bool kView3DAvailable = false;
    panel.cmd3D->setEnabled(enabled && kView3DAvailable);
}

void frmData::Set3DButtonEnabled(bool enabled) {
    Enable3DButton(pattern_, enabled);
}

void frmData::SetStatus(std::string_view text) {
    lblStatus->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void frmData::ShowGrid() {
    // New contents keep the selected row, as the grid keeps it when its cells change.
    const int current = ctlGrid->currentIndex().isValid() ? ctlGrid->currentIndex().row() + 1 : 0;
    gridModel_->SetTable(state_.DataGrid);
    if (current > 0 && current <= gridModel_->rowCount()) {
        SelectGridRow(current);
    }
    for (int c = 0; c < gridModel_->columnCount(); ++c) {
        ctlGrid->setColumnWidth(c, GridColumnWidth(*ctlGrid));
    }
}

void frmData::SelectGridRow(int row) {
    const QModelIndex index =
        gridModel_->index(state_.Data.GridRowCount == 0 ? 0 : std::max(row, 1) - 1, 0);
    ctlGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    ctlGrid->scrollTo(index);
}

void frmData::PumpEvents() {
    // The sort asks often; painting now and then is enough, and clicks wait for the load.
    static constexpr qint64 kIntervalMs = 30;
    if (!pumpClock_.isValid() || pumpClock_.elapsed() >= kIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        pumpClock_.restart();
    }
}

// The selection stays on data rows: moving below the last one goes back to it.
void frmData::KeepGridSelectionOnData() {
    const int rows = state_.Data.GridRowCount;
    const QModelIndex current = ctlGrid->currentIndex();
    if (rows > 0 && current.isValid() && current.row() >= rows) {
        QTimer::singleShot(0, this, [this, rows] { SelectGridRow(rows); });
    }
}

// Ctrl+C copies the selected rows as a block: tab between cells, a line per row.
void frmData::CopyGridSelection() {
    QList<int> rows;
    for (const QModelIndex& index : ctlGrid->selectionModel()->selectedRows()) {
        if (index.row() < gridModel_->DataRows()) {
            rows << index.row();
        }
    }
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (int c = 0; c < gridModel_->columnCount(); ++c) {
            cells << gridModel_->index(row, c).data().toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    if (!lines.isEmpty()) {
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

bool frmData::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pattern_.fraPolar2 && event->type() == QEvent::MouseMove) {
        picPolar2->unsetCursor();
        lblX2->clear();
        lblY2->clear();
    }
    if (watched == ctlGrid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyGridSelection();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Graphs -------------------------------------------------------------------------------

const PlotHostControls& frmData::Host() const {
    if (state_.PlotHost == PlotHostKind::PolarWindow && polar_) {
        return polar_->Controls();
    }
    return mainControls_;
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
    const PatternPanel& panel = *Host().pattern;
    const std::pair<QLabel*, const std::string*> texts[] = {
        {panel.lblMaxElev, &labels.MaxElev},     {panel.lblMaxAzim, &labels.MaxAzim},
        {panel.lblMaxTotal, &labels.MaxTotal},   {panel.lblAzElev, &labels.AzElev},
        {panel.lblBeamLeft, &labels.BeamLeft},   {panel.lblBeamRight, &labels.BeamRight},
        {panel.lblBeamWidth, &labels.BeamWidth},
    };
    for (const auto& [label, text] : texts) {
        label->setText(Q(*text));
    }
}

void frmData::HidePolarResults() {
    Host().pattern->fraPolar2->hide();
}

PlotRect frmData::SlotClientRect(int slot) const {
    const PictureBox* box = Host().SlotBox(slot);
    if (box == nullptr) {
        return {};
    }
    return {0, 0, box->width(), box->height()};
}

void frmData::PaintSlot(int slot) {
    const PlotHostControls& host = Host();
    PictureBox* box = host.SlotBox(slot);
    if (box == nullptr) {
        return;
    }
    const PlotSlot& plot = link_.Slots[static_cast<std::size_t>(slot)];
    if (plot.HasBitmap != 1) {
        box->ClearPicture();
        return;
    }
    // The picture box keeps its own copy: closing the slot frees the bitmap.
    box->SetPicture(plotter::ToQImage(plot.Bitmap), {plot.ClientRect.left, plot.ClientRect.top});
    if (slot == kElevationSlot) {
        LayOutPolarResults(host);
    }
}

// The result frames cover the elevation diagram's lower half, which shows nothing: from just
// below its centre row (clear of the angle labels written on it) across the whole picture box,
// their text starting at the plotting area's left edge.
void frmData::LayOutPolarResults(const PlotHostControls& host) {
    const PlotMetrics& m = link_.Slots[kElevationSlot].Metrics;
    QFrame* frame = host.pattern->fraPolar2;
    const int top = (m.Bottom - m.Top) / 2 + m.Top + 2 + frame->fontMetrics().height() / 2;
    const int box = host.picPolar2->width();
    const int indent = std::clamp(m.Left, 0, std::max(0, box - frame->minimumSizeHint().width()));
    if (auto* layout = frame->layout()) {
        const QMargins margins = layout->contentsMargins();
        layout->setContentsMargins(indent, margins.top(), margins.right(), margins.bottom());
    }
    frame->setGeometry(0, top, box, std::max(0, host.picPolar2->height() - top));
    frame->show();
    frame->raise();
}

void frmData::ClearSlotPicture(int slot) {
    if (PictureBox* box = Host().SlotBox(slot)) {
        box->ClearPicture();
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
    if (!bothFirst) {
        Host().window->raise();
    }
    cmbLeft->setEnabled(true);
    cmbRight->setEnabled(true);
}

void frmData::chkLogX_Click() {
    if (chkLogX->isEnabled()) {
        state_.LogX = chkLogX->isChecked();
        cmbLeft_Click();
    }
}

void frmData::chkLogY_Click() {
    if (chkLogY->isEnabled()) {
        state_.LogY = chkLogY->isChecked();
        cmbLeft_Click();
    }
}

void frmData::picPlot_MouseMove(QPointF at) {
    const PlotSlot& slot = link_.Slots[kMainSlot];
    const RectangularReadout readout =
        slot.HasBitmap == 1
            ? ReadRectangular(slot.Metrics, at.x(), at.y(), state_.LogX, state_.LogY)
            : RectangularReadout{};
    if (!readout.inside) {
        lblX->clear();
        lblY->clear();
        picPlot->unsetCursor();
        return;
    }
    lblX->setText(Q(RectangularXText(readout.x, state_.DecimalSeparator)));
    lblY->setText(Q(RectangularYText(readout.y, state_.DecimalSeparator)));
    picPlot->setCursor(Qt::CrossCursor);
}

void frmData::MouseMove(double x, double y, QLabel* labelA, QLabel* labelB, int area) {
    const PlotSlot& slot = link_.Slots[area == 1 ? kAzimuthSlot : kElevationSlot];
    PictureBox* box = area == 1 ? Host().picPolar1 : Host().picPolar2;
    const PolarReadout readout = slot.HasBitmap == 1
                                     ? ReadPolar(slot.Metrics, x, y, area, state_.Pattern.PlotRange,
                                                 state_.Pattern.PlotFloor, state_.PiValue)
                                     : PolarReadout{};
    if (!readout.inside) {
        labelA->clear();
        labelB->clear();
        box->unsetCursor();
        return;
    }
    labelA->setText(Q(PolarGainText(readout.gain, state_.DecimalSeparator)));
    labelB->setText(Q(PolarAngleText(readout.angle, area, state_.DecimalSeparator)));
    box->setCursor(Qt::CrossCursor);
}

void frmData::OpenPolarWindow() {
    ClosePlot(graph_, kElevationSlot);
    ClosePlot(graph_, kAzimuthSlot);
    polar_ = std::make_unique<frmPolar>(state_, *this);
    polar_->Form_Load();
    SetPolarLayout(true);
    polar_->show();
    cmbParam_Click();
}

void frmData::ShrinkForPolarWindow(bool shrink) {
    picPolar1->hide();
    picPolar2->hide();
    fraPlot->setVisible(!shrink);
    if (shrink) {
        // Only the controls stay: the diagrams are drawn in the polar window.
        QTimer::singleShot(0, this, [this] {
            if (state_.PolarWindowOpen) {
                resize(minimumSizeHint().width(), height());
            }
        });
    }
}

void frmData::PolarWindowClosed(bool replot) {
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
