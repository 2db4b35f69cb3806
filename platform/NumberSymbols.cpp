#include "platform/NumberSymbols.h"

#include "platform/IcuText.h"

#include <algorithm>
#include <clocale>
#include <langinfo.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/numsys.h>
#include <unicode/uchar.h>

namespace qzds {

namespace {

void Check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
    }
}

Separators SeparatorsOf(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(locale, status);
    Check(status, "number symbols");
    return {ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)),
            ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol))};
}

// The decimal point and thousands separator of the C library's locale of this name, where the
// machine has it: what the desktop's other programs write.
std::optional<Separators> CLibrarySeparators(const std::string& posixName) {
    if (posixName.empty()) {
        return std::nullopt;
    }
    const locale_t posix = newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, posixName.c_str(), nullptr);
    if (posix == nullptr) {
        return std::nullopt;
    }
    const char* codeset = nl_langinfo_l(CODESET, posix);
    const auto convert = [codeset](const char* text) {
        return ToU16(icu::UnicodeString(text, codeset));
    };
    Separators separators{convert(nl_langinfo_l(RADIXCHAR, posix)),
                          convert(nl_langinfo_l(THOUSEP, posix))};
    freelocale(posix);
    if (separators.decimal.empty()) {
        return std::nullopt;
    }
    return separators;
}

} // namespace

NumberSymbols NumberSymbolsFor(const std::string& locale, const std::string& posixName) {
    const icu::Locale own(locale.c_str());
    NumberSymbols symbols;
    symbols.separators.push_back(SeparatorsOf(own));

    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberingSystem> system(
        icu::NumberingSystem::createInstance(own, status));
    Check(status, "numbering system");
    if (!system->isAlgorithmic() && system->getRadix() == 10 &&
        std::string_view(system->getName()) != "latn") {
        const icu::UnicodeString digits = system->getDescription();
        for (int32_t i = 0; i < digits.length(); i = digits.moveIndex32(i, 1)) {
            symbols.digits += static_cast<char32_t>(digits.char32At(i));
        }
        icu::Locale latin(own);
        latin.setKeywordValue("numbers", "latn", status);
        Check(status, "Latin digits");
        if (const Separators latinSeparators = SeparatorsOf(latin);
            latinSeparators != symbols.separators.front()) {
            symbols.separators.push_back(latinSeparators);
        }
    }

    // The C library's pair counts too, unless its point would read as another set's group
    // separator: then "1.000" could mean two things, and ICU's sets alone count.
    if (const auto posix = CLibrarySeparators(posixName);
        posix && std::find(symbols.separators.begin(), symbols.separators.end(), *posix) ==
                     symbols.separators.end()) {
        const bool ambiguous = std::any_of(
            symbols.separators.begin(), symbols.separators.end(),
            [&posix](const Separators& other) { return other.group == posix->decimal; });
        if (!ambiguous) {
            symbols.separators.push_back(*posix);
        }
    }

    const std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(own, status));
    Check(status, "number format");
    if (const auto* decimal = dynamic_cast<const icu::DecimalFormat*>(format.get())) {
        symbols.primaryGroup = decimal->isGroupingUsed() ? decimal->getGroupingSize() : 0;
        const int secondary = decimal->getSecondaryGroupingSize();
        symbols.secondaryGroup = secondary > 0 ? secondary : symbols.primaryGroup;
    }
    return symbols;
}

bool HasNumberSymbols(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale(locale.c_str()), status);
    return U_SUCCESS(status);
}

bool IsBlank(char32_t c) {
    return c == U'\t' || u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

} // namespace qzds
