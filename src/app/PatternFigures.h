#pragma once

#include "model/PatternMetrics.h"
#include "model/Result.h"

#include <QGroupBox>

#include <array>
#include <memory>
#include <string>
#include <string_view>

class QLabel;

namespace lobex {

// The figures of a far-field pattern beyond its maximum and azimuth beam, in a compact frame
// with the result frames: the front-to-back, -rear and -side ratios, the largest side lobe,
// the elevation beam, the average gain and the directivity. A figure the pattern cannot give
// reads "—".
class PatternFiguresFrame : public QGroupBox {
public:
    explicit PatternFiguresFrame(QWidget* parent);

    // The captions and their explanations, in the user's language.
    void ApplyCaptions();
    // The figures of the document on show; every one "—" for a document that is no pattern. A
    // pattern is measured once, however often its diagrams are drawn. necMhz picks a NEC-2
    // output's frequency.
    void ShowFor(const std::shared_ptr<const Result>& document, double necMhz,
                 const std::string& separator);
    void Show(const PatternMetrics& figures, std::string_view separator);

    static constexpr int kFigureCount = 10;

    // Every figure as "caption: value", one a line, in the user's language: the compare table's
    // rows have no room for all of them.
    static QString Summary(const PatternMetrics& figures, std::string_view separator);

private:
    std::array<QLabel*, kFigureCount> captions_{};
    std::array<QLabel*, kFigureCount> values_{};
    std::shared_ptr<const Result> measured_;
    double measuredMhz_ = 0.0;
    std::string separator_;
};

} // namespace lobex
