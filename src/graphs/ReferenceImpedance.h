#pragma once

#include "core/AppState.h"
#include "core/Texts.h"
#include "model/Impedance.h"

#include <array>
#include <complex>
#include <optional>
#include <string>
#include <string_view>

// The reference impedance that SWR and reflection are taken against, and what is derived at it:
// the curves offered after a file's own columns, and a sweep's bandwidths and resonances.
namespace lobex {

inline constexpr std::string_view kReferenceImpedanceEntryMessage =
    LOBEX_TEXT("Волновое сопротивление задаётся числом Ом больше нуля, например 50, 75 или "
               "50-j10.\r\nОставлено прежнее значение.");

// The impedances offered besides the file's own and any typed, in ohms.
inline constexpr std::array<double, 5> kReferenceImpedanceChoices = {50.0, 75.0, 300.0, 450.0,
                                                                     600.0};
// The SWR thresholds offered for the bandwidth.
inline constexpr std::array<double, 3> kSwrThresholdChoices = {1.5, 2.0, 3.0};

// The lead of the derived SWR curve's label; the impedance follows it ("КСВ при Z0 = 75 Ω").
inline constexpr std::string_view kDerivedSwrLabel = LOBEX_TEXT("КСВ при Z0 = ");
inline constexpr std::string_view kReflectionLabel = "|Γ|";
inline constexpr std::string_view kReturnLossLabel = LOBEX_TEXT("Возвратные потери, dB");

// The impedance a user typed: "75", "75,5" with the locale's decimal comma, "50-j10", "50+10j",
// with or without "Ом", "Ohm" or "Ω". None for anything else and for a resistance not above zero.
std::optional<std::complex<double>> ParseReferenceImpedance(std::string_view text,
                                                            std::string_view decimalSeparator);
// "75", "50-j10", in the locale's decimal symbol.
std::string ReferenceImpedanceText(std::complex<double> z0, std::string_view decimalSeparator);

// The file's own reference impedance: its SWR column's header's, 50 ohms when it names none
// (every table). The one rule of the file's own, for the graphs, the chart and the command line.
std::complex<double> FileReferenceImpedance(const DataSet& data);
// The one reference impedance everything derived is taken at: the user's choice, else the
// file's own.
std::complex<double> ChosenReferenceImpedance(const AppState& state);

// The derived curves at z0 into data.Derived: SWR, |Γ| and return loss, from the columns
// FindImpedanceColumns finds. Emptied for data without R and jX, or for a z0 Reflect refuses. An
// infinite value (a total reflection, a perfect match) is drawn at a ceiling, as no axis holds
// infinity.
void DeriveReflectionCurves(DataSet& data, std::complex<double> z0);

// A sweep's bandwidths (SWR at z0 up to threshold), resonances and best SWR, from its columns;
// none for other data or a refused z0.
std::optional<ImpedanceFigures> SweepImpedanceFigures(const DataSet& data, std::complex<double> z0,
                                                      double threshold);

} // namespace lobex
