#pragma once

#include <string>
#include <vector>

namespace qzds {

// One way of separating a number's parts.
struct Separators {
    std::u16string decimal; // "." in zh_CN and en_US, "," in de_DE, "٫" in ar_EG
    std::u16string group;   // "," in zh_CN and en_US, "." in de_DE, "٬" in ar_EG; may be empty
    friend bool operator==(const Separators&, const Separators&) = default;
};

// How people in a numeric locale write numbers.
struct NumberSymbols {
    // The separators an entry may use, one set per entry: the locale's own first, then those of
    // its Latin-digit system where its own digits are not Latin, then the C library's where the
    // machine has the locale and writes numbers otherwise. Never empty.
    std::vector<Separators> separators;
    // The locale's own ten digits, 0 to 9, where they are not the ASCII ones.
    std::u32string digits;
    // Digits in the group before the decimal separator, and in each group before that one.
    int primaryGroup = 3;
    int secondaryGroup = 3;
};

// The number symbols of the named ICU locale; `posixName` is the same locale as the C library
// knows it ("fr_CH.UTF-8"), or empty. Throws std::runtime_error where ICU cannot build them.
NumberSymbols NumberSymbolsFor(const std::string& locale, const std::string& posixName = {});

// Whether ICU can build the number symbols of the named locale ("de-DE-u-nu-latin" names a
// numbering system it does not know).
bool HasNumberSymbols(const std::string& locale);

// Blanks around a number: the tab and every Unicode space separator.
bool IsBlank(char32_t c);

} // namespace qzds
