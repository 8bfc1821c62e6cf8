#include "core/calculation.h"

#include "core/dialogs.h"
#include "core/extended.h"
#include "core/fault.h"

#include <new>

namespace hcalc {

void RunCalculation(Dialogs& dialogs, const std::function<void()>& calculation) {
    SetArithmeticMode();
    try {
        calculation();
    } catch (const CalculationEnded&) {
        // its guard has shown its notice
    } catch (const CalcFault& fault) {
        dialogs.ShowFault(FaultBoxText(fault.message()));
    } catch (const std::bad_alloc&) {
        // An exception must not leave the click handler: the program would end.
        dialogs.ShowFault(FaultBoxText(CalcFault::outOfMemory().message()));
    }
}

}  // namespace hcalc
