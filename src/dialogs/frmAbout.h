#pragma once

#include <QDialog>

#include <string>

class QFrame;
class QLabel;

namespace lobex {

// "v", major, ".", minor and revision written together, two spaces, "by Orvane".
std::string AboutVersionLine(int major, int minor, int revision);

// The About box: the product, its version, and a click anywhere on it to close.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CloseByClick();

    QWidget* mainWindow_ = nullptr;
    bool closingByClick_ = false;
    QFrame* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVersion = nullptr;
};

} // namespace lobex
