#include "core/extended.h"

#include "core/fault.h"

namespace hcalc {

void RaiseDivisionByZero() {
    throw CalcFault::divisionByZero();
}
void RaiseInvalidOperation() {
    throw CalcFault::invalidOperation();
}
void RaiseOverflow() {
    throw CalcFault::overflow();
}

Ext Sqrt(Ext x) {
    if (x.value() < 0) {
        RaiseInvalidOperation();
    }
    return Ext(std::sqrt(x.value()));
}

double StoreDouble(Ext x) {
    const double d = static_cast<double>(x.value());
    if (std::isinf(d) && std::isfinite(x.value())) {
        RaiseOverflow();
    }
    return d;
}

}  // namespace hcalc
