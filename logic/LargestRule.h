#pragma once

#include "platform/NumberSymbols.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qzds {

// What the user is told while the three numbers are asked for.
inline constexpr std::u16string_view ThreeNumbersInstruction =
    u"请输入 a,b,c 3个数，系统输出其中最大数。";

// The prompts of the three input dialogs, in the order they are asked.
inline constexpr std::array<std::u16string_view, 3> EntryPrompts = {u"输入 a", u"输入 b",
                                                                    u"输入 c"};

// Reads an entry as a 16-bit integer: its numeric value rounded to the nearest integer, a half
// going to the even neighbour (2.5 -> 2, 3.5 -> 4). Throws RunTimeError TypeMismatch for an
// entry that is not a number, Overflow when the rounded value lies outside -32768..32767.
std::int16_t ToInteger(std::u16string_view entry, const NumberSymbols& symbols);

// The largest of three entries as typed: a is taken first; b, then c, replaces the running result
// only when its unrounded value is greater, and is rounded only when it is taken. Stops at the
// first RunTimeError, so the error is the one of the first step that fails.
std::int16_t LargestOfThree(std::u16string_view a, std::u16string_view b, std::u16string_view c,
                            const NumberSymbols& symbols);

// "输入：a=" a " b=" b " c=" c "  计算结果：Max =" result, the entries exactly as typed.
std::u16string ThreeNumbersSummary(std::u16string_view a, std::u16string_view b,
                                   std::u16string_view c, std::int16_t result);

} // namespace qzds
