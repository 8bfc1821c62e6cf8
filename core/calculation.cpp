#include "core/calculation.h"

#include "core/dialogs.h"
#include "core/fault.h"

namespace hcalc {

void RunCalculation(Dialogs& dialogs, const std::function<void()>& calculation) {
    try {
        calculation();
    } catch (const CalcFault& fault) {
        dialogs.ShowFault(FaultBoxText(fault.message()));
    }
}

}  // namespace hcalc
