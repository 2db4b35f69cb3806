#include "platform/Characters.h"

#include <stdexcept>

namespace qzds {

std::u16string Chr(int code) {
    if (code < 0 || code > 0xFFFF) {
        throw std::out_of_range("character code outside one UTF-16 code unit");
    }
    return std::u16string(1, static_cast<char16_t>(code));
}

std::u16string DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace qzds
