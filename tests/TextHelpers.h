#pragma once

// Test helpers: UTF-16 texts as UTF-8, and code point listings for failure messages.

#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace qzds::test {

inline std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// "U+6B22 U+000D ..." so that a wrong look-alike character shows in a failure message.
inline std::string CodePoints(std::u16string_view text) {
    std::ostringstream out;
    for (const char16_t c : text) {
        out << "U+" << std::uppercase << std::hex << std::setw(4) << std::setfill('0')
            << static_cast<int>(c) << ' ';
    }
    return out.str();
}

} // namespace qzds::test
