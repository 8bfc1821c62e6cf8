#include "core/x87_bits.h"

#include "core/fault.h"

#include <cstdio>
#include <ostream>

namespace hcalc {

std::ostream& operator<<(std::ostream& out, const X87Bits& bits) {
    char text[32];
    std::snprintf(text, sizeof text, "x87:%04X:%016llX", static_cast<unsigned>(bits.signExponent),
                  static_cast<unsigned long long>(bits.significand));
    return out << text;
}

void RaiseDivisionByZero() {
    throw CalcFault::divisionByZero();
}
void RaiseInvalidOperation() {
    throw CalcFault::invalidOperation();
}
void RaiseOverflow() {
    throw CalcFault::overflow();
}

}  // namespace hcalc
