#include "platform/NumberSymbols.h"

#include "platform/IcuText.h"

#include <stdexcept>
#include <unicode/dcfmtsym.h>

namespace qzds {

bool HasNumberSymbols(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale(locale.c_str()), status);
    return U_SUCCESS(status);
}

NumberSymbols NumberSymbolsFor(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale(locale.c_str()), status);
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("number symbols: ") + u_errorName(status));
    }
    return {ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)),
            ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol))};
}

} // namespace qzds
