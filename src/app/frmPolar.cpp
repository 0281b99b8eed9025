#include "frmPolar.h"

#include "PictureBox.h"
#include "frmData.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace lobex {
namespace {

// 3.3 inches of diagram and the room around it.
constexpr int kDiagramSide = 440;

QLabel* ReadoutLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmPolar::frmPolar(AppState& state, frmData& mainWindow)
    : QWidget(nullptr, Qt::Window), state_(state), main_(mainWindow) {
    setObjectName(QStringLiteral("frmPolar"));
    BuildControls();
}

frmPolar::~frmPolar() = default;

void frmPolar::BuildControls() {
    controls_.window = this;
    controls_.fraPlot = new QFrame(this);
    controls_.fraPlot->setObjectName(QStringLiteral("fraPlot"));
    controls_.picPlot = new PictureBox(controls_.fraPlot);
    controls_.picPlot->setObjectName(QStringLiteral("picPlot"));
    controls_.picPlot->hide();
    controls_.picPolar1 = new PictureBox(controls_.fraPlot);
    controls_.picPolar1->setObjectName(QStringLiteral("picPolar1"));
    controls_.picPolar2 = new PictureBox(controls_.fraPlot);
    controls_.picPolar2->setObjectName(QStringLiteral("picPolar2"));
    for (PictureBox* box : {controls_.picPolar1, controls_.picPolar2}) {
        box->setMinimumSize(kDiagramSide, kDiagramSide);
    }
    pattern_ = BuildPatternPanel(controls_.picPolar2);
    pattern_.cmd3D->setEnabled(false);
    controls_.pattern = &pattern_;
    controls_.lblX1 = ReadoutLabel(this, "lblX1");
    controls_.lblY1 = ReadoutLabel(this, "lblY1");
    controls_.lblX2 = ReadoutLabel(this, "lblX2");
    controls_.lblY2 = ReadoutLabel(this, "lblY2");

    auto* grid = new QGridLayout(controls_.fraPlot);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);
    grid->addWidget(controls_.picPolar1, 0, 0);
    grid->addWidget(controls_.picPolar2, 0, 1);
    grid->addWidget(controls_.picPlot, 0, 0, 1, 2);
    for (int column = 0; column < 2; ++column) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(8, 2, 8, 2);
        row->setSpacing(16);
        row->addWidget(column == 0 ? controls_.lblX1 : controls_.lblX2);
        row->addWidget(column == 0 ? controls_.lblY1 : controls_.lblY2);
        row->addStretch(1);
        grid->addLayout(row, 1, column);
    }
    grid->setRowStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(controls_.fraPlot);

    connect(controls_.picPolar1, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                controls_.lblX2->clear();
                controls_.lblY2->clear();
                main_.MouseMove(at.x(), at.y(), controls_.lblX1, controls_.lblY1, 1);
            });
    connect(controls_.picPolar2, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                controls_.lblX1->clear();
                controls_.lblY1->clear();
                main_.MouseMove(at.x(), at.y(), controls_.lblX2, controls_.lblY2, 2);
            });
    pattern_.fraPolar2->setMouseTracking(true);
    pattern_.fraPolar2->installEventFilter(this);
}

void frmPolar::Form_Load() {
    resize(2 * kDiagramSide + 20, kDiagramSide + 60);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2 - 40);
    }
    pattern_.fraPolar2->hide();
    mainGeometry_ = main_.geometry();
    main_.ShrinkForPolarWindow(true);
    for (QFrame* frame : {pattern_.fraPolar2, pattern_.fraPolar4}) {
        frame->setFrameShape(QFrame::NoFrame);
    }
    state_.PlotHost = PlotHostKind::PolarWindow;
    main_.SetFormLanguage();
    main_.SetParamCaption(QStringLiteral("Угол Места:"));
    // Labels and frames take the window background colour, as the diagrams do.
    for (QWidget* child : findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (name.startsWith(QLatin1String("lbl")) || name.startsWith(QLatin1String("fra"))) {
            child->setBackgroundRole(QPalette::Base);
            child->setAutoFillBackground(true);
        }
    }
    state_.PolarWindowOpen = true;
}

void frmPolar::UnloadByProgram() {
    closingByProgram_ = true;
    close();
}

void frmPolar::closeEvent(QCloseEvent* event) {
    // A close that the program did not ask for came from the window's own close box.
    if (!closingByProgram_) {
        UnloadedByProgram = false;
    }
    event->accept();
    Form_Unload();
}

void frmPolar::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    state_.PlotHost = PlotHostKind::MainWindow;
    main_.ShrinkForPolarWindow(false);
    main_.setGeometry(mainGeometry_);
    state_.PolarWindowOpen = false;
    main_.PolarWindowClosed(!UnloadedByProgram);
}

bool frmPolar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pattern_.fraPolar2 && event->type() == QEvent::MouseMove) {
        controls_.picPolar2->unsetCursor();
        controls_.lblX2->clear();
        controls_.lblY2->clear();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lobex
