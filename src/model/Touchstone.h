#pragma once

#include "Checked.h"
#include "Sweep.h"

#include <string>
#include <string_view>

// Touchstone version 1 one-port files (.s1p): the reflection S11 over frequency, as network
// analysers write it, so that a measurement sits beside the model.
namespace lobex {

inline constexpr std::string_view kTouchstoneParameterMessage =
    LOBEX_TEXT("Строка %1: открываются только S-параметры (в файле параметры Y, Z, H или G)");
inline constexpr std::string_view kTouchstonePortsMessage =
    LOBEX_TEXT("Строка %1: открываются только однопортовые файлы (.s1p), здесь больше трёх чисел");
inline constexpr std::string_view kTouchstoneLineMessage =
    LOBEX_TEXT("Строка %1 файла Touchstone не читается");
inline constexpr std::string_view kTouchstoneEmptyMessage =
    LOBEX_TEXT("В файле Touchstone нет ни одной частоты");

// A one-port file read: the sweep (R and jX from S11; SWR against the file's own reference
// impedance, gain and F/B zero, as a measurement has none) and that reference impedance.
struct TouchstoneSweep {
    Sweep sweep;
    double z0 = 50.0;
};

// The bytes of a .s1p file: a comment naming `source`, "# MHz S RI R <z0>", then one line per
// frequency, CR LF. A z0 that is not positive is refused.
Checked<std::string> WriteTouchstone(const Sweep& sweep, double z0, std::string_view source);

// Reads a version 1 one-port file: frequencies in Hz, kHz, MHz or GHz, S in RI, MA or DB, any
// case; an option line's missing parts take the defaults (GHz, S, MA, R 50).
Checked<TouchstoneSweep> ReadTouchstone(std::string_view text);

} // namespace lobex
