#include "frmPolar.h"

#include "PatternPanel.h"
#include "PlotArea.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace lobex {
namespace {

// 3.3 inches of diagram and the room around it.
constexpr int kDiagramSide = 440;

} // namespace

frmPolar::frmPolar(AppState& state, const PlotLink& link)
    : QWidget(nullptr, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("frmPolar"));
    area_ = new PlotArea(PlotArea::Kind::Polar, state, link, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(area_);
}

frmPolar::~frmPolar() = default;

void frmPolar::Form_Load() {
    resize(2 * kDiagramSide + 20, kDiagramSide + 60);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2 - 40);
    }
    PatternPanel& pattern = area_->Pattern();
    pattern.fraPolar2->hide();
    for (QFrame* frame : {pattern.fraPolar2, pattern.fraPolar4}) {
        frame->setFrameShape(QFrame::NoFrame);
    }
    ApplyPatternCaptions(pattern);
    setWindowTitle(tr("Диаграмма Направленности - Полярная - Lobex by Orvane"));
    state_.View.PlotHost = PlotHostKind::PolarWindow;
    // Labels and frames take the window background colour, as the diagrams do.
    for (QWidget* child : findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (name.startsWith(QLatin1String("lbl")) || name.startsWith(QLatin1String("fra"))) {
            child->setBackgroundRole(QPalette::Base);
            child->setAutoFillBackground(true);
        }
    }
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
    state_.View.PlotHost = PlotHostKind::MainWindow;
    emit Unloaded(!UnloadedByProgram);
}

} // namespace lobex
