#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qzds {

// Run-time error numbers, as the program's users know them.
enum class ErrorNumber : int {
    Overflow = 6,       // a rounded number outside -32768..32767
    OutOfMemory = 7,    // the program could not get the memory for a text
    TypeMismatch = 13,  // an entry that is not a number
    InternalError = 51, // anything else that went wrong inside the program
};

// A failure of the program's value rules. It ends the handler that raised it and, after the
// failure report, the program.
class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(ErrorNumber number);

    ErrorNumber number() const { return m_number; }
    // The error's Simplified Chinese description, as the failure report shows it.
    std::u16string_view description() const;

private:
    ErrorNumber m_number;
};

// The failure report's message: the error's number, an empty line, then its description.
std::u16string FailureReportText(const RunTimeError& error);

} // namespace qzds
