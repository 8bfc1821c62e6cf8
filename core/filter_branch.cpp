#include "core/filter_branch.h"

namespace hcalc {

namespace {

// Capacitance of one delta branch in farads: 1000 Q / (3 U² × 2 × 3.14 × 50).
Ext branchFarads(Ext ratedKvar, Ext ratedVoltage) {
    return Ext(1000) * ratedKvar / (3 * ratedVoltage * ratedVoltage * 2 * kPi314 * 50);
}

}  // namespace

Ext BranchCapacitanceUf(Ext ratedKvar, Ext ratedVoltage) {
    return Stored(branchFarads(ratedKvar, ratedVoltage) * 1000000);
}

Ext BranchReactance(Ext ratedKvar, Ext ratedVoltage) {
    const Ext farads = Stored(branchFarads(ratedKvar, ratedVoltage));
    return Stored(Ext(1) / (314 * farads));
}

Ext RatedCurrent(Ext ratedVoltage, Ext branchReactance) {
    return kSqrt3_1732 * ratedVoltage / branchReactance;
}

Ext HarmonicReactance(Ext branchReactance, std::int32_t h) {
    return Stored(branchReactance / h);
}

Ext TunedReactorReactance(Ext branchReactance, std::int32_t h) {
    return Stored(branchReactance / (Ext(3) * h * h));
}

Ext ReactorInductanceMh(Ext reactorReactance) {
    return Stored(reactorReactance * 1000 / 314);
}

Ext TunedReactanceRatioPct(Ext reactorReactance, Ext branchReactance) {
    return Stored(3 * reactorReactance / branchReactance) * 100;
}

Ext DetunedInductanceMh(Ext tunedInductanceMh, Ext detuning) {
    return Stored((1 + detuning) * tunedInductanceMh);
}

Ext ReactorReactance(Ext inductanceMh) {
    return Stored(Ext(314) * inductanceMh / 1000);
}

Ext DetunedReactanceRatioPct(Ext reactorReactance, Ext branchReactance) {
    return Ext(3) * reactorReactance * 100 / branchReactance;
}

}  // namespace hcalc
