#pragma once

namespace lobex {

// The double that a float's shortest text names (11.74f gives 11.74, not 11.739999771118164):
// for writers of doubles, and for arithmetic on decimals read from files, which rounded to float
// once lands where the decimal arithmetic does (90 - 72.1 is 17.9, not 17.900002).
double ShortestDecimal(float value);

} // namespace lobex
