#pragma once

// The formulas of the capacitor, reactor and bank calculations written out
// once more, independently of the pages' code, in the extended arithmetic
// (whose own bits the core tests check): what the tests expect the pages to
// show. Every value the calculations keep is rounded to double by Stored().
// Each chain starts with an Ext, so that every step is an extended one.

#include "core/extended.h"

#include <cstdint>

namespace hcalc::test {

inline const Ext kPi = kPi314;          // as the formulas write pi
inline const Ext kRoot3 = kSqrt3_1732;  // as the formulas write the square root of three

struct CapacitorFigures {
    Ext capacitanceUf;  // Text3
    Ext reactance;      // Text4, ohm
    Ext current;        // Text41, A (shown unrounded)
    Ext harmonic;       // Text5, ohm
};

inline Ext branchFarads(Ext q, Ext u) {
    return Ext(1000) * q / (Ext(3) * u * u * 2 * kPi * 50);
}

inline CapacitorFigures capacitorFigures(double q, double u, std::int32_t h) {
    const Ext cf = Stored(branchFarads(q, u));
    const Ext xc = Stored(Ext(1) / (Ext(314) * cf));
    return {Stored(branchFarads(q, u) * 1000000), xc, kRoot3 * u / xc, Stored(xc / h)};
}

struct TunedFigures {
    Ext reactance;   // Text8, ohm
    Ext inductance;  // Text9, mH
    Ext ratioPct;    // Text10 without its "%"
};

inline TunedFigures tunedFigures(double q, double u, std::int32_t h) {
    const Ext xc = Stored(Ext(1) / (Ext(314) * Stored(branchFarads(q, u))));
    const Ext xl = Stored(xc / (Ext(3) * h * h));
    return {xl, Stored(xl * 1000 / 314), Stored(Ext(3) * xl / xc) * 100};
}

struct DetunedFigures {
    Ext reactance;   // Text21, ohm
    Ext inductance;  // Text22 and Text24, mH
    Ext ratioPct;    // Text23 without its "%", and the stored ratio
};

// tunedMh: the tuned inductance as Text9 holds it.
inline DetunedFigures detunedFigures(double q, double u, double tunedMh, double e) {
    const Ext xc = Stored(Ext(1) / (Ext(314) * Stored(branchFarads(q, u))));
    const Ext l = Stored((Ext(1) + e) * tunedMh);
    const Ext xl = Stored(Ext(314) * l / 1000);
    return {xl, l, Ext(3) * xl * 100 / xc};
}

struct BankFigures {
    Ext uc, i, qc, qcAll, ul, ql, qb, qbAll, qh;
};

inline BankFigures bankFigures(double n, double c, double l, double u, double h, double ih) {
    const Ext cn = Stored(Ext(3) * n * c);
    const Ext xch = Stored(Ext(1000000) / (Ext(h) * 2 * kPi * 50 * cn));
    const Ext qh = Stored(Ext(3) * ih * ih * xch / 1000);
    const Ext xc = Stored(Ext(1000000) / (Ext(314) * c * 3));
    const Ext xl = Stored(Ext(l) / 1000 * 314);
    const Ext i = Stored((Ext(u) / kRoot3) / (xc - xl));
    const Ext uc = Stored(i * xc * kRoot3);
    const Ext qc = Stored(kRoot3 * uc * i / 1000);
    const Ext ul = Stored(i * xl);
    const Ext ql = Stored(Ext(3) * ul * i / 1000);
    const Ext qb = Stored(kRoot3 * u * i / 1000);
    return {uc, i, qc, qc * n, ul, ql, qb, qb * n, qh};
}

}  // namespace hcalc::test
