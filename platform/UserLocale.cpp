#include "platform/UserLocale.h"

#include "platform/DateTimeFormat.h"
#include "platform/NumberSymbols.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <unicode/ures.h>
#include <utility>

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

// The ICU script of a C library locale modifier ("sr_RS@latin"); the others ("@euro", variants
// and orderings) name no script.
std::string_view ScriptOf(std::string_view modifier) {
    static constexpr std::pair<std::string_view, std::string_view> kScripts[] = {
        {"latin", "Latn"},  {"cyrillic", "Cyrl"}, {"devanagari", "Deva"},
        {"arabic", "Arab"}, {"iqtelif", "Latn"}, // the Tatar Latin alphabet
    };
    for (const auto& [name, script] : kScripts) {
        if (modifier == name) {
            return script;
        }
    }
    return {};
}

// "zh_CN.UTF-8" names the ICU locale "zh_CN", "sr_RS.UTF-8@latin" names "sr_Latn_RS".
std::string IcuName(const std::string& posixName) {
    const auto at = posixName.find('@');
    const std::string_view script =
        at == std::string::npos ? std::string_view() : ScriptOf(posixName.substr(at + 1));
    std::string name = posixName.substr(0, posixName.find_first_of(".@"));
    if (!script.empty()) {
        const auto language = std::min(name.find('_'), name.size());
        name = name.substr(0, language) + '_' + std::string(script) + name.substr(language);
    }
    return name;
}

// Locale names are letters, digits, "_" and "-"; anything else ("../x", a path) is no locale and
// never reaches ICU's data lookup.
bool LooksLikeLocaleName(const std::string& name) {
    return std::ranges::all_of(
        name, [](unsigned char c) { return std::isalnum(c) != 0 || c == '_' || c == '-'; });
}

// The locale named for this category, if the program can work in it; the declared one otherwise.
std::string Resolve(const std::string& posixName, bool (*usable)(const std::string&)) {
    std::string name = IcuName(posixName);
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
    const std::string time = FirstSet(env, {"LC_ALL", "LC_TIME", "LANG"});
    const std::string numeric = FirstSet(env, {"LC_ALL", "LC_NUMERIC", "LANG"});
    UserLocale locale{
        Resolve(time, &CanFormatDateAndTime), Resolve(numeric, &HasNumberSymbols), {}};
    if (locale.numeric == IcuName(numeric)) {
        locale.numericPosix = numeric; // the C library's name, for the same locale only
    }
    return locale;
}

} // namespace qzds
