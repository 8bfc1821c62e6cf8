#include "core/capacitor_capacity.h"

namespace hcalc {

Ext CapacitorCapacityKvar(int capacitorsOnVoltage, Ext capacitanceUf, Ext voltage) {
    return Stored(Ext(capacitorsOnVoltage) * voltage * voltage * 2 * kPi314 * 50 * capacitanceUf / 1000000000);
}

Ext ReactanceRatio(Ext inductanceMh, Ext capacitanceUf) {
    return Stored(Ext(98596) * inductanceMh * capacitanceUf / 1000000000);
}

Ext ResonantOrder(Ext reactanceRatio) {
    return Stored(Sqrt(Ext(1) / reactanceRatio));
}

}  // namespace hcalc
