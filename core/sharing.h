#pragma once

#include "core/extended.h"
#include "core/filter_orders.h"

#include <cstdint>

namespace hcalc {

// The sharing of a compensation among the filter branches of the orders 3, 5,
// 7 and 11, in steps of 1000 var per phase (3 kvar for the three phases), on
// the phase voltage U (V) with the site's harmonic current I (A) of each
// order. The best sharing itself is found by the search (scheme_search.h).

// The steps in a total of Q kvar: Q / 3, truncated toward zero.
std::int32_t SharingSteps(std::int32_t totalKvar);

// The reactive power of a branch of a steps, kvar: 3 kvar per step.
Ext BranchKvar(std::int32_t steps);

// The raise of a branch tuned to the order h: h² / (h² − 1). Its capacitor
// carries the fundamental voltage raised by this factor, and so its capacity.
Ext TuningFactor(int h);
// A value raised by that factor as value × h² / (h² − 1): multiplied by h²
// first, which rounds otherwise than value × TuningFactor(h).
Ext RaisedByTuning(Ext value, int h);

// The installed capacity of the branch of order h with a ≠ 0 steps, VA per
// phase: (U² I² / (1000 h a) + 1000 a) raised by the tuning (RaisedByTuning):
// the capacity that carries a steps of fundamental and the harmonic current.
Ext BranchCapacityVa(Ext phaseVoltage, Ext current, int h, std::int32_t a);

// The same for the three phases, kvar, as the page shows it: × 3 / 1000; 0 for
// a branch without steps.
Ext InstalledKvar(Ext phaseVoltage, Ext current, int h, std::int32_t a);

// The line voltage of the branch of order h raised by its tuning, V:
// sqrt(3) U h² / (h² − 1), with the square root of three exact.
Ext RaisedLineVoltage(Ext phaseVoltage, int h);

// The ideal rated voltage of the capacitors of a branch of a ≠ 0 steps, V: the
// raised line voltage times the square root of the installed capacity (kvar,
// as shown) over the raised fundamental capacity 3 a × 1000 × h² / (h² − 1)
// (var): sqrt(S × 1000 / (3 a × 1000 k) × Ul²).
Ext IdealRatedVoltage(Ext installedKvar, Ext raisedLineVoltage, int h, std::int32_t a);

}  // namespace hcalc
