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

// The columns of R and jX: a sweep's own, or an optimisation table's headed "R" and "jX" (any
// case, spaces ignored); none for other data.
struct ImpedanceColumns {
    int resistance = 1;
    int reactance = 2;
};
std::optional<ImpedanceColumns> FindImpedanceColumns(const DataSet& data);

// The impedance over frequency of the data on show, its points in frequency order: a sweep as
// read (header kept, so its reference impedance is known), or a table's chosen set as the grid
// shows it, its first column taken for the frequency. None when the data holds no impedance.
std::optional<Sweep> ImpedanceSweepOf(const AppState& state);

// "КСВ (75 Ом)": the caption of the SWR at z0.
std::string DerivedSwrCaption(std::complex<double> z0);
// "75", "50-j10": an impedance as the captions show it and the command line takes it.
std::string ImpedanceText(std::complex<double> z);

// The SWR at z0 from a sweep's R and jX, put in the column MMANA leaves empty (6) so that a
// graph draws it against frequency; a total reflection is drawn at 100. Its column; none for
// data other than a sweep, and for a z0 whose resistance is not above zero.
std::optional<int> StoreDerivedSwr(DataSet& data, std::complex<double> z0);

} // namespace lobex
