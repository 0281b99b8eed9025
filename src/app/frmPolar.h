#pragma once

#include "PatternPanel.h"
#include "PlotHostControls.h"
#include "core/AppState.h"

#include <QRect>
#include <QWidget>

class QFrame;
class QLabel;

namespace lobex {

class frmData;

// The larger window for the two polar diagrams of a far-field pattern. While it is open it
// hosts the polar plots, and the main window shrinks to its controls.
class frmPolar : public QWidget {
    Q_OBJECT
public:
    frmPolar(AppState& state, frmData& mainWindow);
    ~frmPolar() override;

    // Makes the window the plot host; runs once, before it is shown.
    void Form_Load();
    PlotHostControls& Controls() { return controls_; }
    // The program closes the window (a new load, the exit): nothing is drawn again.
    void UnloadByProgram();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Unload();
    void BuildControls();

    AppState& state_;
    frmData& main_;
    PlotHostControls controls_;
    PatternPanel pattern_;
    // The main window's place before it shrank, given back on closing.
    QRect mainGeometry_;
    bool UnloadedByProgram = true;
    bool closingByProgram_ = false;
    bool unloaded_ = false;
};

} // namespace lobex
