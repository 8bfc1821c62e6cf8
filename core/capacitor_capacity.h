#pragma once

#include "core/extended.h"

namespace hcalc {

// Reactive capacity of a capacitor arrangement, kvar, stored: m U² × 2 × 3.14
// × 50 × C / 1E9, with C in uF (1E6 to farads), U in V (1E3 var to kvar) and m
// the number of capacitors of C that have the full U across them: 1 for a
// single-phase capacitor or a star (on its phase voltage), 3 for a delta.
Ext CapacitorCapacityKvar(int capacitorsOnVoltage, Ext capacitanceUf, Ext voltage);

// Reactance ratio of a reactor of L (mH) and a capacitor of C (uF) in series,
// as a fraction, stored: XL / Xc = ω² L C with ω² written 98596 (314², rad²/s²)
// and 1E-9 for mH and uF.
Ext ReactanceRatio(Ext inductanceMh, Ext capacitanceUf);

// The harmonic order the pair resonates at, stored: h² XL = Xc gives h =
// sqrt(1 / k). A zero ratio divides by zero; a negative one has no square root.
Ext ResonantOrder(Ext reactanceRatio);

}  // namespace hcalc
