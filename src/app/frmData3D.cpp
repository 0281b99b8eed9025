#include "frmData.h"

#include "NecControls.h"
#include "View3DHost.h"
#include "frmD3D.h"
#include "view3d/CurrentPaths.h"
#include "view3d/PatternModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include <variant>

// The main window's side of the 3D view: starting it in the plot area, moving it into its own
// window and back, and ending it.
namespace lobex {

void frmData::Stop3DView() {
    view3D_->Stop3DView();
    plotArea_->Show3DView(nullptr);
}

void frmData::TakeShownFrequency3D() {
    const Result* document = state_.Loaded.Document.get();
    view3D_->SetCurrents(document != nullptr ? ShownCurrents(*document, state_.View.NecFrequency)
                                             : CurrentWires{});
    ShowNecFrequency(view3D_->View(), document, state_.View.NecFrequency);
}

void frmData::cmd3D_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetPolarLayout(false);
    ShowPlotControls(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    View3DState& view = view3D_->View();
    // A current file (or a NEC-2 output's "Токи") shows its wires alone; a far field its
    // pattern, a NEC-2 output's with the currents of its frequency on the wires.
    TakeShownFrequency3D();
    const bool wires = state_.Loaded.Data.DataKind == KindCurrents && !view.Currents.empty();
    if (wires) {
        view.PatternVisible = false;
        view.Pattern = {};
        view.Drawn = {};
        view.DrawnMesh.reset();
        FrameSubject(view);
    } else {
        View3DContext model{state_, view, services_.messages};
        PreparePatternModel(model);
        view3D_->ApplyDifference();
        view.PatternVisible = true;
    }
    Show3DControlsFor(wires, !view.Currents.empty());
    view3D_->SetAutoRotate(chk3DRotate->isChecked());
    view3D_->SetWireframe(chk3DWire->isChecked());
    const bool started = view3D_->Start3DView(plotArea_, font(), lbl3dAxisFont->font());
    QApplication::restoreOverrideCursor();
    if (!started) {
        mnuFileGraph->setEnabled(false);
        ShowPlotControls(false);
        SetPolarLayout(!wires);
        plotArea_->Pattern().View3DUsable = false;
        Set3DButtonEnabled(false);
        cmdCurrents3D->setEnabled(false);
        return;
    }
    mnuFileGraph->setEnabled(true);
    plotArea_->Show3DView(view3D_->Widget());
    view3D_->Widget()->setFocus();
}

void frmData::PolarCmd3D_Click() {
    // The polar window gives its diagrams back first, so that "Выход" of the 3D window
    // returns the view to a main window of full size rather than to its shrunk control strip.
    UnloadPolarWindow();
    ClosePlot(graph_, kMainSlot);
    ClosePlot(graph_, kElevationSlot);
    ClosePlot(graph_, kAzimuthSlot);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    cmd3D_Click();
    if (state_.View.View3DActive) {
        picPlot_DblClick3D();
    } else {
        // The diagrams' documents are closed: without a 3D view, draw them again.
        cmbParam_Click();
    }
}

void frmData::picPlot_DblClick3D() {
    if (!state_.View.View3DActive || d3d_) {
        return;
    }
    Stop3DView();
    ClosePlot(graph_, kMainSlot);
    mnuFileScreen->setEnabled(true);
    showMinimized();
    d3d_ = std::make_unique<frmD3D>(state_, services_.messages);
    d3d_->Form_Load(chk3DRotate->isChecked(), chk3DWire->isChecked());
    // The big window's boxes drive the main window's, whose handlers set the flags.
    connect(d3d_->chkRotate, &QCheckBox::toggled, chk3DRotate, &QCheckBox::setChecked);
    connect(d3d_->chkWire, &QCheckBox::toggled, chk3DWire, &QCheckBox::setChecked);
    d3d_->chkPhase->setVisible(chk3DPhase->isVisible());
    d3d_->chkGain->setVisible(chk3DGain->isVisible());
    d3d_->spnGainRange->setVisible(spn3DGainRange->isVisible());
    d3d_->chkPhase->setChecked(chk3DPhase->isChecked());
    connect(d3d_->chkPhase, &QCheckBox::toggled, chk3DPhase, &QCheckBox::setChecked);
    d3d_->spnGainRange->setValue(spn3DGainRange->value());
    d3d_->chkGain->setChecked(chk3DGain->isChecked());
    connect(d3d_->chkGain, &QCheckBox::toggled, chk3DGain, &QCheckBox::setChecked);
    connect(d3d_->spnGainRange, &QSpinBox::valueChanged, spn3DGainRange, &QSpinBox::setValue);
    connect(d3d_.get(), &frmD3D::ExitClicked, this, &frmData::D3DWindowExit);
    nec_->Follow(*d3d_, *d3d_->lblFrequency, *d3d_->cmbFrequency, *d3d_->chkSharedScale);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (view3D_->Start3DView(d3d_->Target(), font(), lbl3dAxisFont->font())) {
        d3d_->Target()->layout()->addWidget(view3D_->Widget());
        view3D_->SetAutoRotate(d3d_->Rotate());
        view3D_->SetWireframe(d3d_->Wire());
    }
    d3d_->show();
    if (view3D_->Widget() != nullptr) {
        view3D_->Widget()->setFocus();
    }
}

QWidget* frmData::Show3DForCommandLine(const std::string& antenna, bool ownWindow) {
    if (!plotArea_->Pattern().cmd3D->isEnabled() && cmdCurrents3D->isHidden()) {
        return this;
    }
    cmd3D_Click();
    if (!state_.View.View3DActive) {
        return this;
    }
    if (!antenna.empty()) {
        view3D_->LoadAntenna(antenna);
    }
    if (ownWindow) {
        picPlot_DblClick3D();
    }
    // Let the view turn for a moment, as a user would first see it.
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < 400) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return d3d_ ? static_cast<QWidget*>(d3d_.get()) : this;
}

void frmData::D3DWindowExit() {
    if (!d3d_) {
        return;
    }
    view3D_->Stop3DView();
    d3d_->hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (view3D_->Start3DView(plotArea_, font(), lbl3dAxisFont->font())) {
        plotArea_->Show3DView(view3D_->Widget());
        view3D_->SetAutoRotate(d3d_->Rotate());
        view3D_->SetWireframe(d3d_->Wire());
    }
    showNormal();
    d3d_->UnloadByProgram();
    d3d_.reset();
}

void frmData::cmdReturn_Click() {
    // The wires alone have no pattern surface.
    const bool wires = !view3D_->View().DrawnMesh && !view3D_->View().Currents.empty();
    D3DWindowExit();
    Stop3DView();
    ShowPlotControls(false);
    // The wires go back to the current graph they came from, the pattern to its diagrams.
    SetPolarLayout(!wires);
    mnuFileGraph->setEnabled(true);
    view3D_->SetCurrents({});
    if (wires) {
        cmbLeft_Click();
    }
}

void frmData::Show3DControlsFor(bool currents, bool phase) {
    chk3DGain->setVisible(!currents);
    spn3DGainRange->setVisible(!currents);
    chk3DPhase->setVisible(phase);
    cmdReturn->setText(currents ? tr("График") : tr("Полярный"));
    cmdReturn->setToolTip(currents ? tr("Вернуться к графику токов")
                                   : tr("Вернуться к полярным диаграммам"));
}

void frmData::UnloadD3DWindow() {
    if (d3d_) {
        d3d_->UnloadByProgram();
        d3d_.reset();
    }
}

} // namespace lobex
