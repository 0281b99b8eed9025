#pragma once

#include <QDialog>

#include <array>

class QFrame;
class QPushButton;
class QRadioButton;

namespace lobex {

// Asks which polar diagram a graph copy or save takes: OK chooses 1 (azimuth) or 2 (elevation).
// The azimuth is selected when it opens; it closes only by OK.
class frmChoice : public QDialog {
    Q_OBJECT
public:
    explicit frmChoice(QWidget* mainWindow);
    // The diagram chosen: 0 before OK, then 1 or 2.
    int Chosen() const { return chosen_; }

public slots:
    void cmdOK_Click();
    // No Cancel button: Esc leaves the dialog open.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* mainWindow_ = nullptr;
    int chosen_ = 0;
    bool closingByOK_ = false;

    QFrame* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optChoice{};
    QPushButton* cmdOK = nullptr;
};

} // namespace lobex
