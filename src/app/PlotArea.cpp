#include "PlotArea.h"

#include "CompareTable.h"
#include "PatternFigures.h"
#include "PictureBox.h"
#include "core/AppState.h"
#include "graphs/CursorReadout.h"
#include "graphs/CurveReading.h"
#include "graphs/PlotLink.h"
#include "graphs/RectangularGraph.h"
#include "platform/QtTranslations.h"
#include "plotter/PlotOutput.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>

namespace lobex {
namespace {

constexpr int kPlotFrameHeight = 5150 / 15; // 5150 twips
// The polar window's diagrams grow with it; below this they would be too small to read.
constexpr int kSmallestDiagram = 200;
// A graph is drawn again to fit its box once the box has kept its size this long, not at
// every step of a resize.
constexpr int kRefitDelayMs = 120;
// The curves' colours in the read-outs: the red line, and the blue one on the right axis.
const QColor kFirstCurveColour(255, 0, 0);
const QColor kSecondCurveColour(0, 0, 255);

QLabel* ReadoutLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(0);
    label->setTextFormat(Qt::PlainText);
    return label;
}

PictureBox* NamedBox(QWidget* parent, const char* name) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QHBoxLayout* ReadoutRow(std::initializer_list<QLabel*> labels) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(16);
    for (QLabel* label : labels) {
        row->addWidget(label);
    }
    row->addStretch(1);
    return row;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QRect PlottingArea(const PlotMetrics& m) {
    return QRect(QPoint(m.Left, m.Top), QPoint(m.Right, m.Bottom));
}

} // namespace

void Enable3DButton(PatternPanel& panel, bool enabled) {
    panel.cmd3D->setEnabled(enabled && panel.View3DUsable);
}

PlotArea::PlotArea(Kind kind, const AppState& state, const PlotLink& link, QWidget* window)
    : QFrame(window), state_(state), link_(link) {
    setObjectName(QStringLiteral("fraPlot"));
    const bool main = kind == Kind::Main;
    if (main) {
        setFrameShape(QFrame::StyledPanel);
        setMinimumHeight(kPlotFrameHeight);
    }
    controls_.window = window;
    controls_.fraPlot = this;
    controls_.picPlot = NamedBox(this, "picPlot");
    controls_.picPolar1 = NamedBox(this, "picPolar1");
    controls_.picPolar2 = NamedBox(this, "picPolar2");
    pattern_ = BuildPatternPanel(controls_.picPolar2);
    controls_.pattern = &pattern_;

    auto* grid = grid_ = new QGridLayout(this);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);
    // The rectangular graph (and later the 3D view) and the two diagrams share the space; only
    // one of the two is shown at a time.
    grid->addWidget(controls_.picPlot, 0, 0, 1, 2);
    grid->addWidget(controls_.picPolar1, 0, 0);
    grid->addWidget(controls_.picPolar2, 0, 1);
    grid->setRowStretch(0, 1);
    if (main) {
        lblX = ReadoutLabel(this, "lblX");
        lblY = ReadoutLabel(this, "lblY");
        lblYRight = ReadoutLabel(this, "lblYRight");
        SetTextColour(lblY, kFirstCurveColour);
        SetTextColour(lblYRight, kSecondCurveColour);
        controls_.picPolar1->hide();
        controls_.picPolar2->hide();
    } else {
        controls_.picPlot->hide();
        for (PictureBox* box : {controls_.picPolar1, controls_.picPolar2}) {
            box->setMinimumSize(kSmallestDiagram, kSmallestDiagram);
        }
    }
    controls_.lblX1 = ReadoutLabel(this, "lblX1");
    controls_.lblY1 = ReadoutLabel(this, "lblY1");
    controls_.lblX2 = ReadoutLabel(this, "lblX2");
    controls_.lblY2 = ReadoutLabel(this, "lblY2");
    grid->addLayout(main ? ReadoutRow({lblX, lblY, lblYRight, controls_.lblX1, controls_.lblY1})
                         : ReadoutRow({controls_.lblX1, controls_.lblY1}),
                    1, 0);
    grid->addLayout(ReadoutRow({controls_.lblX2, controls_.lblY2}), 1, 1);

    connect(controls_.picPlot, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) { picPlot_MouseMove(at); });
    connect(controls_.picPolar1, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                controls_.lblX2->clear();
                controls_.lblY2->clear();
                PolarMouseMove(at, 1);
            });
    connect(controls_.picPolar2, &PictureBox::MouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF at) {
                controls_.lblX1->clear();
                controls_.lblY1->clear();
                PolarMouseMove(at, 2);
            });
    for (PictureBox* box : {controls_.picPolar1, controls_.picPolar2}) {
        connect(box, &PictureBox::DoubleClicked, this, &PlotArea::DiagramDoubleClicked);
    }
    pattern_.fraPolar2->setMouseTracking(true);
    pattern_.fraPolar2->installEventFilter(this);

    refit_ = new QTimer(this);
    refit_->setSingleShot(true);
    refit_->setInterval(kRefitDelayMs);
    connect(refit_, &QTimer::timeout, this, &PlotArea::PictureBoxesResized);
    for (PictureBox* box : {controls_.picPlot, controls_.picPolar1, controls_.picPolar2}) {
        box->installEventFilter(this);
    }
}

PlotRect PlotArea::SlotClientRect(int slot) const {
    const PictureBox* box = controls_.SlotBox(slot);
    if (box == nullptr) {
        return {};
    }
    if (slot != kElevationSlot) {
        return {0, 0, box->width(), box->height()};
    }
    // The elevation diagram is centred in its picture and draws only its upper half; the
    // result frames go below its centre row. In a low box the picture is made lower, so that
    // the frames fit under the diagram rather than run off the box.
    const QFrame* results = pattern_.fraPolar2;
    const int below = results->sizeHint().height() + results->fontMetrics().height() / 2 + 2;
    if (state_.Compare.Difference) {
        // The difference is a rectangular graph whose lower half shows curves too: the frames
        // go under the whole of it.
        return {0, 0, box->width(), std::max(box->height() / 3, box->height() - below)};
    }
    const int height = std::clamp(2 * (box->height() - below),
                                  std::min(box->height(), box->width() / 2), box->height());
    return {0, 0, box->width(), height};
}

void PlotArea::PaintSlot(int slot) {
    PictureBox* box = controls_.SlotBox(slot);
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
    if (slot == kMainSlot) {
        // A Smith chart draws its own marks; the sweep's marks belong to a frequency axis.
        if (plot.Smith.Empty()) {
            ShowMarks();
        } else {
            box->SetMarks({}, {});
        }
    }
    if (slot == kElevationSlot) {
        LayOutPolarResults();
    }
}

void PlotArea::ShowMarks() {
    const PlotSlot& slot = link_.Slots[kMainSlot];
    const PlotMetrics& m = slot.Metrics;
    const SweepMarks marks = SweepMarksOf(state_.Loaded.Data);
    const bool logX = state_.View.LogX;
    const bool logY = state_.View.LogY;
    const std::string& separator = state_.DecimalSeparator;
    // A mark sits on its curve when that curve is the red one, on the left axis.
    const int leftColumn = slot.Curves.curves.empty() ? 0 : slot.Curves.curves.front().column;
    std::vector<PictureMark> shown;
    auto add = [&](double x, std::optional<double> y, int column, const std::string& text) {
        const std::optional<double> at = ColumnOf(m, x, logX);
        if (!at || *at < m.Left || *at > m.Right) {
            return;
        }
        PictureMark mark{*at, std::nullopt, ShownText(text)};
        if (y && column == leftColumn) {
            mark.row = RowOf(m, *y, logY);
        }
        shown.push_back(std::move(mark));
    };
    if (marks.swrMinimum) {
        add(marks.swrMinimum->x, marks.swrMinimum->y, kSweepSwrColumn,
            SwrMinimumText(marks.swrMinimum->y, separator));
    }
    for (const double f : marks.resonances) {
        add(f, 0.0, kSweepReactanceColumn, ResonanceText(f, separator));
    }
    // Compared files are named in a legend at the plotting area's top right.
    controls_.picPlot->SetMarks(PlottingArea(m), std::move(shown), !state_.Compare.Results.empty());
}

// The result frames cover the elevation diagram's lower half, which shows nothing (or go under
// a difference graph): from just below its centre row (clear of the angle labels written on it)
// across the whole picture box, their text starting at the plotting area's left edge.
void PlotArea::LayOutPolarResults() {
    const PlotSlot& slot = link_.Slots[kElevationSlot];
    const PlotMetrics& m = slot.Metrics;
    QFrame* frame = pattern_.fraPolar2;
    // Under a difference graph, which fills its picture, rather than over a diagram's half.
    const int top = state_.Compare.Difference
                        ? slot.ClientRect.bottom + 2
                        : (m.Bottom - m.Top) / 2 + m.Top + 2 + frame->fontMetrics().height() / 2;
    const int box = controls_.picPolar2->width();
    const int indent = std::clamp(m.Left, 0, std::max(0, box - frame->minimumSizeHint().width()));
    if (auto* layout = frame->layout()) {
        const QMargins margins = layout->contentsMargins();
        layout->setContentsMargins(indent, margins.top(), margins.right(), margins.bottom());
    }
    frame->setGeometry(0, top, box, std::max(0, controls_.picPolar2->height() - top));
    frame->show();
    frame->raise();
}

void PlotArea::ClearSlotPicture(int slot) {
    if (PictureBox* box = controls_.SlotBox(slot)) {
        box->ClearPicture();
        box->SetMarks({}, {});
        box->SetCrosshair(std::nullopt);
    }
}

void PlotArea::SetPolarLayout(bool polar) {
    if (polar) {
        for (QFrame* frame : {pattern_.fraPolar2, pattern_.fraPolar3, pattern_.fraPolar4}) {
            frame->setFrameShape(QFrame::NoFrame);
        }
        controls_.picPolar1->show();
        controls_.picPolar2->show();
        controls_.picPlot->hide();
        for (QLabel* label : {controls_.lblX1, controls_.lblY1, controls_.lblX2, controls_.lblY2}) {
            label->clear();
        }
    } else {
        controls_.picPolar1->hide();
        controls_.picPolar2->hide();
        controls_.picPlot->show();
    }
}

void PlotArea::ShowPatternLabels(const PatternLabels& labels) {
    const std::pair<QLabel*, const std::string*> texts[] = {
        {pattern_.lblMaxElev, &labels.MaxElev},     {pattern_.lblMaxAzim, &labels.MaxAzim},
        {pattern_.lblMaxTotal, &labels.MaxTotal},   {pattern_.lblAzElev, &labels.AzElev},
        {pattern_.lblBeamLeft, &labels.BeamLeft},   {pattern_.lblBeamRight, &labels.BeamRight},
        {pattern_.lblBeamWidth, &labels.BeamWidth},
    };
    for (const auto& [label, text] : texts) {
        label->setText(Q(*text));
    }
    const std::vector<CompareRow> rows = CompareRows(state_);
    pattern_.tblCompare->ShowRows(rows, state_.DecimalSeparator);
    pattern_.fraMax->setVisible(rows.empty());
    pattern_.fraBeam->setVisible(rows.empty());
    ShowPatternFigures();
}

void PlotArea::ShowPatternFigures() {
    pattern_.fraFigures->ShowFor(state_.Loaded.Document, state_.View.NecFrequency,
                                 state_.DecimalSeparator);
}

void PlotArea::HidePolarResults() {
    pattern_.fraPolar2->hide();
}

void PlotArea::SetPatternControls(bool enabled) {
    Enable3DButton(pattern_, enabled);
    pattern_.lblMax[2]->setEnabled(enabled);
    pattern_.lblMaxElev->setEnabled(enabled);
    if (!enabled) {
        pattern_.lblMaxElev->clear();
    }
}

void PlotArea::ClearReadouts() {
    for (QLabel* label : {lblX, lblY, lblYRight, controls_.lblX1, controls_.lblY1, controls_.lblX2,
                          controls_.lblY2}) {
        if (label != nullptr) {
            label->clear();
        }
    }
}

void PlotArea::ShowRectangularReadouts(bool shown) {
    if (lblX != nullptr) {
        lblX->setVisible(shown);
        lblY->setVisible(shown);
        lblYRight->setVisible(shown);
    }
}

// The pointer's X and each curve's value there: what a curve reads at a frequency, not the
// height of the pointer.
void PlotArea::picPlot_MouseMove(QPointF at) {
    const PlotSlot& slot = link_.Slots[kMainSlot];
    PictureBox* box = controls_.picPlot;
    if (!slot.Smith.Empty()) {
        SmithMouseMove(at);
        return;
    }
    const CurveValues read = slot.HasBitmap == 1
                                 ? ReadCurves(slot.Metrics, slot.Curves, at.x(), at.y(),
                                              state_.View.LogX, state_.View.LogY)
                                 : CurveValues{};
    if (lblX == nullptr || !read.inside) {
        if (lblX != nullptr) {
            lblX->clear();
            lblY->clear();
            lblYRight->clear();
        }
        box->unsetCursor();
        box->SetCrosshair(std::nullopt);
        return;
    }
    const std::string& separator = state_.DecimalSeparator;
    lblX->setText(Q(RectangularXText(read.x, separator)));
    const std::array<QLabel*, 2> labels = {lblY, lblYRight};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const bool has = i < read.values.size() && read.values[i].has_value();
        labels[i]->setText(
            has ? Q(CurveValueText(ShownText(slot.Curves.curves[i].name).toStdString(),
                                   *read.values[i], separator))
                : QString());
    }
    box->setCursor(Qt::CrossCursor);
    box->SetCrosshair(at);
}

// The impedance under the pointer, and the sweep point nearest to it in the red line's colour.
void PlotArea::SmithMouseMove(QPointF at) {
    const PlotSlot& slot = link_.Slots[kMainSlot];
    PictureBox* box = controls_.picPlot;
    const SmithReadout read =
        slot.HasBitmap == 1 ? ReadSmith(slot.Metrics, slot.Smith, at.x(), at.y()) : SmithReadout{};
    if (lblX == nullptr) {
        return;
    }
    lblYRight->clear();
    if (!read.inside) {
        lblX->clear();
        lblY->clear();
        box->unsetCursor();
        box->SetCrosshair(std::nullopt);
        return;
    }
    const auto translate = [](std::string_view text) {
        return ShownText(text).toStdString();
    };
    const std::string& separator = state_.DecimalSeparator;
    lblX->setText(read.impedance ? Q(SmithImpedanceText(*read.impedance, separator, translate))
                                 : QStringLiteral("Z=∞"));
    lblY->setText(Q(SmithPointText(slot.Smith, read, separator, translate)));
    box->setCursor(Qt::CrossCursor);
}

void PlotArea::PolarMouseMove(QPointF at, int area) {
    const PlotSlot& slot = link_.Slots[area == 1 ? kAzimuthSlot : kElevationSlot];
    PictureBox* box = area == 1 ? controls_.picPolar1 : controls_.picPolar2;
    QLabel* gain = area == 1 ? controls_.lblX1 : controls_.lblX2;
    QLabel* angle = area == 1 ? controls_.lblY1 : controls_.lblY2;
    const PolarReadout readout =
        slot.HasBitmap == 1
            ? ReadPolar(slot.Metrics, at.x(), at.y(), area, state_.Loaded.Pattern.PlotRange,
                        state_.Loaded.Pattern.PlotFloor, state_.PiValue)
            : PolarReadout{};
    if (!readout.inside) {
        gain->clear();
        angle->clear();
        box->unsetCursor();
        return;
    }
    gain->setText(Q(PolarGainText(readout.gain, state_.DecimalSeparator)));
    angle->setText(Q(PolarAngleText(readout.angle, area, state_.DecimalSeparator)));
    box->setCursor(Qt::CrossCursor);
}

bool PlotArea::SlotShown(int slot) const {
    const PictureBox* box = controls_.SlotBox(slot);
    return box != nullptr && box->isVisible();
}

void PlotArea::SetOverlaysShown(bool shown) {
    for (PictureBox* box : {controls_.picPlot, controls_.picPolar1, controls_.picPolar2}) {
        box->SetOverlayShown(shown);
    }
}

bool PlotArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched != pattern_.fraPolar2) {
        refit_->start();
    }
    // The result frames hide the diagram under them: the pointer there reads nothing.
    if (watched == pattern_.fraPolar2 && event->type() == QEvent::MouseMove) {
        controls_.picPolar2->unsetCursor();
        controls_.lblX2->clear();
        controls_.lblY2->clear();
    }
    return QFrame::eventFilter(watched, event);
}

void PlotArea::Show3DView(QWidget* view) {
    if (view == nullptr) {
        controls_.picPlot->show();
        return;
    }
    grid_->addWidget(view, 0, 0, 1, 2);
    controls_.picPlot->hide();
    view->show();
}

} // namespace lobex
