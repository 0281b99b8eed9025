#include "frmAbout.h"

#include "Placement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace lobex {

std::string AboutVersionLine(int major, int minor, int revision) {
    return "v" + std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision) +
           "  by Orvane";
}

frmAbout::frmAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("О Программе"));
    setModal(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);

    Label1 = new QLabel(QStringLiteral("Lobex for MMana"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Arial"), 20);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    Label1->setAlignment(Qt::AlignCenter);

    Label2 = new QLabel(QStringLiteral("Visual interface for MMANA "), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);

    lblVersion = new QLabel(Frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setText(QString::fromStdString(
        AboutVersionLine(LOBEX_VERSION_MAJOR, LOBEX_VERSION_MINOR, LOBEX_VERSION_PATCH)));

    auto* inner = new QVBoxLayout(Frame1);
    inner->setContentsMargins(32, 24, 32, 24);
    inner->setSpacing(10);
    inner->addWidget(Label1);
    inner->addWidget(Label2);
    inner->addWidget(lblVersion);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(Frame1);

    for (QWidget* widget : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Label1),
                            static_cast<QWidget*>(Label2), static_cast<QWidget*>(lblVersion)}) {
        widget->installEventFilter(this);
        widget->setCursor(Qt::PointingHandCursor);
    }
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    closingByClick_ = false;
    PlaceOverMainWindow(*this, mainWindow_);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        CloseByClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::CloseByClick() {
    closingByClick_ = true;
    accept();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    // The box closes by a click on it (or Esc), not through the close box.
    if (!closingByClick_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace lobex
