#include "ImpedanceBar.h"

#include "CompareTable.h"

#include "core/TextRules.h"
#include "graphs/ReferenceImpedance.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace lobex {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("lobex", text);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Megahertz(double f, std::string_view separator) {
    return Q(FormatPattern(f, "#0.000", separator));
}

} // namespace

ImpedanceBar::ImpedanceBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraImpedance"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    tblCompare = new CompareTable(this);
    tblCompare->setObjectName(QStringLiteral("tblCompareImpedance"));
    column->addWidget(tblCompare);
    lblZ0 = new QLabel(this);
    lblZ0->setObjectName(QStringLiteral("lblZ0"));
    cmbZ0 = new QComboBox(this);
    cmbZ0->setObjectName(QStringLiteral("cmbZ0"));
    cmbZ0->setEditable(true);
    cmbZ0->setInsertPolicy(QComboBox::NoInsert);
    cmbZ0->setMinimumContentsLength(12);
    cmbZ0->addItem(QString());
    for (const double z0 : kReferenceImpedanceChoices) {
        cmbZ0->addItem(Q(ReferenceImpedanceText(z0, ".")));
    }
    lblSwrLimit = new QLabel(this);
    lblSwrLimit->setObjectName(QStringLiteral("lblSwrLimit"));
    cmbSwrLimit = new QComboBox(this);
    cmbSwrLimit->setObjectName(QStringLiteral("cmbSwrLimit"));
    for (std::size_t i = 0; i < kSwrThresholdChoices.size(); ++i) {
        cmbSwrLimit->addItem(QString());
    }
    lblBands = new QLabel(this);
    lblBands->setObjectName(QStringLiteral("lblBands"));
    lblBands->setTextFormat(Qt::PlainText);
    lblBands->setWordWrap(true);
    lblBands->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(lblZ0);
    row->addWidget(cmbZ0);
    row->addWidget(lblSwrLimit);
    row->addWidget(cmbSwrLimit);
    row->addWidget(lblBands, 1);
    // A table has no bands: the choice keeps to the left all the same.
    row->addStretch();

    connect(cmbZ0, &QComboBox::activated, this, &ImpedanceBar::ReferenceEntered);
    // A typed value counts once Enter is pressed or the field is left; the window ignores an
    // entry that changes nothing.
    connect(cmbZ0->lineEdit(), &QLineEdit::editingFinished, this, &ImpedanceBar::ReferenceEntered);
    connect(cmbSwrLimit, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(kSwrThresholdChoices.size())) {
            emit ThresholdChosen(kSwrThresholdChoices[static_cast<std::size_t>(index)]);
        }
    });
}

void ImpedanceBar::SetFormLanguage() {
    lblZ0->setText(Tr(QT_TRANSLATE_NOOP("lobex", "Z0, Ом:")));
    lblSwrLimit->setText(Tr(QT_TRANSLATE_NOOP("lobex", "Полоса по КСВ ≤")));
    const QString z0Tip = Tr(QT_TRANSLATE_NOOP(
        "lobex", "Волновое сопротивление, при котором считаются КСВ, |Γ| и возвратные потери: "
                 "из файла, из списка или любое (например 50-j10), ввод - Enter"));
    lblZ0->setToolTip(z0Tip);
    cmbZ0->setToolTip(z0Tip);
    const QString limitTip =
        Tr(QT_TRANSLATE_NOOP("lobex", "Наибольший КСВ, при котором частота входит в полосу"));
    lblSwrLimit->setToolTip(limitTip);
    cmbSwrLimit->setToolTip(limitTip);
    lblBands->setToolTip(Tr(QT_TRANSLATE_NOOP(
        "lobex", "Полосы, где КСВ при выбранном Z0 не больше порога, и частоты, где jX = 0")));
}

void ImpedanceBar::ShowChoice(std::complex<double> fileZ0,
                              std::optional<std::complex<double>> chosen, double threshold,
                              std::string_view separator) {
    const QSignalBlocker quiet(cmbZ0);
    const QSignalBlocker quietLine(cmbZ0->lineEdit());
    const QSignalBlocker quietLimit(cmbSwrLimit);
    fileEntry_ = Tr(QT_TRANSLATE_NOOP("lobex", "из файла: %1"))
                     .arg(Q(ReferenceImpedanceText(fileZ0, separator)));
    cmbZ0->setItemText(0, fileEntry_);
    for (std::size_t i = 0; i < kReferenceImpedanceChoices.size(); ++i) {
        cmbZ0->setItemText(static_cast<int>(i) + 1,
                           Q(ReferenceImpedanceText(kReferenceImpedanceChoices[i], separator)));
    }
    if (!chosen) {
        cmbZ0->setCurrentIndex(0);
    } else {
        const QString text = Q(ReferenceImpedanceText(*chosen, separator));
        const int entry = cmbZ0->findText(text);
        if (entry > 0) {
            cmbZ0->setCurrentIndex(entry);
        } else {
            cmbZ0->setEditText(text);
        }
    }
    for (std::size_t i = 0; i < kSwrThresholdChoices.size(); ++i) {
        cmbSwrLimit->setItemText(static_cast<int>(i),
                                 Q(FormatPattern(kSwrThresholdChoices[i], "#0.0#", separator)));
        if (kSwrThresholdChoices[i] == threshold) {
            cmbSwrLimit->setCurrentIndex(static_cast<int>(i));
        }
    }
}

bool ImpedanceBar::FileOwnChosen() const {
    return cmbZ0->currentText() == fileEntry_;
}

QString ImpedanceBar::EnteredText() const {
    return cmbZ0->currentText();
}

void ImpedanceBar::ShowFigures(const std::optional<ImpedanceFigures>& figures,
                               std::string_view separator) {
    lblBands->setVisible(figures.has_value());
    if (!figures) {
        lblBands->clear();
        return;
    }
    QStringList bands;
    for (const Band& band : figures->bandwidths) {
        bands << QStringLiteral("%1–%2").arg(Megahertz(band.low, separator),
                                             Megahertz(band.high, separator));
    }
    QStringList resonances;
    for (const double f : figures->resonances) {
        resonances << Megahertz(f, separator);
    }
    QString text = bands.isEmpty() ? Tr(QT_TRANSLATE_NOOP("lobex", "нет"))
                                   : bands.join(QStringLiteral("; ")) + QStringLiteral(" MHz");
    if (figures->min_swr && std::isfinite(*figures->min_swr) && figures->min_swr_frequency) {
        text += QStringLiteral(".  ") +
                Tr(QT_TRANSLATE_NOOP("lobex", "КСВ мин. %1 на %2 MHz"))
                    .arg(Q(FormatPattern(*figures->min_swr, "#0.00", separator)),
                         Megahertz(*figures->min_swr_frequency, separator));
    }
    text += QStringLiteral(".  ") +
            (resonances.isEmpty() ? Tr(QT_TRANSLATE_NOOP("lobex", "Резонансов нет"))
                                  : Tr(QT_TRANSLATE_NOOP("lobex", "Резонансы (jX = 0): %1 MHz"))
                                        .arg(resonances.join(QStringLiteral("; "))));
    lblBands->setText(text);
}

} // namespace lobex
