#pragma once

#include <QString>

#include <exception>
#include <string>

namespace hcalc {

enum class FaultKind {
    InvalidReal,       // text that ParseReal rejects
    InvalidInteger,    // text that ParseInteger rejects
    DivisionByZero,    // a non-zero value divided by zero
    InvalidOperation,  // 0/0, square root of a negative value, an integer conversion out of range
    Overflow,          // a result beyond the extended range, or too large for the double it is stored in
    PrintFailure,      // no default printer, or the print service failed the job (its own message)
    OutOfMemory,       // a calculation needed more memory than the machine can give
};

// What stops a running calculation: thrown at the faulting step, caught by
// RunCalculation, which shows the message in the error box.
class CalcFault : public std::exception {
public:
    CalcFault(FaultKind kind, QString message);

    static CalcFault invalidReal(const QString& text);
    static CalcFault invalidInteger(const QString& text);
    static CalcFault divisionByZero();
    static CalcFault invalidOperation();
    static CalcFault overflow();
    static CalcFault outOfMemory();

    FaultKind kind() const { return m_kind; }
    // The message without the final full stop that the error box adds.
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    FaultKind m_kind;
    QString m_message;
    std::string m_utf8;
};

// The error box's text: the message with a full stop appended when its last
// character's code is above that of ".".
QString FaultBoxText(const QString& message);

}  // namespace hcalc
