#pragma once

#include "AppState.h"
#include "Texts.h"
#include "model/Sweep.h"

#include <complex>
#include <optional>
#include <string>
#include <string_view>

// Where loaded data holds a feed impedance: what the reflection figures, the derived curves and
// the Touchstone writer work on.
namespace lobex {

// The captions of what is derived from R and jX at a chosen reference impedance: the SWR ("%1"
// the impedance in ohms, as ImpedanceText writes it), |Γ| and the return loss in dB.
inline constexpr std::string_view kDerivedSwrCaption = LOBEX_TEXT("КСВ (%1 Ом)");
inline constexpr std::string_view kReflectionCaption = "|Γ|";
inline constexpr std::string_view kReturnLossCaption = LOBEX_TEXT("Обр. потери");
// Whether a row's SWR is at or below a threshold ("%1"), as a band counts it.
inline constexpr std::string_view kWithinThresholdCaption = LOBEX_TEXT("КСВ ≤ %1");
inline constexpr std::string_view kWithinThreshold = LOBEX_TEXT("в полосе");
inline constexpr std::string_view kBeyondThreshold = LOBEX_TEXT("вне полосы");

// The columns of R and jX: a sweep's own (1 and 2), or those of a table (a file's or MMANA's
// window's) captioned "R" and "jX", case, blanks and a unit in brackets aside ("j X", "R(Ω)");
// none for other data. The one rule for everything taken from R and jX.
struct ImpedanceColumns {
    int resistance = 1;
    int reactance = 2;
};
std::optional<ImpedanceColumns> FindImpedanceColumns(const DataSet& data);

// The abscissa (frequency, or a table's first column) with R and jX, in the rows' order.
Sweep ColumnSweep(const DataSet& data, const ImpedanceColumns& columns);

// The impedance over frequency of the data on show, its points in frequency order: a sweep as
// read (header kept, so its reference impedance is known), or a table's chosen set as the grid
// shows it, its first column taken for the frequency. None when the data holds no impedance.
std::optional<Sweep> ImpedanceSweepOf(const AppState& state);

// "КСВ (75 Ом)": the caption of the SWR at z0.
std::string DerivedSwrCaption(std::complex<double> z0);
// "75", "50-j10": an impedance as the captions show it and the command line takes it.
std::string ImpedanceText(std::complex<double> z);

} // namespace lobex
