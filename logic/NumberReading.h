#pragma once

#include "platform/NumberSymbols.h"

#include <string_view>

namespace qzds {

// Reads an entry as a decimal number in the user's numeric locale, without rounding it.
//
// Accepted: blanks (space, tab, no-break space, ideographic space) before and after; an optional
// sign directly before the number (+ - ＋ － −); ASCII or full-width digits; the locale's group
// separator in the integer part, in correct groups of three only; a fractional part after the
// locale's decimal separator (also "．" where that separator is "."); an optional exponent.
//
// Throws RunTimeError TypeMismatch for anything else, the empty entry included, and Overflow for
// a number too large for a double. A number too small for a double reads as zero.
// Runs in time linear in the entry's length.
double NumericValue(std::u16string_view entry, const NumberSymbols& symbols);

} // namespace qzds
