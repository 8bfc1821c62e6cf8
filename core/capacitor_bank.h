#pragma once

#include "core/extended.h"

namespace hcalc {

// The operating point of n identical banks on the site's line voltage U (V),
// each a delta capacitor of C (uF per branch) in series with a reactor of L
// (mH) in each line. Angular frequency is written 2 × 3.14 × 50 in the
// harmonic reactance and 314 elsewhere, the square root of three 1.732. Every
// value marked stored is rounded to double, as the calculation keeps it.

// Harmonic capacity of all capacitors, kvar, stored: 3 Ih² Xh / 1000, where Xh
// = 1E6 / (h × 2 × 3.14 × 50 × Cn) ohm, stored, is the reactance at the order
// h of all n banks' capacitance Cn = 3 n C (uF, stored), and Ih the site's
// harmonic current in A. A zero h, n or C divides by zero.
Ext BanksHarmonicKvar(Ext banks, Ext capacitanceUf, Ext order, Ext harmonicCurrent);

// Reactance of one bank's capacitor as a star, ohm, stored: 1E6 / (314 × C × 3).
Ext BankCapacitorReactance(Ext capacitanceUf);

// Reactance of the reactor, ohm, stored: L / 1000 × 314.
Ext BankReactorReactance(Ext inductanceMh);

// Line current, A, stored: (U / 1.732) / (Xc − XL); at resonance (Xc = XL) a
// division by zero.
Ext BankLineCurrent(Ext lineVoltage, Ext capacitorReactance, Ext reactorReactance);

// Line voltage across the capacitor, V, stored: I Xc × 1.732.
Ext CapacitorVoltage(Ext current, Ext capacitorReactance);

// Reactive power of one bank's capacitor, kvar, stored: 1.732 Uc I / 1000.
Ext CapacitorKvar(Ext capacitorVoltage, Ext current);

// Voltage across the reactor, V per phase, stored: I XL.
Ext ReactorVoltage(Ext current, Ext reactorReactance);

// Reactive power of one bank's reactors, kvar, stored: 3 UL I / 1000.
Ext ReactorKvar(Ext reactorVoltage, Ext current);

// Reactive power one bank delivers, kvar, stored: 1.732 U I / 1000.
Ext BankKvar(Ext lineVoltage, Ext current);

// The same quantity for all n banks: x n.
Ext AllBanks(Ext perBank, Ext banks);

}  // namespace hcalc
