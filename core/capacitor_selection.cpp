#include "core/capacitor_selection.h"

namespace hcalc {

Ext ChosenCapacitorsKvar(Ext idealKvar, Ext idealVoltage, Ext chosenVoltage) {
    return Stored(idealKvar * chosenVoltage * chosenVoltage / (idealVoltage * idealVoltage));
}

}  // namespace hcalc
