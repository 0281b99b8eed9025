#pragma once

#include "PatternPanel.h"
#include "PlotHostControls.h"
#include "graphs/GraphView.h"

#include <QFrame>

class QGridLayout;
class QLabel;
class QTimer;

namespace lobex {

struct AppState;
struct PlotLink;

// The graph area of a window: the rectangular graph's picture box, the two polar diagrams with
// the result frames over the elevation diagram, and the read-outs of what lies under the
// pointer. The main window and the polar window each have one; the graph code draws into the
// one PlotHost names. The 3D view takes the rectangular graph's place.
class PlotArea : public QFrame {
    Q_OBJECT
public:
    // The main window's area shows the rectangular graph or the diagrams; the polar window's
    // shows the diagrams alone, larger.
    enum class Kind { Main, Polar };

    PlotArea(Kind kind, const AppState& state, const PlotLink& link, QWidget* window);

    const PlotHostControls& Controls() const { return controls_; }
    PatternPanel& Pattern() { return pattern_; }

    PlotRect SlotClientRect(int slot) const;
    // Shows the slot's bitmap as the link holds it (or nothing when it holds none); the
    // elevation diagram also lays its result frames over its empty lower half.
    void PaintSlot(int slot);
    void ClearSlotPicture(int slot);
    // The two diagrams (true) or the rectangular graph (false).
    void SetPolarLayout(bool polar);
    void ShowPatternLabels(const PatternLabels& labels);
    // The further figures of the pattern on show.
    void ShowPatternFigures();
    void HidePolarResults();
    // The 3D button and the elevation result labels, usable or not.
    void SetPatternControls(bool enabled);
    // Every read-out blank, until the pointer moves over a graph again.
    void ClearReadouts();
    // The rectangular graph's read-outs, hidden while the 3D view is shown.
    void ShowRectangularReadouts(bool shown);
    // The 3D view in the rectangular graph's place, or (null) the graph's picture box back.
    void Show3DView(QWidget* view);
    // Whether a slot's picture box is on screen now.
    bool SlotShown(int slot) const;
    // The crosshair and the marks on or off, for a picture taken of the area.
    void SetOverlaysShown(bool shown);

signals:
    // A double click on either diagram.
    void DiagramDoubleClicked();
    // A picture box has changed size and settled: its graph should be drawn again to fit.
    void PictureBoxesResized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void picPlot_MouseMove(QPointF at);
    void SmithMouseMove(QPointF at);
    void PolarMouseMove(QPointF at, int area);
    void LayOutPolarResults();
    // The sweep's marks over the rectangular graph, from slot 0's metrics.
    void ShowMarks();

    const AppState& state_;
    const PlotLink& link_;
    PlotHostControls controls_;
    PatternPanel pattern_;
    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QLabel* lblYRight = nullptr; // the second curve's value, on the right axis
    QTimer* refit_ = nullptr;
    QGridLayout* grid_ = nullptr;
};

// The 3D button opens the 3D view; once the machine has shown it cannot draw one, the button stays
// disabled.
void Enable3DButton(PatternPanel& panel, bool enabled);

} // namespace lobex
