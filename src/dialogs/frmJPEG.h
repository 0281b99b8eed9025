#pragma once

#include "core/Services.h"
#include "images/JpegOptions.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lobex {

// The JPEG options: quality, greyscale, and a remembered size and progressive switch. It reads
// the stored settings when made, and on OK stores them and sets options; it closes only by OK.
class frmJPEG : public QDialog {
    Q_OBJECT
public:
    frmJPEG(SettingsStore& settings, JpegOptions& options, QWidget* mainWindow);

public slots:
    void cmdOK_Click();
    // No Cancel button: Esc leaves the dialog open.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();

    SettingsStore& settings_;
    JpegOptions& options_;
    QWidget* mainWindow_ = nullptr;
    bool closingByOK_ = false;

    QCheckBox* chkProgressive = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLineEdit* txtHeight = nullptr;
    QFrame* Frame1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QLineEdit* txtQuality = nullptr;
    QCheckBox* chkGray = nullptr;
    // "Quality:", "Size:" and the "x" between width and height.
    std::array<QLabel*, 3> Label1{};
};

} // namespace lobex
