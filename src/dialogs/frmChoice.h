#pragma once

#include "core/AppState.h"

#include <QDialog>

#include <array>

class QFrame;
class QPushButton;
class QRadioButton;

namespace lobex {

// Asks which polar diagram a graph copy or save takes: OK sets ChosenGraph to 1 (azimuth) or
// 2 (elevation). The azimuth is selected when it opens; it closes only by OK.
class frmChoice : public QDialog {
    Q_OBJECT
public:
    frmChoice(AppState& state, QWidget* mainWindow);

public slots:
    void cmdOK_Click();
    // No Cancel button: Esc leaves the dialog open.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    AppState& state_;
    QWidget* mainWindow_ = nullptr;
    bool closingByOK_ = false;

    QFrame* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optChoice{};
    QPushButton* cmdOK = nullptr;
};

} // namespace lobex
