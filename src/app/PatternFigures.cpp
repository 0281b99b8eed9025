#include "PatternFigures.h"

#include "core/TextRules.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>

#include <optional>
#include <variant>

namespace lobex {
namespace {

constexpr int kRows = 5;
constexpr char kDegree[] = "\u00B0";
constexpr char kNone[] = "\u2014";

enum class Unit { Decibel, DecibelIsotropic, Degree };

struct Figure {
    const char* name;
    const char* caption;
    const char* explanation;
    std::optional<float> PatternMetrics::*value;
    Unit unit;
};

// Two columns: the azimuth figures, then the elevation beam and the sphere's.
constexpr std::array<Figure, PatternFiguresFrame::kFigureCount> kFigures = {{
    {"lblFigFB", "F/B",
     QT_TRANSLATE_NOOP("lobex", "Вперёд/назад: максимум минус усиление на азимуте +180°"),
     &PatternMetrics::front_to_back, Unit::Decibel},
    {"lblFigFR", "F/R",
     QT_TRANSLATE_NOOP("lobex",
                       "Вперёд/тыл: максимум минус наибольшее усиление в задней полуплоскости "
                       "(азимут +90°…+270°)"),
     &PatternMetrics::front_to_rear, Unit::Decibel},
    {"lblFigFS", "F/S",
     QT_TRANSLATE_NOOP("lobex", "Вперёд/вбок: максимум минус большее из усилений на азимуте ±90°"),
     &PatternMetrics::front_to_side, Unit::Decibel},
    {"lblFigSideLevel", QT_TRANSLATE_NOOP("lobex", "Бок.леп."),
     QT_TRANSLATE_NOOP("lobex", "Уровень наибольшего бокового лепестка относительно максимума"),
     &PatternMetrics::side_lobe_level, Unit::Decibel},
    {"lblFigSideAzimuth", QT_TRANSLATE_NOOP("lobex", "Аз.леп."),
     QT_TRANSLATE_NOOP("lobex", "Азимут наибольшего бокового лепестка"),
     &PatternMetrics::side_lobe_azimuth, Unit::Degree},
    {"lblFigElevWidth", QT_TRANSLATE_NOOP("lobex", "Луч УМ"),
     QT_TRANSLATE_NOOP("lobex", "Ширина луча по углу места на уровне -3 dB"),
     &PatternMetrics::elevation_beam_width, Unit::Degree},
    {"lblFigElevLow", QT_TRANSLATE_NOOP("lobex", "УМ 1"),
     QT_TRANSLATE_NOOP("lobex", "Нижний край луча по углу места (-3 dB)"),
     &PatternMetrics::elevation_beam_low, Unit::Degree},
    {"lblFigElevHigh", QT_TRANSLATE_NOOP("lobex", "УМ 2"),
     QT_TRANSLATE_NOOP("lobex", "Верхний край луча по углу места (-3 dB); больше 90° - за зенитом"),
     &PatternMetrics::elevation_beam_high, Unit::Degree},
    {"lblFigAverage", QT_TRANSLATE_NOOP("lobex", "Ср.усил."),
     QT_TRANSLATE_NOOP("lobex",
                       "Среднее усиление по сфере: 0 dB у антенны без потерь, меньше - потери"),
     &PatternMetrics::average_gain, Unit::DecibelIsotropic},
    {"lblFigDirectivity", QT_TRANSLATE_NOOP("lobex", "КНД"),
     QT_TRANSLATE_NOOP("lobex",
                       "Коэффициент направленного действия: максимум минус среднее усиление"),
     &PatternMetrics::directivity, Unit::DecibelIsotropic},
}};

QString Tr(const char* text) {
    return QCoreApplication::translate("lobex", text);
}

QString ValueText(std::optional<float> value, Unit unit, std::string_view separator) {
    if (!value) {
        return QString::fromUtf8(kNone);
    }
    std::string text = FormatPattern(*value, unit == Unit::Degree ? "#0.#" : "#0.0#", separator);
    switch (unit) {
    case Unit::Degree:
        text += kDegree;
        break;
    case Unit::Decibel:
        text += " dB";
        break;
    case Unit::DecibelIsotropic:
        text += " dBi";
        break;
    }
    return QString::fromStdString(text);
}

} // namespace

PatternFiguresFrame::PatternFiguresFrame(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraFigures"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < kFigureCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        captions_[at] = new QLabel(this);
        captions_[at]->setObjectName(QStringLiteral("lblFig(%1)").arg(i));
        values_[at] = new QLabel(QString::fromUtf8(kNone), this);
        values_[at]->setObjectName(QLatin1String(kFigures[at].name));
        values_[at]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int column = 2 * (i / kRows);
        grid->addWidget(captions_[at], i % kRows, column);
        grid->addWidget(values_[at], i % kRows, column + 1);
    }
    grid->setColumnMinimumWidth(1, 56);
    grid->setColumnMinimumWidth(3, 56);
}

void PatternFiguresFrame::ApplyCaptions() {
    setTitle(Tr(QT_TRANSLATE_NOOP("lobex", "Параметры диаграммы")));
    for (std::size_t i = 0; i < kFigures.size(); ++i) {
        captions_[i]->setText(Tr(kFigures[i].caption));
        const QString explanation = Tr(kFigures[i].explanation);
        captions_[i]->setToolTip(explanation);
        values_[i]->setToolTip(explanation);
    }
}

void PatternFiguresFrame::ShowFor(const std::shared_ptr<const Result>& document, double necMhz,
                                  const std::string& separator) {
    if (document == measured_ && necMhz == measuredMhz_ && separator == separator_ && document) {
        return;
    }
    measured_ = document;
    measuredMhz_ = necMhz;
    separator_ = separator;
    const FarFieldPattern* pattern = document ? ShownPattern(*document, necMhz) : nullptr;
    Show(pattern != nullptr ? MeasurePattern(*pattern) : PatternMetrics{}, separator);
}

void PatternFiguresFrame::Show(const PatternMetrics& figures, std::string_view separator) {
    for (std::size_t i = 0; i < kFigures.size(); ++i) {
        values_[i]->setText(ValueText(figures.*kFigures[i].value, kFigures[i].unit, separator));
    }
}

QString PatternFiguresFrame::Summary(const PatternMetrics& figures, std::string_view separator) {
    QStringList lines;
    for (const Figure& figure : kFigures) {
        lines.append(Tr(figure.caption) + QStringLiteral(": ") +
                     ValueText(figures.*figure.value, figure.unit, separator));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace lobex
