#include "frmData.h"

#include "BackgroundRead.h"
#include "NecDeckOpen.h"

#include "CompareControls.h"
#include "GridModel.h"
#include "NecControls.h"
#include "PictureBox.h"
#include "View3DHost.h"
#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/FileDialogs.h"
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
#include "session/LiveReload.h"
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

frmData::frmData(AppState& state, Services& services, PlotLink& link, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), ctx_{state, services.messages},
      session_(ctx_, *this), link_(link), graph_{state, *this, services.messages, link} {
    setObjectName(QStringLiteral("frmData"));
    setAcceptDrops(true);
    BuildMenus();
    BuildControls();
    tmrTimer3D = new QTimer(this);
    tmrTimer3D->setObjectName(QStringLiteral("tmrTimer3D"));
    tmrTimer3D->setInterval(10);
    view3D_ =
        std::make_unique<View3DHost>(state_, services_.messages, services_.settings, *tmrTimer3D);
    connect(view3D_.get(), &View3DHost::StatusNotice, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(plotArea_->Pattern().cmd3D, &QPushButton::clicked, this, &frmData::cmd3D_Click);
    connect(cmdCurrents3D, &QPushButton::clicked, this, &frmData::cmd3D_Click);
    connect(chk3DPhase, &QCheckBox::toggled, this,
            [this](bool ticked) { view3D_->SetCurrentPhase(ticked); });
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
    session_.Observe([this](SessionChange change, const Document* document) {
        TakeShownDocument(change, document);
    });
    fileWatch_ = new FileChangeWatcher(kSettlePauseMs, this);
    connect(fileWatch_, &FileChangeWatcher::Changed, this, &frmData::ReloadChangedFile);
    compare_ = new CompareControls(
        session_, state_, services_, *mnuFile, mnuFileGraph->menuAction(),
        {[this] {
             DrawCurves();
             ShowImpedance();
         },
         [this] { return mnuFileReload->isChecked(); },
         [this](const std::string& text) { SetStatus(text); },
         [this] {
             view3D_->ApplyDifference();
             compare_->mnuFileCompareDifference->setChecked(state_.Compare.Difference);
         }},
        this);
    ConnectNecControls();
    // Only the user's own pick is kept over a reload; the program selects entries too.
    connect(cmbParam, &QComboBox::activated, this, [this] { session_.KeepPick(); });

    ChoosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    // A session that ends closes the window like the program does, not like the close box.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this] { unloadingByProgram_ = true; });
}

frmData::~frmData() {
    // The controls that observe the session forget it before it goes, not with the window's
    // children after it.
    delete nec_;
    delete compare_;
}

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
    ReadImpedanceChoice();
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
    // The curves derived from the columns follow the file's own, in both lists.
    const auto AddDerivedEntries = [this](QComboBox& list) {
        const std::vector<SeriesRecord>& derived = state_.Loaded.Data.Derived;
        for (std::size_t i = 0; i < derived.size(); ++i) {
            list.addItem(ShownText(derived[i].Label), kSeriesCount + static_cast<int>(i));
        }
    };
    {
        const QSignalBlocker quiet(cmbLeft);
        cmbLeft->clear();
        for (int i = 0; i <= n; ++i) {
            cmbLeft->addItem(label(i + 1), i + 1);
        }
        AddDerivedEntries(*cmbLeft);
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
        AddDerivedEntries(*cmbRight);
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