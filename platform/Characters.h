#pragma once

#include <string>

namespace qzds {

// The character code of the line break inside label texts: a lone carriage return,
// with no line feed after it.
inline constexpr int kLineBreakCode = 13;

// The one-character text of a character code (a UTF-16 code unit).
std::u16string Chr(int code);

// An integer in decimal: a minus sign for negative values, then its digits; no plus sign,
// no leading zeros or blanks, no group separators.
std::u16string DecimalText(long long value);

} // namespace qzds
