#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;

namespace lobex::plotter {

// What the layout needs to know about text, in logical units of the picture. Painting takes
// its sizes from the layout, so the device that draws never measures again.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Point sizes are multiplied by this so that text has its size in logical units on the
    // device that measures and draws it.
    virtual double FontScale() const = 0;
    virtual double Width(const QFont& font, const QString& text) const = 0;
    virtual double Height(const QFont& font) const = 0;
    virtual double AverageCharWidth(const QFont& font) const = 0;
    virtual bool HasGlyph(const QFont& font, char32_t character) const = 0;
};

// Text as a paint device sets it: QFontMetricsF on that device.
class DeviceTextMeasure final : public TextMeasure {
public:
    explicit DeviceTextMeasure(const QPaintDevice& device) : device_(device) {}

    double FontScale() const override;
    double Width(const QFont& font, const QString& text) const override;
    double Height(const QFont& font) const override;
    double AverageCharWidth(const QFont& font) const override;
    bool HasGlyph(const QFont& font, char32_t character) const override;

private:
    const QPaintDevice& device_;
};

} // namespace lobex::plotter
