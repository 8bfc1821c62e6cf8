#pragma once

#include "core/extended.h"

namespace hcalc {

// The total nameplate capacity of capacitors of the chosen rated voltage Us
// that have the capacitance of the ideal capacity Qi at the ideal rated
// voltage Ui, kvar, stored: the capacitance stays, so the capacity scales with
// the square of the voltage, Qs = Qi Us² / Ui². A zero Ui divides by zero.
Ext ChosenCapacitorsKvar(Ext idealKvar, Ext idealVoltage, Ext chosenVoltage);

}  // namespace hcalc
