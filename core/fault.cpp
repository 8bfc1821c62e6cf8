#include "core/fault.h"

#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

CalcFault::CalcFault(FaultKind kind, QString message)
    : m_kind(kind), m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

CalcFault CalcFault::invalidReal(const QString& text) {
    return {FaultKind::InvalidReal, u"'%1' is not a valid floating point value"_s.arg(text)};
}

CalcFault CalcFault::invalidInteger(const QString& text) {
    return {FaultKind::InvalidInteger, u"'%1' is not a valid integer value"_s.arg(text)};
}

CalcFault CalcFault::divisionByZero() {
    return {FaultKind::DivisionByZero, u"Floating point division by zero"_s};
}

CalcFault CalcFault::invalidOperation() {
    return {FaultKind::InvalidOperation, u"Invalid floating point operation"_s};
}

CalcFault CalcFault::overflow() {
    return {FaultKind::Overflow, u"Floating point overflow"_s};
}

CalcFault CalcFault::outOfMemory() {
    return {FaultKind::OutOfMemory, u"Out of memory"_s};
}

QString FaultBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') {
        return message + u'.';
    }
    return message;
}

}  // namespace hcalc
