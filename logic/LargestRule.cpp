#include "logic/LargestRule.h"

#include "logic/NumberReading.h"
#include "logic/RunTimeError.h"
#include "logic/Texts.h"
#include "platform/DecimalText.h"

#include <array>
#include <cmath>
#include <limits>

namespace qzds {

namespace {

// nearbyint in the default rounding mode rounds a half to the even neighbour. The range is
// checked after rounding, so -32768.5 is still -32768 while 32767.5 overflows.
std::int16_t RoundToInteger(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return static_cast<std::int16_t>(rounded); // "-0" becomes a plain 0 here
}

} // namespace

std::int16_t ToInteger(std::u16string_view entry, const NumberSymbols& symbols) {
    return RoundToInteger(NumericValue(entry, symbols));
}

std::int16_t LargestOfThree(std::u16string_view a, std::u16string_view b, std::u16string_view c,
                            const NumberSymbols& symbols) {
    std::int16_t result = ToInteger(a, symbols);
    for (const std::u16string_view entry : {b, c}) {
        // Reading is a pure function of the entry, so the value read for the comparison is the
        // one a second reading would give when the entry is taken.
        const double value = NumericValue(entry, symbols);
        if (value > result) {
            result = RoundToInteger(value);
        }
    }
    return result;
}

std::u16string ThreeNumbersSummary(std::u16string_view a, std::u16string_view b,
                                   std::u16string_view c, std::int16_t result) {
    std::u16string summary;
    const std::array<std::u16string_view, 3> entries = {a, b, c};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        summary += text::SummaryPieces.at(i);
        summary += entries.at(i);
    }
    summary += text::SummaryPieces.back();
    summary += DecimalText(result);
    return summary;
}

} // namespace qzds
