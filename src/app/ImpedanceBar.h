#pragma once

#include "model/Impedance.h"

#include <QFrame>

#include <complex>
#include <optional>
#include <string_view>

class QComboBox;
class QLabel;

namespace lobex {

class CompareTable;

// Under the graph of data with R and jX: the reference impedance the derived curves are taken
// at (the file's own, one of the usual ones, or any typed), the SWR threshold, and what a sweep
// shows at them: its bandwidths, resonances and best SWR. The window decides what a choice does.
class ImpedanceBar : public QFrame {
    Q_OBJECT
public:
    explicit ImpedanceBar(QWidget* parent);

    void SetFormLanguage();
    // The choice on show: the file's own impedance names the first entry; chosen is the user's
    // (none: the file's own). Shown without a signal.
    void ShowChoice(std::complex<double> fileZ0, std::optional<std::complex<double>> chosen,
                    double threshold, std::string_view separator);
    // Whether the entry on show is the file's own.
    bool FileOwnChosen() const;
    // The entry's text as the user typed or picked it.
    QString EnteredText() const;
    // A sweep's figures, or nothing (a table, whose rows are no frequencies).
    void ShowFigures(const std::optional<ImpedanceFigures>& figures, std::string_view separator);

    QComboBox* cmbZ0 = nullptr;
    QComboBox* cmbSwrLimit = nullptr;
    QLabel* lblZ0 = nullptr;
    QLabel* lblSwrLimit = nullptr;
    QLabel* lblBands = nullptr;
    // Under the choice, while sweeps or tables are compared: their figures at it.
    CompareTable* tblCompare = nullptr;

signals:
    // An impedance picked from the list or typed and confirmed.
    void ReferenceEntered();
    void ThresholdChosen(double threshold);

private:
    QString fileEntry_;
};

} // namespace lobex
