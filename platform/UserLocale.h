#pragma once

#include <functional>
#include <string>

namespace qzds {

// The locale the program falls back to: Chinese (PRC), the language it is written in.
inline constexpr const char* kDeclaredLocale = "zh_CN";

// Reads one environment variable; returns nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The process environment.
EnvironmentLookup ProcessEnvironment();

// The user's locales, as ICU locale names ("zh_CN", "en_US", ...).
struct UserLocale {
    std::string time;         // dates and times
    std::string numeric;      // numbers typed into the dialogs
    std::string numericPosix; // the same locale as the C library names it ("fr_CH.UTF-8"), or ""
};

// Resolves the user's locales the way the C library does: the first non-empty of LC_ALL,
// LC_TIME (or LC_NUMERIC) and LANG, without ".codeset"; a script modifier ("@latin") becomes
// the script subtag ("sr_Latn_RS"), other modifiers are dropped. "C", "POSIX", nothing at
// all, a language ICU has no data for, or a name for which ICU cannot build the date and time
// formats (or the number symbols) give the declared locale.
UserLocale ResolveUserLocale(const EnvironmentLookup& env);

// Whether ICU has locale data for the language of this name.
bool HasLocaleData(const std::string& name);

} // namespace qzds
