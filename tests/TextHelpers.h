#pragma once

// Test helper: UTF-16 texts as UTF-8, for failure messages.

#include <string>
#include <string_view>
#include <unicode/unistr.h>

namespace qzds::test {

inline std::string Utf8(std::u16string_view text) {
    std::string out;
    icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
    return out;
}

} // namespace qzds::test
