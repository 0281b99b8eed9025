#include "PatternPanel.h"

#include "CompareTable.h"
#include "PatternFigures.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lobex {
namespace {

QLabel* NamedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A group of three caption/value rows.
QGroupBox* ResultGroup(const char* name, std::array<QLabel*, 3>& captions, const char* captionName,
                       const std::array<QLabel**, 3>& values,
                       const std::array<const char*, 3>& valueNames, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    for (int row = 0; row < 3; ++row) {
        captions[static_cast<std::size_t>(row)] = NamedLabel(Indexed(captionName, row), group);
        *values[static_cast<std::size_t>(row)] =
            NamedLabel(QLatin1String(valueNames[static_cast<std::size_t>(row)]), group);
        (*values[static_cast<std::size_t>(row)])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(captions[static_cast<std::size_t>(row)], row, 0);
        grid->addWidget(*values[static_cast<std::size_t>(row)], row, 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

} // namespace

PatternPanel BuildPatternPanel(QWidget* host) {
    PatternPanel panel;
    panel.fraPolar2 = new QFrame(host);
    panel.fraPolar2->setObjectName(QStringLiteral("fraPolar2"));
    panel.fraPolar2->setFrameShape(QFrame::NoFrame);

    panel.fraMax = ResultGroup("fraMax", panel.lblMax, "lblMax",
                               {&panel.lblMaxElev, &panel.lblMaxAzim, &panel.lblMaxTotal},
                               {"lblMaxElev", "lblMaxAzim", "lblMaxTotal"}, panel.fraPolar2);
    panel.fraBeam = ResultGroup("fraBeam", panel.lblBeam, "lblBeam",
                                {&panel.lblBeamWidth, &panel.lblBeamLeft, &panel.lblBeamRight},
                                {"lblBeamWidth", "lblBeamLeft", "lblBeamRight"}, panel.fraPolar2);

    panel.fraPolar3 = new QFrame(panel.fraPolar2);
    panel.fraPolar3->setObjectName(QStringLiteral("fraPolar3"));
    auto* cutRow = new QHBoxLayout(panel.fraPolar3);
    cutRow->setContentsMargins(0, 0, 0, 0);
    panel.lblAz[0] = NamedLabel(Indexed("lblAz", 0), panel.fraPolar3);
    panel.lblAzElev = NamedLabel(QStringLiteral("lblAzElev"), panel.fraPolar3);
    panel.lblAz[1] = NamedLabel(Indexed("lblAz", 1), panel.fraPolar3);
    cutRow->addWidget(panel.lblAz[0]);
    cutRow->addWidget(panel.lblAzElev);
    cutRow->addWidget(panel.lblAz[1]);
    cutRow->addStretch(1);

    panel.fraPolar4 = new QFrame(panel.fraPolar2);
    panel.fraPolar4->setObjectName(QStringLiteral("fraPolar4"));
    auto* buttonRow = new QHBoxLayout(panel.fraPolar4);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    panel.cmd3D = new QPushButton(panel.fraPolar4);
    panel.cmd3D->setObjectName(QStringLiteral("cmd3D"));
    panel.cmd3D->setEnabled(false);
    buttonRow->addStretch(1);
    buttonRow->addWidget(panel.cmd3D);
    buttonRow->addStretch(1);

    // The frame covers the lower half of the elevation diagram, which shows nothing.
    panel.fraPolar2->setAutoFillBackground(true);
    panel.fraPolar2->setBackgroundRole(QPalette::Base);
    auto* column = new QVBoxLayout(panel.fraPolar2);
    column->setContentsMargins(6, 6, 6, 6);
    // The further figures under the two frames: the main window's diagram is too narrow for
    // them beside.
    panel.fraFigures = new PatternFiguresFrame(panel.fraPolar2);
    column->addWidget(panel.fraMax);
    column->addWidget(panel.fraBeam);
    panel.tblCompare = new CompareTable(panel.fraPolar2);
    column->addWidget(panel.tblCompare);
    column->addWidget(panel.fraFigures);
    column->addWidget(panel.fraPolar3);
    column->addWidget(panel.fraPolar4);
    column->addStretch(1);
    panel.fraPolar2->hide();
    return panel;
}

void ApplyPatternCaptions(PatternPanel& panel) {
    panel.fraMax->setTitle(QCoreApplication::translate("lobex", "Максимум Излучения"));
    panel.lblMax[0]->setText(QCoreApplication::translate("lobex", "Горизонт"));
    panel.lblMax[1]->setText(QCoreApplication::translate("lobex", "Азимут"));
    panel.lblMax[2]->setText(QCoreApplication::translate("lobex", "Уровень"));
    panel.fraBeam->setTitle(QCoreApplication::translate("lobex", "Ширина по уровню -3dB"));
    panel.lblBeam[0]->setText(QCoreApplication::translate("lobex", "Лепесток"));
    panel.lblBeam[1]->setText(QCoreApplication::translate("lobex", "Азимут 1"));
    panel.lblBeam[2]->setText(QCoreApplication::translate("lobex", "Азимут 2"));
    // The first letter of "Aзимута" is a Latin A, as the program has always shown it.
    panel.lblAz[0]->setText(QCoreApplication::translate("lobex", "Срез Aзимута для"));
    panel.lblAz[1]->setText(QCoreApplication::translate("lobex", "Возвышения"));
    panel.cmd3D->setText(QCoreApplication::translate("lobex", "3D Модель"));
    panel.fraFigures->ApplyCaptions();
}

} // namespace lobex
