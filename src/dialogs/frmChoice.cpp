#include "frmChoice.h"

#include "Placement.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lobex {

frmChoice::frmChoice(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmChoice"));
    setWindowTitle(tr("Выбор Графика"));
    setModal(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* group = new QButtonGroup(this);
    auto* options = new QVBoxLayout(Frame1);
    options->setContentsMargins(18, 12, 18, 12);
    const std::array<QString, 2> captions = {tr("Азимут"), tr("Угол Места")};
    for (std::size_t i = 0; i < optChoice.size(); ++i) {
        optChoice[i] = new QRadioButton(captions[i], Frame1);
        optChoice[i]->setObjectName(QStringLiteral("optChoice(%1)").arg(i));
        group->addButton(optChoice[i], static_cast<int>(i));
        options->addWidget(optChoice[i]);
    }
    optChoice[0]->setChecked(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmChoice::cmdOK_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(Frame1);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void frmChoice::cmdOK_Click() {
    chosen_ = optChoice[0]->isChecked() ? 1 : 2;
    closingByOK_ = true;
    accept();
}

void frmChoice::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    closingByOK_ = false;
    PlaceOverMainWindow(*this, mainWindow_);
}

void frmChoice::closeEvent(QCloseEvent* event) {
    // The dialog always ends through OK, with a choice.
    if (!closingByOK_) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace lobex
