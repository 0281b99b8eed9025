#include "frmData.h"

#include "ImpedanceBar.h"
#include "NecControls.h"
#include "PictureBox.h"
#include "View3DHost.h"
#include "core/DataGrid.h"
#include "platform/QtTranslations.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QVBoxLayout>

// How the main window is laid out and captioned; its behaviour lives in frmData.cpp.
namespace lobex {
namespace {

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

} // namespace

void frmData::BuildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = Named(bar->addMenu(QString()), "mnuFile");
    mnuFileOpen = NamedAction(mnuFile, "mnuFileOpen");
    mnuFileOpen->setShortcut(QKeySequence::Open);
    mnuFileComputeNec = NamedAction(mnuFile, "mnuFileComputeNec");
    // nec2c is recommended beside the program, not required.
    mnuFileComputeNec->setEnabled(
        !QStandardPaths::findExecutable(QStringLiteral("nec2c")).isEmpty());
    mnuFileSave = NamedAction(mnuFile, "mnuFileSave");
    mnuFileSave->setShortcut(QKeySequence::Save);
    mnuFileRecent = NamedMenu(mnuFile, "mnuFileRecent");
    mnuFileReload = NamedAction(mnuFile, "mnuFileReload");
    mnuFileReload->setCheckable(true);
    mnuFile->addSeparator();
    mnuFileGraph = NamedMenu(mnuFile, "mnuFileGraph");
    mnuFileGraphSave = NamedAction(mnuFileGraph, "mnuFileGraphSave");
    mnuFileGraphCopy = NamedAction(mnuFileGraph, "mnuFileGraphCopy");
    mnuFileGraphPrint = NamedAction(mnuFileGraph, "mnuFileGraphPrint");
    mnuFileGraphPrint->setShortcut(QKeySequence::Print);
    mnuFileScreen = NamedMenu(mnuFile, "mnuFileScreen");
    mnuFileScreenSave = NamedAction(mnuFileScreen, "mnuFileScreenSave");
    mnuFileScreenCopy = NamedAction(mnuFileScreen, "mnuFileScreenCopy");
    mnuFile->addSeparator();
    mnuFileExit = NamedAction(mnuFile, "mnuFileExit");
    // Spelt out: the platform's Quit sequence is empty on Windows.
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuData = Named(bar->addMenu(QString()), "mnuData");
    mnuDataSrc = NamedMenu(mnuData, "mnuDataSrc");
    mnuDataSrcMMANA = NamedAction(mnuDataSrc, "mnuDataSrcMMANA");
    mnuDataSrcMMANA->setText(QStringLiteral("MMANA"));
    mnuDataSrcMMANA->setCheckable(true);
    mnuDataSrcFile = NamedAction(mnuDataSrc, "mnuDataSrcFile");
    mnuDataSrcFile->setCheckable(true);

    mnuTools = Named(bar->addMenu(tr("Сервис")), "mnuTools");
    mnuToolsDSCFile = NamedAction(mnuTools, "mnuToolsDSCFile");
    mnuToolsDSCFile->setText(tr("Преобразовать файл CSV"));
    mnuToolsDSCFolder = NamedAction(mnuTools, "mnuToolsDSCFolder");
    mnuToolsDSCFolder->setText(tr("Преобразовать папку"));

    mnuHelp = Named(bar->addMenu(QString()), "mnuHelp");
    mnuHelpContent = NamedAction(mnuHelp, "mnuHelpContent");
    mnuHelpContent->setShortcut(QKeySequence::HelpContents);
    mnuHelpAbout = NamedAction(mnuHelp, "mnuHelpAbout");
    // Each language is named in its own words, so it can be found whichever is on show.
    mnuHelpLanguage = NamedMenu(mnuHelp, "mnuHelpLanguage");
    auto* languages = new QActionGroup(this);
    mnuHelpLanguageRussian = NamedAction(mnuHelpLanguage, "mnuHelpLanguageRussian");
    mnuHelpLanguageRussian->setText(QStringLiteral("Русский"));
    mnuHelpLanguageEnglish = NamedAction(mnuHelpLanguage, "mnuHelpLanguageEnglish");
    mnuHelpLanguageEnglish->setText(QStringLiteral("English"));
    for (QAction* language : {mnuHelpLanguageRussian, mnuHelpLanguageEnglish}) {
        language->setCheckable(true);
        languages->addAction(language);
    }

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
    connect(mnuFileComputeNec, &QAction::triggered, this, &frmData::mnuFileComputeNec_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmData::mnuFileSave_Click);
    connect(mnuFileReload, &QAction::triggered, this, &frmData::mnuFileReload_Click);
    connect(mnuData, &QMenu::aboutToShow, this, &frmData::mnuData_Click);
    connect(mnuDataSrcMMANA, &QAction::triggered, this, &frmData::mnuDataSrcMMANA_Click);
    connect(mnuDataSrcFile, &QAction::triggered, this, &frmData::mnuDataSrcFile_Click);
    connect(mnuToolsDSCFile, &QAction::triggered, this, &frmData::mnuToolsDSCFile_Click);
    connect(mnuToolsDSCFolder, &QAction::triggered, this, &frmData::mnuToolsDSCFolder_Click);
    connect(mnuHelpContent, &QAction::triggered, this, &frmData::mnuHelpContent_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmData::mnuHelpAbout_Click);
    connect(mnuHelpLanguageRussian, &QAction::triggered, this,
            [this] { mnuHelpLanguage_Click(Language::Russian); });
    connect(mnuHelpLanguageEnglish, &QAction::triggered, this,
            [this] { mnuHelpLanguage_Click(Language::English); });
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

    nec_ = new NecControls(session_, state_, this,
                           [this](double mhz, NecPart part) { PickNec(mhz, part); });
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
    sideLayout->addWidget(nec_->fraNec);

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
    cmdCurrents3D = Named(new QPushButton(fraControls1), "cmdCurrents3D");
    cmdCurrents3D->hide();
    logRow->addWidget(cmdCurrents3D);
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
    chk3DGain = Named(new QCheckBox(fraControls2), "chk3DGain");
    spn3DGainRange = Named(new QSpinBox(fraControls2), "spn3DGainRange");
    SetUpGainControls(*chk3DGain, *spn3DGainRange);
    view3d->addWidget(chk3DWire, 0, 0);
    view3d->addWidget(chk3DRotate, 0, 1);
    view3d->addWidget(cmdReturn, 0, 2);
    view3d->addWidget(chk3DGain, 1, 0);
    view3d->addWidget(spn3DGainRange, 1, 1);
    chk3DPhase = Named(new QCheckBox(fraControls2), "chk3DPhase");
    SetUpPhaseControl(*chk3DPhase);
    chk3DPhase->hide();
    view3d->addWidget(chk3DPhase, 1, 2);
    view3d->addWidget(nec_->chk3DSharedScale, 2, 0, 1, 3);
    view3d->addWidget(lblControls, 3, 0, 1, 3);
    sideLayout->addWidget(fraControls2);

    fraData = Named(new QGroupBox(side), "fraData");
    auto* dataLayout = new QVBoxLayout(fraData);
    dataLayout->setContentsMargins(4, 4, 4, 4);
    ctlGrid = new DataGridView(fraData);
    dataLayout->addWidget(ctlGrid);
    sideLayout->addWidget(fraData, 1);

    auto* buttons = new QHBoxLayout;
    cmdPrint = Named(new QPushButton(side), "cmdPrint");
    cmdPrint->setEnabled(false);
    cmdCapture = Named(new QPushButton(tr("Снимок"), side), "cmdCapture");
    cmdExit = Named(new QPushButton(side), "cmdExit");
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCapture);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    sideLayout->addLayout(buttons);

    // Right: the graph area.
    plotArea_ = new PlotArea(PlotArea::Kind::Main, state_, link_, this);
    picPlot = plotArea_->Controls().picPlot;

    auto* mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(8, 8, 8, 4);
    mainLayout->setSpacing(8);
    mainLayout->addWidget(side, 0);
    // Under the graph: the reference impedance of data with R and jX, and a sweep's bands.
    fraImpedance = new ImpedanceBar(central);
    fraImpedance->hide();
    auto* graphColumn = new QVBoxLayout;
    graphColumn->setSpacing(2);
    graphColumn->addWidget(plotArea_, 1);
    graphColumn->addWidget(fraImpedance);
    mainLayout->addLayout(graphColumn, 1);

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
    lbl3dAxisFont->setFont(DefaultView3DFonts().axis);
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
    connect(fraImpedance, &ImpedanceBar::ReferenceEntered, this, &frmData::cmbZ0_Click);
    connect(fraImpedance, &ImpedanceBar::ThresholdChosen, this, &frmData::cmbSwrLimit_Click);
    connect(plotArea_, &PlotArea::DiagramDoubleClicked, this, [this] {
        if (cmbLeft->isEnabled()) {
            OpenPolarWindow();
        }
    });
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
    cmdExit->setText(tr("Выход"));
    cmdRun->setText(tr("Открыть"));
    cmdPrint->setText(tr("Печать"));
    fraData->setTitle(tr("Данные"));
    fraSrc->setTitle(tr("Источник"));
    lblDataSrc->setText(tr("Источник данных:"));
    optSrc[1]->setText(tr("Файл"));
    lblCmb[0]->setText(tr("Красная Линия:"));
    lblCmb[1]->setText(tr("Синяя Линия:"));
    lblParam->setText(tr("Набор:"));
    chk3DWire->setText(tr("Сетка"));
    chk3DRotate->setText(tr("Вращать"));
    cmdReturn->setText(tr("Полярный"));
    ApplyPatternCaptions(*Host().pattern);
    fraImpedance->SetFormLanguage();
    plotArea_->Pattern().cmd3D->setText(tr("3D Модель"));
    cmdCurrents3D->setText(tr("3D Модель"));
    lblControls->setText(QStringLiteral("Mouse, Cursor, PageUp, PageDown, Home, End"));
    SetGridHeader(state_, kGridLanguageHeader);
    ShowGrid();
    mnuFile->setTitle(tr("Файл"));
    mnuFileOpen->setText(tr("Открыть"));
    mnuFileComputeNec->setText(tr("Рассчитать (NEC-2)"));
    mnuFileSave->setText(tr("Сохранить"));
    mnuFileRecent->setTitle(tr("Последние файлы"));
    mnuFileReload->setText(tr("Перечитывать при изменении"));
    mnuFileGraph->setTitle(tr("График"));
    mnuFileGraphSave->setText(tr("Сохранить"));
    mnuFileGraphCopy->setText(tr("Скопировать"));
    mnuFileGraphPrint->setText(tr("Распечатать"));
    mnuFileScreen->setTitle(tr("Экран"));
    mnuFileScreenSave->setText(tr("Сохранить"));
    mnuFileScreenCopy->setText(tr("Скопировать"));
    mnuFileExit->setText(tr("Выход"));
    mnuData->setTitle(tr("Данные"));
    mnuDataSrc->setTitle(tr("Источник"));
    mnuDataSrcFile->setText(tr("Файл"));
    mnuHelp->setTitle(tr("Помощь"));
    mnuHelpContent->setText(tr("Справка"));
    mnuHelpAbout->setText(tr("О Программе"));
    mnuHelpLanguage->setTitle(tr("Язык"));
    const char separator = state_.Paths.DataFolder.empty() ? '/' : state_.Paths.DataFolder.back();
    helpFile_ = state_.Paths.DataFolder + "Help" + separator + "Lobex.html";
    setWindowTitle(ShownText(kMainWindowCaptions[1]));
    SetToolTips();
}

// Hints for the controls whose use a caption alone does not tell.
void frmData::SetToolTips() {
    optSrc[0]->setToolTip(tr("Читать таблицу результатов из запущенной MMANA"));
    optSrc[1]->setToolTip(tr("Читать файл, сохранённый MMANA (.csv)"));
    cmdRun->setToolTip(tr("Загрузить данные из выбранного источника (Ctrl+O)"));
    cmbLeft->setToolTip(tr("Величина, которую рисует красная линия"));
    cmbRight->setToolTip(tr("Величина, которую рисует синяя линия (None - без второй линии)"));
    cmbParam->setToolTip(tr("Какую часть данных файла показать"));
    chkLogX->setToolTip(tr("Логарифмическая шкала по оси X"));
    chkLogY->setToolTip(tr("Логарифмическая шкала по оси Y"));
    chk3DWire->setToolTip(tr("Показать объёмную диаграмму сеткой"));
    chk3DRotate->setToolTip(tr("Непрерывно вращать объёмную диаграмму"));
    cmdReturn->setToolTip(tr("Вернуться к полярным диаграммам"));
    lblControls->setToolTip(
        tr("Объёмную диаграмму поворачивают мышью и стрелками, PageUp, PageDown, "
           "Home и End"));
    ctlGrid->setToolTip(tr("Щелчок по заголовку столбца упорядочивает строки по нему, "
                           "повторный - в обратном порядке.\n"
                           "Ctrl+C копирует выделенные строки."));
    cmdPrint->setToolTip(tr("Напечатать графики так, как они показаны"));
    cmdCapture->setToolTip(tr("Снимок активного окна программы: в буфер обмена и в файл BMP"));
    cmdExit->setToolTip(tr("Выйти из программы (Ctrl+Q)"));
    plotArea_->Pattern().cmd3D->setToolTip(tr("Показать диаграмму в объёме"));
    cmdCurrents3D->setToolTip(tr("Показать провода в объёме, раскрашенные по току"));
    for (QWidget* diagram : {static_cast<QWidget*>(plotArea_->Controls().picPolar1),
                             static_cast<QWidget*>(plotArea_->Controls().picPolar2)}) {
        diagram->setToolTip(tr("Двойной щелчок открывает диаграммы в отдельном окне"));
    }
}

} // namespace lobex
