#pragma once

#include "platform/NumberSymbols.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qzds {

// Reads an entry as a 16-bit integer: its numeric value rounded to the nearest integer, a half
// going to the even neighbour (2.5 -> 2, 3.5 -> 4). Throws RunTimeError TypeMismatch for an
// entry that is not a number, Overflow when the rounded value lies outside -32768..32767.
std::int16_t ToInteger(std::u16string_view entry, const NumberSymbols& symbols);

// The largest of three entries as typed: a is taken first; b, then c, replaces the running result
// only when its unrounded value is greater, and is rounded only when it is taken. Stops at the
// first RunTimeError, so the error is the one of the first step that fails.
std::int16_t LargestOfThree(std::u16string_view a, std::u16string_view b, std::u16string_view c,
                            const NumberSymbols& symbols);

// The summary pieces with the entries exactly as typed between them, then the result.
std::u16string ThreeNumbersSummary(std::u16string_view a, std::u16string_view b,
                                   std::u16string_view c, std::int16_t result);

} // namespace qzds
