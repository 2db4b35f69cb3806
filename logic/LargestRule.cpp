#include "logic/LargestRule.h"

#include "logic/NumberReading.h"
#include "logic/RunTimeError.h"
#include "platform/Characters.h"

#include <cmath>
#include <limits>

namespace qzds {

std::int16_t ToInteger(std::u16string_view entry, const NumberSymbols& symbols) {
    // nearbyint in the default rounding mode rounds a half to the even neighbour. The range is
    // checked after rounding, so -32768.5 is still -32768 while 32767.5 overflows.
    const double rounded = std::nearbyint(NumericValue(entry, symbols));
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return static_cast<std::int16_t>(rounded); // "-0" becomes a plain 0 here
}

std::int16_t LargestOfThree(std::u16string_view a, std::u16string_view b, std::u16string_view c,
                            const NumberSymbols& symbols) {
    std::int16_t result = ToInteger(a, symbols);
    for (const std::u16string_view entry : {b, c}) {
        if (NumericValue(entry, symbols) > result) {
            result = ToInteger(entry, symbols);
        }
    }
    return result;
}

std::u16string ThreeNumbersSummary(std::u16string_view a, std::u16string_view b,
                                   std::u16string_view c, std::int16_t result) {
    std::u16string text = u"输入：a=";
    text += a;
    text += u" b=";
    text += b;
    text += u" c=";
    text += c;
    text += u"  计算结果：Max =";
    text += DecimalText(result);
    return text;
}

} // namespace qzds
