#pragma once

#include <string>

namespace qzds {

// The separators of a locale's decimal numbers.
struct NumberSymbols {
    std::u16string decimal; // "." in zh_CN and en_US, "," in de_DE
    std::u16string group;   // "," in zh_CN and en_US, "." in de_DE
};

// The number symbols of the named locale. Throws std::runtime_error where ICU cannot build them.
NumberSymbols NumberSymbolsFor(const std::string& locale);

// Whether ICU can build the number symbols of the named locale ("de-DE-u-nu-latin" names a
// numbering system it does not know).
bool HasNumberSymbols(const std::string& locale);

} // namespace qzds
