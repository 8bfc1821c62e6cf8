#pragma once

#include <functional>

class Dialogs;

namespace hcalc {

// Runs one calculation to its end. A fault or a failed conversion thrown
// anywhere in it stops it at that step; the error box then shows the fault's
// message with its full stop. Whatever the calculation wrote before the stop
// stays; nothing is rolled back. A calculation that runs out of memory stops
// the same way, with "Out of memory.".
void RunCalculation(Dialogs& dialogs, const std::function<void()>& calculation);

}  // namespace hcalc
