#pragma once

// What the capacitor, reactor and bank pages must show: the core formulas
// (tested on their own in tests/core) composed as each calculation composes
// them, from the values it reads.

#include "core/capacitor_bank.h"
#include "core/filter_branch.h"

#include <cstdint>

namespace hcalc::test {

struct CapacitorFigures {
    Ext capacitanceUf;  // Text3
    Ext reactance;      // Text4, ohm
    Ext current;        // Text41, A
    Ext harmonic;       // Text5, ohm
};

inline CapacitorFigures capacitorFigures(double q, double u, std::int32_t h) {
    const Ext xc = BranchReactance(q, u);
    return {BranchCapacitanceUf(q, u), xc, RatedCurrent(u, xc), HarmonicReactance(xc, h)};
}

struct TunedFigures {
    Ext reactance;   // Text8, ohm
    Ext inductance;  // Text9, mH
    Ext ratioPct;    // Text10 without its "%"
};

inline TunedFigures tunedFigures(double q, double u, std::int32_t h) {
    const Ext xc = BranchReactance(q, u);
    const Ext xl = TunedReactorReactance(xc, h);
    return {xl, ReactorInductanceMh(xl), TunedReactanceRatioPct(xl, xc)};
}

struct DetunedFigures {
    Ext reactance;   // Text21, ohm
    Ext inductance;  // Text22 and Text24, mH
    Ext ratioPct;    // Text23 without its "%", and the stored ratio
};

// tunedMh: the tuned inductance as Text9 holds it.
inline DetunedFigures detunedFigures(double q, double u, double tunedMh, double e) {
    const Ext l = DetunedInductanceMh(tunedMh, e);
    const Ext xl = ReactorReactance(l);
    return {xl, l, DetunedReactanceRatioPct(xl, BranchReactance(q, u))};
}

struct BankFigures {
    Ext uc, i, qc, qcAll, ul, ql, qb, qbAll, qh;
};

inline BankFigures bankFigures(double n, double c, double l, double u, double h, double ih) {
    const Ext xc = BankCapacitorReactance(c);
    const Ext xl = BankReactorReactance(l);
    const Ext i = BankLineCurrent(u, xc, xl);
    const Ext uc = CapacitorVoltage(i, xc);
    const Ext qc = CapacitorKvar(uc, i);
    const Ext ul = ReactorVoltage(i, xl);
    const Ext qb = BankKvar(u, i);
    return {uc, i, qc, AllBanks(qc, n), ul, ReactorKvar(ul, i), qb, AllBanks(qb, n), BanksHarmonicKvar(n, c, h, ih)};
}

}  // namespace hcalc::test
