#pragma once

// ICU helpers shared by the platform sources; not part of the platform's interface.

#include <string>
#include <unicode/unistr.h>

namespace qzds {

inline std::u16string ToU16(const icu::UnicodeString& text) {
    return {reinterpret_cast<const char16_t*>(text.getBuffer()),
            static_cast<std::size_t>(text.length())};
}

} // namespace qzds
