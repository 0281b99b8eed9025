#include "frmData.h"

#include "NecControls.h"
#include "PictureBox.h"
#include "frmPolar.h"
#include "graphs/CursorReadout.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

// The graphs: the plot area of the window that hosts them, the curve lists, the log axes and the
// polar window.
namespace lobex {

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
    nec_->AddStepKeys(*polar_);
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

} // namespace lobex
