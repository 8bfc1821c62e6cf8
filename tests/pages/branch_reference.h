#pragma once

// The formulas of the capacitor, reactor and bank calculations written out
// once more in plain long double (the x87 extended format), independently of
// the pages' Ext arithmetic: what the tests expect the pages to show. Every
// value the calculations keep is rounded to double by stored().

#include <cstdint>

namespace hcalc::test {

inline long double stored(long double x) {
    return static_cast<double>(x);
}

inline constexpr long double kPi = 3.14L;      // as the formulas write pi
inline constexpr long double kRoot3 = 1.732L;  // as the formulas write the square root of three

struct CapacitorFigures {
    long double capacitanceUf;  // Text3
    long double reactance;      // Text4, ohm
    long double current;        // Text41, A (shown unrounded)
    long double harmonic;       // Text5, ohm
};

inline long double branchFarads(long double q, long double u) {
    return 1000.0L * q / (3.0L * u * u * 2.0L * kPi * 50.0L);
}

inline CapacitorFigures capacitorFigures(double q, double u, std::int32_t h) {
    const long double cf = stored(branchFarads(q, u));
    const long double xc = stored(1.0L / (314.0L * cf));
    return {stored(branchFarads(q, u) * 1000000.0L), xc, kRoot3 * u / xc, stored(xc / h)};
}

struct TunedFigures {
    long double reactance;   // Text8, ohm
    long double inductance;  // Text9, mH
    long double ratioPct;    // Text10 without its "%"
};

inline TunedFigures tunedFigures(double q, double u, std::int32_t h) {
    const long double xc = stored(1.0L / (314.0L * stored(branchFarads(q, u))));
    const long double xl = stored(xc / (3.0L * h * h));
    return {xl, stored(xl * 1000.0L / 314.0L), stored(3.0L * xl / xc) * 100.0L};
}

struct DetunedFigures {
    long double reactance;   // Text21, ohm
    long double inductance;  // Text22 and Text24, mH
    long double ratioPct;    // Text23 without its "%", and the stored ratio
};

// tunedMh: the tuned inductance as Text9 holds it.
inline DetunedFigures detunedFigures(double q, double u, double tunedMh, double e) {
    const long double xc = stored(1.0L / (314.0L * stored(branchFarads(q, u))));
    const long double l = stored((1.0L + e) * tunedMh);
    const long double xl = stored(314.0L * l / 1000.0L);
    return {xl, l, 3.0L * xl * 100.0L / xc};
}

struct BankFigures {
    long double uc, i, qc, qcAll, ul, ql, qb, qbAll, qh;
};

inline BankFigures bankFigures(double n, double c, double l, double u, double h, double ih) {
    const long double cn = stored(3.0L * n * c);
    const long double xch = stored(1000000.0L / (h * 2.0L * kPi * 50.0L * cn));
    const long double qh = stored(3.0L * ih * ih * xch / 1000.0L);
    const long double xc = stored(1000000.0L / (314.0L * c * 3.0L));
    const long double xl = stored(l / 1000.0L * 314.0L);
    const long double i = stored((u / kRoot3) / (xc - xl));
    const long double uc = stored(i * xc * kRoot3);
    const long double qc = stored(kRoot3 * uc * i / 1000.0L);
    const long double ul = stored(i * xl);
    const long double ql = stored(3.0L * ul * i / 1000.0L);
    const long double qb = stored(kRoot3 * u * i / 1000.0L);
    return {uc, i, qc, qc * n, ul, ql, qb, qb * n, qh};
}

}  // namespace hcalc::test
