#include "logic/RunTimeError.h"

#include "platform/Characters.h"

namespace qzds {

namespace {

std::u16string Description(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return u"溢出";
    case ErrorNumber::OutOfMemory:
        return u"内存不足";
    case ErrorNumber::TypeMismatch:
        return u"类型不匹配";
    }
    return u"应用程序定义的错误或对象定义的错误";
}

} // namespace

RunTimeError::RunTimeError(ErrorNumber number)
    : std::runtime_error("run-time error " + std::to_string(static_cast<int>(number)))
    , m_number(number) {}

std::u16string RunTimeError::description() const {
    return Description(m_number);
}

std::u16string FailureReportText(const RunTimeError& error) {
    std::u16string text = u"运行时错误 '";
    text += DecimalText(static_cast<int>(error.number()));
    text += u"':\n\n";
    text += error.description();
    return text;
}

} // namespace qzds
