#include "TextMeasure.h"

#include "PlotLayout.h"

#include <QFontMetricsF>
#include <QPaintDevice>

namespace lobex::plotter {

double DeviceTextMeasure::FontScale() const {
    const int dpi = device_.logicalDpiY() > 0 ? device_.logicalDpiY() : 96;
    return kUnitsPerInch / dpi;
}

double DeviceTextMeasure::Width(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, &device_).horizontalAdvance(text);
}

double DeviceTextMeasure::Height(const QFont& font) const {
    return QFontMetricsF(font, &device_).height();
}

double DeviceTextMeasure::AverageCharWidth(const QFont& font) const {
    return QFontMetricsF(font, &device_).averageCharWidth();
}

bool DeviceTextMeasure::HasGlyph(const QFont& font, char32_t character) const {
    return QFontMetricsF(font, &device_).inFontUcs4(character);
}

} // namespace lobex::plotter
