#include "PlotDocument.h"

namespace lobex::plotter {

const CurveStyle& PlotDocument::StyleOf(int curve) const {
    const int index = curve < 1 ? 0 : curve > kPlotMaxCurves ? kPlotMaxCurves - 1 : curve - 1;
    return styles[static_cast<std::size_t>(index)];
}

PlotDocument NewDocument() {
    PlotDocument document;
    static constexpr std::array<Rgb, 8> kPalette = {{
        {255, 0, 0},   // red
        {0, 128, 0},   // dark green
        {0, 0, 255},   // blue
        {192, 0, 192}, // magenta
        {0, 128, 128}, // teal
        {255, 128, 0}, // orange
        {128, 64, 0},  // brown
        {0, 0, 0},     // black
    }};
    for (std::size_t i = 0; i < document.styles.size(); ++i) {
        document.styles[i].color = kPalette[i % kPalette.size()];
    }
    const auto set = [&](FontElement element, double points, int weight) {
        FontSpec& font = document.fonts[static_cast<std::size_t>(element) - 1];
        font.points = points;
        font.weight = weight;
    };
    set(FontElement::TickLabels, 8.0, 400);
    set(FontElement::Title, 10.0, 700);
    set(FontElement::Subtitles, 9.0, 400);
    set(FontElement::AxisLabels, 8.0, 700);
    set(FontElement::Legend, 8.0, 400);
    set(FontElement::Extra, 8.0, 400);
    set(FontElement::Notes, 8.0, 400);
    return document;
}

} // namespace lobex::plotter
