#pragma once

#include <functional>

class Dialogs;

namespace hcalc {

// Runs one calculation to its end, in the arithmetic's own mode
// (SetArithmeticMode). A fault or a failed conversion thrown
// anywhere in it stops it at that step; the error box then shows the fault's
// message with its full stop. Whatever the calculation wrote before the stop
// stays; nothing is rolled back. A calculation that runs out of memory stops
// the same way, with "Out of memory.". A calculation that ends at a guard
// (CalculationEnded) shows nothing more.
void RunCalculation(Dialogs& dialogs, const std::function<void()>& calculation);

// Ends the running calculation without an error box: thrown once a guard has
// told the user, in its notice, why nothing is calculated.
struct CalculationEnded {};

}  // namespace hcalc
