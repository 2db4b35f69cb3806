#include "platform/NumberSymbols.h"

#include "platform/IcuText.h"

#include <algorithm>
#include <clocale>
#include <langinfo.h>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/numsys.h>
#include <unicode/uchar.h>
#include <utility>

namespace qzds {

namespace {

Separators SeparatorsOf(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(locale, status);
    CheckIcu(status, "number symbols");
    return {ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)),
            ToU16(symbols.getConstSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol))};
}

// The locale's own ten digits where they are not Latin, and then the separators its Latin-digit
// system writes where they differ from the locale's own.
void AddNativeDigits(const icu::Locale& own, NumberSymbols& symbols) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberingSystem> system(
        icu::NumberingSystem::createInstance(own, status));
    CheckIcu(status, "numbering system");
    if (system->isAlgorithmic() || system->getRadix() != 10 ||
        std::string_view(system->getName()) == "latn") {
        return;
    }
    const icu::UnicodeString digits = system->getDescription();
    for (int32_t i = 0; i < digits.length(); i = digits.moveIndex32(i, 1)) {
        symbols.digits += static_cast<char32_t>(digits.char32At(i));
    }
    icu::Locale latin(own);
    latin.setKeywordValue("numbers", "latn", status);
    CheckIcu(status, "Latin digits");
    if (Separators latinSeparators = SeparatorsOf(latin);
        latinSeparators != symbols.separators.front()) {
        symbols.separators.push_back(std::move(latinSeparators));
    }
}

// A C library locale, freed when it goes out of scope; null where the machine lacks it.
using PosixLocale = std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)>;

PosixLocale OpenPosixLocale(const std::string& name) {
    return {newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), nullptr), &freelocale};
}

// The decimal point and thousands separator of the C library's locale of this name, where the
// machine has it: what the desktop's other programs write.
std::optional<Separators> CLibrarySeparators(const std::string& posixName) {
    if (posixName.empty()) {
        return std::nullopt; // an empty name would open the environment's locale
    }
    const PosixLocale posix = OpenPosixLocale(posixName);
    if (!posix) {
        return std::nullopt;
    }
    const char* codeset = nl_langinfo_l(CODESET, posix.get());
    const auto convert = [codeset](const char* text) {
        return ToU16(icu::UnicodeString(text, codeset));
    };
    Separators separators{convert(nl_langinfo_l(RADIXCHAR, posix.get())),
                          convert(nl_langinfo_l(THOUSEP, posix.get()))};
    if (separators.decimal.empty()) {
        return std::nullopt;
    }
    return separators;
}

// The C library's pair counts too, unless its point would read as another set's group
// separator: then "1.000" could mean two things, and ICU's sets alone count.
void AddCLibrarySeparators(const std::string& posixName, NumberSymbols& symbols) {
    const auto posix = CLibrarySeparators(posixName);
    if (!posix || std::ranges::find(symbols.separators, *posix) != symbols.separators.end()) {
        return;
    }
    const bool ambiguous =
        std::ranges::any_of(symbols.separators, [&posix](const Separators& other) {
            return other.group == posix->decimal;
        });
    if (!ambiguous) {
        symbols.separators.push_back(*posix);
    }
}

void SetGroupSizes(const icu::Locale& own, NumberSymbols& symbols) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(own, status));
    CheckIcu(status, "number format");
    if (const auto* decimal = dynamic_cast<const icu::DecimalFormat*>(format.get())) {
        symbols.primaryGroup = decimal->isGroupingUsed() ? decimal->getGroupingSize() : 0;
        const int secondary = decimal->getSecondaryGroupingSize();
        symbols.secondaryGroup = secondary > 0 ? secondary : symbols.primaryGroup;
    }
}

} // namespace

NumberSymbols NumberSymbolsFor(const std::string& locale, const std::string& posixName) {
    const icu::Locale own(locale.c_str());
    NumberSymbols symbols;
    symbols.separators.push_back(SeparatorsOf(own));
    AddNativeDigits(own, symbols);
    AddCLibrarySeparators(posixName, symbols);
    SetGroupSizes(own, symbols);
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
