#include "logic/RunTimeError.h"

#include "logic/Texts.h"
#include "platform/DecimalText.h"

namespace qzds {

RunTimeError::RunTimeError(ErrorNumber number)
    : std::runtime_error("run-time error " + std::to_string(static_cast<int>(number)))
    , m_number(number) {}

std::u16string_view RunTimeError::description() const {
    switch (m_number) {
    case ErrorNumber::Overflow:
        return text::OverflowDescription;
    case ErrorNumber::OutOfMemory:
        return text::OutOfMemoryDescription;
    case ErrorNumber::TypeMismatch:
        return text::TypeMismatchDescription;
    case ErrorNumber::InternalError:
        return text::InternalErrorDescription;
    }
    return {};
}

std::u16string FailureReportText(const RunTimeError& error) {
    std::u16string report(text::ReportBeforeNumber);
    report += DecimalText(static_cast<int>(error.number()));
    report += text::ReportAfterNumber;
    report += error.description();
    return report;
}

} // namespace qzds
