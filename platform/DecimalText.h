#pragma once

#include <string>

namespace qzds {

// An integer in decimal: a minus sign for negative values, then its digits; no plus sign,
// no leading zeros or blanks, no group separators.
std::u16string DecimalText(long long value);

} // namespace qzds
