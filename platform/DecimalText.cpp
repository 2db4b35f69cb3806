#include "platform/DecimalText.h"

namespace qzds {

std::u16string DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace qzds
