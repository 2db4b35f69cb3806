#include "platform/UserLocale.h"

#include "platform/DateTimeFormat.h"
#include "platform/NumberSymbols.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <unicode/ures.h>

namespace qzds {

namespace {

std::string FirstSet(const EnvironmentLookup& env, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = env(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

// "zh_CN.UTF-8" and "sr_RS@latin" name the locales "zh_CN" and "sr_RS".
std::string StripCodesetAndModifier(std::string name) {
    const auto cut = name.find_first_of(".@");
    if (cut != std::string::npos) {
        name.erase(cut);
    }
    return name;
}

// Locale names are letters, digits, "_" and "-"; anything else ("../x", a path) is no locale and
// never reaches ICU's data lookup.
bool LooksLikeLocaleName(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || c == '_' || c == '-';
    });
}

// The locale named for this category, if the program can work in it; the declared one otherwise.
std::string Resolve(const EnvironmentLookup& env, const char* category,
                    bool (*usable)(const std::string&)) {
    std::string name = StripCodesetAndModifier(FirstSet(env, {"LC_ALL", category, "LANG"}));
    if (name.empty() || name == "C" || name == "POSIX" || !LooksLikeLocaleName(name) ||
        !HasLocaleData(name) || !usable(name)) {
        return kDeclaredLocale;
    }
    return name;
}

} // namespace

EnvironmentLookup ProcessEnvironment() {
    return [](const char* name) -> const char* {
        return std::getenv(name);
    };
}

bool HasLocaleData(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    UResourceBundle* bundle = ures_open(nullptr, name.c_str(), &status);
    // U_USING_DEFAULT_WARNING means ICU knew nothing of the language and fell back to its
    // default; falling back from "en_XX" to "en" is fine.
    const bool known = U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING;
    if (bundle != nullptr) {
        ures_close(bundle);
    }
    return known;
}

UserLocale ResolveUserLocale(const EnvironmentLookup& env) {
    return {Resolve(env, "LC_TIME", &CanFormatDateAndTime),
            Resolve(env, "LC_NUMERIC", &HasNumberSymbols)};
}

} // namespace qzds
