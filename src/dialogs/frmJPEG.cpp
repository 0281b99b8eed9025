#include "frmJPEG.h"

#include "Placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lobex {

frmJPEG::frmJPEG(SettingsStore& settings, JpegOptions& options, QWidget* mainWindow)
    : QDialog(mainWindow), settings_(settings), options_(options), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmJPEG"));
    setWindowTitle(QStringLiteral("JPEG Settings"));
    setModal(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);

    const std::array<QString, 3> labels = {QStringLiteral("Quality:"), QStringLiteral("Size:"),
                                           QStringLiteral("x")};
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = new QLabel(labels[i], Frame1);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    }
    Label1[2]->setAlignment(Qt::AlignCenter);

    const auto makeText = [this](const char* name) {
        auto* text = new QLineEdit(Frame1);
        text->setObjectName(QLatin1String(name));
        text->setMaximumWidth(64);
        return text;
    };
    txtQuality = makeText("txtQuality");
    txtWidth = makeText("txtWidth");
    txtHeight = makeText("txtHeight");

    chkGray = new QCheckBox(QStringLiteral("Grayscale"), Frame1);
    chkGray->setObjectName(QStringLiteral("chkGray"));
    chkProgressive = new QCheckBox(QStringLiteral("Progressive"), Frame1);
    chkProgressive->setObjectName(QStringLiteral("chkProgressive"));
    txtQuality->setToolTip(
        tr("Качество JPEG от 0 до 100: чем больше, тем лучше картинка и крупнее файл"));
    txtWidth->setToolTip(tr("Ширина картинки в точках"));
    txtHeight->setToolTip(tr("Высота картинки в точках"));
    chkGray->setToolTip(tr("Сохранить картинку в оттенках серого"));
    chkProgressive->setToolTip(
        tr("Прогрессивный JPEG: при загрузке картинка проявляется постепенно"));

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setHorizontalSpacing(8);
    grid->addWidget(Label1[0], 0, 0);
    grid->addWidget(txtQuality, 0, 1);
    grid->addWidget(chkGray, 0, 3, 1, 2);
    grid->addWidget(Label1[1], 1, 0);
    grid->addWidget(txtWidth, 1, 1);
    grid->addWidget(Label1[2], 1, 2);
    grid->addWidget(txtHeight, 1, 3);
    grid->addWidget(chkProgressive, 2, 0, 1, 4);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmJPEG::cmdOK_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(Frame1);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void frmJPEG::Form_Load() {
    const JpegSettingsText fields = ReadJpegSettings(settings_);
    txtWidth->setText(QString::fromStdString(fields.Width));
    txtHeight->setText(QString::fromStdString(fields.Height));
    txtQuality->setText(QString::fromStdString(fields.Quality));
    chkProgressive->setChecked(fields.Progressive);
    chkGray->setChecked(fields.Grayscale);
}

void frmJPEG::cmdOK_Click() {
    options_ = StoreJpegSettings(settings_,
                                 {txtWidth->text().toStdString(), txtHeight->text().toStdString(),
                                  txtQuality->text().toStdString(), chkProgressive->isChecked(),
                                  chkGray->isChecked()});
    closingByOK_ = true;
    accept();
}

void frmJPEG::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    closingByOK_ = false;
    PlaceOverMainWindow(*this, mainWindow_);
}

void frmJPEG::closeEvent(QCloseEvent* event) {
    // Only OK closes the dialog; the close box does nothing.
    if (!closingByOK_) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace lobex
