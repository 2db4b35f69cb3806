#pragma once

// ICU helpers shared by the platform sources; not part of the platform's interface.

#include <stdexcept>
#include <string>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

namespace qzds {

inline std::u16string ToU16(const icu::UnicodeString& text) {
    return {text.getBuffer(), static_cast<std::size_t>(text.length())};
}

// Turns an ICU failure into an exception naming what was being built; warnings pass.
inline void CheckIcu(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
    }
}

} // namespace qzds
