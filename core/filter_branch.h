#pragma once

#include "core/extended.h"

#include <cstdint>

namespace hcalc {

// One filter branch of a 50 Hz network: a delta-connected three-phase
// capacitor given by its nameplate (rated capacity Q in kvar at the rated line
// voltage U in V) and the series reactor in each line that tunes it to the
// harmonic order h. Angular frequency is written 2 × 3.14 × 50 in the
// capacitance and 314 elsewhere, the square root of three 1.732. Every value
// marked stored is rounded to double, as the calculation keeps it.

// Capacitance of one delta branch, uF, stored: 1000 Q / (3 U² × 2 × 3.14 × 50)
// farads times 1E6. A zero U divides by zero (0/0, invalid, when Q is 0 too).
Ext BranchCapacitanceUf(Ext ratedKvar, Ext ratedVoltage);

// Reactance of one delta branch at 50 Hz, ohm, stored: 1 / (314 C) with C the
// branch's capacitance in farads, stored. A zero Q divides by zero.
Ext BranchReactance(Ext ratedKvar, Ext ratedVoltage);

// Rated line current, A: 1.732 U / Xc, the branch reactance Xc in ohm.
Ext RatedCurrent(Ext ratedVoltage, Ext branchReactance);

// Reactance of the branch at the harmonic order h, ohm, stored: Xc / h; a zero
// h divides by zero.
Ext HarmonicReactance(Ext branchReactance, std::int32_t h);

// Reactance of the reactor that tunes the branch to the order h, ohm, stored.
// The reactor in each line meets the delta's star equivalent Xc / 3, so XL =
// Xc / (3 h²); 3 h² is formed in extended precision, exact for every 32-bit h.
Ext TunedReactorReactance(Ext branchReactance, std::int32_t h);

// Inductance of a reactor of reactance XL at 50 Hz, mH, stored: XL × 1000 / 314.
Ext ReactorInductanceMh(Ext reactorReactance);

// Reactance ratio of the tuned branch in percent: 3 XL / Xc (1/h² as a
// fraction), stored, then times 100.
Ext TunedReactanceRatioPct(Ext reactorReactance, Ext branchReactance);

// Inductance of the reactor detuned by the relative amount E, mH, stored:
// (1 + E) L0, L0 the tuned inductance in mH.
Ext DetunedInductanceMh(Ext tunedInductanceMh, Ext detuning);

// Reactance of a reactor of inductance L at 50 Hz, ohm, stored: 314 L / 1000.
Ext ReactorReactance(Ext inductanceMh);

// Reactance ratio of the detuned branch in percent: 3 XL × 100 / Xc.
Ext DetunedReactanceRatioPct(Ext reactorReactance, Ext branchReactance);

}  // namespace hcalc
