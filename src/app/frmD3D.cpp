#include "frmD3D.h"

#include "View3DHost.h"

#include "core/AppState.h"
#include "core/Services.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lobex {

frmD3D::frmD3D(AppState& state, MessageService& messages)
    : QWidget(nullptr, Qt::Window), state_(state), messages_(messages) {
    setObjectName(QStringLiteral("frmD3D"));
    setWindowTitle(tr("Диаграмма Направленности - 3D - Lobex by Orvane"));
    picPlot = new QWidget(this);
    picPlot->setObjectName(QStringLiteral("picPlot"));
    picPlot->setLayout(new QVBoxLayout);
    picPlot->layout()->setContentsMargins(0, 0, 0, 0);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* Frame2 = new QFrame(Frame1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    chkRotate = new QCheckBox(tr("Вращать"), Frame2);
    chkRotate->setObjectName(QStringLiteral("chkRotate"));
    chkWire = new QCheckBox(tr("Сетка"), Frame2);
    chkWire->setObjectName(QStringLiteral("chkWire"));
    chkGain = new QCheckBox(Frame2);
    chkGain->setObjectName(QStringLiteral("chkGain"));
    spnGainRange = new QSpinBox(Frame2);
    spnGainRange->setObjectName(QStringLiteral("spnGainRange"));
    SetUpGainControls(*chkGain, *spnGainRange);
    chkPhase = new QCheckBox(Frame2);
    chkPhase->setObjectName(QStringLiteral("chkPhase"));
    SetUpPhaseControl(*chkPhase);
    chkPhase->hide();
    chkSharedScale = new QCheckBox(Frame2);
    chkSharedScale->setObjectName(QStringLiteral("chkSharedScale"));
    lblFrequency = new QLabel(Frame2);
    lblFrequency->setObjectName(QStringLiteral("lblFrequency"));
    cmbFrequency = new QComboBox(Frame2);
    cmbFrequency->setObjectName(QStringLiteral("cmbFrequency"));
    for (QWidget* nec : {static_cast<QWidget*>(chkSharedScale), static_cast<QWidget*>(lblFrequency),
                         static_cast<QWidget*>(cmbFrequency)}) {
        nec->hide();
    }
    cmdClose = new QPushButton(tr("Выход"), Frame2);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    chkRotate->setToolTip(tr("Непрерывно вращать объёмную диаграмму"));
    chkWire->setToolTip(tr("Показать объёмную диаграмму сеткой"));
    cmdClose->setToolTip(tr("Вернуть объёмную диаграмму в главное окно"));
    auto* controls = new QVBoxLayout(Frame2);
    controls->addWidget(chkRotate);
    controls->addWidget(chkWire);
    controls->addWidget(chkGain);
    controls->addWidget(spnGainRange);
    controls->addWidget(chkSharedScale);
    controls->addWidget(chkPhase);
    controls->addWidget(lblFrequency);
    controls->addWidget(cmbFrequency);
    controls->addWidget(cmdClose);
    // The controls sit at the foot of the right-hand panel.
    auto* panel = new QVBoxLayout(Frame1);
    panel->addStretch();
    panel->addWidget(Frame2);
    lblReadout = new QLabel(this);
    lblReadout->setObjectName(QStringLiteral("lblReadout"));
    lblReadout->setTextFormat(Qt::PlainText);
    auto* view = new QVBoxLayout;
    view->addWidget(picPlot, 1);
    view->addWidget(lblReadout);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(view, 1);
    layout->addWidget(Frame1);
    connect(cmdClose, &QPushButton::clicked, this, &frmD3D::ExitClicked);
}

frmD3D::~frmD3D() {
    state_.View.D3DWindowOpen = false;
}

void frmD3D::Form_Load(bool rotate, bool wire) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        // A 600-pixel screen has no room for the wider margin.
        const int margin = area.height() == 600 ? 60 : 120;
        resize(area.width() - 60, area.height() - margin);
        move(area.left() + 30, area.top() + 10);
    }
    state_.View.D3DWindowOpen = true;
    chkRotate->setChecked(rotate);
    chkWire->setChecked(wire);
    raise();
}

bool frmD3D::Rotate() const {
    return chkRotate->isChecked();
}

bool frmD3D::Wire() const {
    return chkWire->isChecked();
}

void frmD3D::UnloadByProgram() {
    closingByProgram_ = true;
    close();
}

void frmD3D::closeEvent(QCloseEvent* event) {
    if (closingByProgram_) {
        state_.View.D3DWindowOpen = false;
        event->accept();
        return;
    }
    event->ignore();
    messages_.Show(kD3DCloseBoxMessage, MessageIcon::Information, state_.AppTitle);
}

} // namespace lobex
