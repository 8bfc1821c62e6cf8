#pragma once

#include "core/extended.h"

namespace hcalc {

// The compensation capacity that raises a load of active power P (kW) from the
// present power factor cos φ1 to the target cos φ2, kvar, stored:
// Qc = (tan φ1 − tan φ2) P. Each tan φ = sqrt(1 − cos² φ) / cos φ is stored,
// the target's first: a power factor above 1 has no square root (invalid), a
// zero one divides by zero, a negative one gives a negative tangent.
Ext CompensationKvar(Ext activePowerKw, Ext targetPowerFactor, Ext presentPowerFactor);

}  // namespace hcalc
