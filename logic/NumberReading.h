#pragma once

#include "platform/NumberSymbols.h"

#include <string_view>

namespace qzds {

// Reads an entry as a decimal number in the user's numeric locale, without rounding it.
//
// Accepted: blanks (the tab and every Unicode space) before and after; an optional sign directly
// before the number (+ - ＋ － −), direction marks around it; digits of one set (ASCII,
// full-width or the locale's own); one of the locale's sets of separators: its group separator
// between groups of the locale's sizes, and a fractional part after its decimal separator (also
// "．" where that separator is "."); an optional exponent.
//
// Throws RunTimeError TypeMismatch for anything else, the empty entry included, and Overflow for
// a number too large for a double. A number too small for a double reads as zero.
// Runs in time linear in the entry's length.
double NumericValue(std::u16string_view entry, const NumberSymbols& symbols);

} // namespace qzds
