#pragma once

#include "core/AppState.h"

#include <QWidget>

namespace lobex {

class PlotArea;
struct PlotLink;

// The larger window for the two polar diagrams of a far-field pattern. While it is open it
// hosts the polar plots; the main window shrinks to its controls.
class frmPolar : public QWidget {
    Q_OBJECT
public:
    frmPolar(AppState& state, const PlotLink& link);
    ~frmPolar() override;

    // Makes the window the plot host; runs once, before it is shown.
    void Form_Load();
    PlotArea& Area() { return *area_; }
    // The program closes the window (a new load, the exit): nothing is drawn again.
    void UnloadByProgram();

signals:
    // The window has gone; byUser when its own close box closed it, so the diagrams are drawn
    // again in the main window.
    void Unloaded(bool byUser);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();

    AppState& state_;
    PlotArea* area_ = nullptr;
    bool UnloadedByProgram = true;
    bool closingByProgram_ = false;
    bool unloaded_ = false;
};

} // namespace lobex
