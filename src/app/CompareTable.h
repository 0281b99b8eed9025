#pragma once

#include "graphs/CompareFigures.h"

#include <QTableWidget>

#include <string_view>
#include <vector>

namespace lobex {

// The result frames' table while results are compared: one row per far field, the one on show
// first, with its maximum gain, F/B, -3 dB width and elevation of the maximum, and for each
// later one the difference to the first.
class CompareTable final : public QTableWidget {
    Q_OBJECT
public:
    explicit CompareTable(QWidget* parent);

    // Fills the rows; hidden when there are none.
    void ShowRows(const std::vector<CompareRow>& rows, std::string_view separator);
    // The rows of sweeps, or of optimisation tables whose parameter is captioned parameter
    // (ImpedanceCompareRows), under their own captions.
    void ShowImpedanceRows(const std::vector<CompareRow>& rows, bool sweeps,
                           const QString& parameter, std::string_view separator);

private:
    void Fill(const std::vector<CompareRow>& rows, std::string_view separator);
};

} // namespace lobex
