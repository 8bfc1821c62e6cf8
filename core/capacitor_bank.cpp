#include "core/capacitor_bank.h"

namespace hcalc {

Ext BanksHarmonicKvar(Ext banks, Ext capacitanceUf, Ext order, Ext harmonicCurrent) {
    const Ext allCapacitanceUf = Stored(3 * banks * capacitanceUf);
    const Ext reactance = Stored(Ext(1000000) / (order * 2 * kPi314 * 50 * allCapacitanceUf));
    return Stored(3 * harmonicCurrent * harmonicCurrent * reactance / 1000);
}

Ext BankCapacitorReactance(Ext capacitanceUf) {
    return Stored(Ext(1000000) / (314 * capacitanceUf * 3));
}

Ext BankReactorReactance(Ext inductanceMh) {
    return Stored(inductanceMh / 1000 * 314);
}

Ext BankLineCurrent(Ext lineVoltage, Ext capacitorReactance, Ext reactorReactance) {
    return Stored((lineVoltage / kSqrt3_1732) / (capacitorReactance - reactorReactance));
}

Ext CapacitorVoltage(Ext current, Ext capacitorReactance) {
    return Stored(current * capacitorReactance * kSqrt3_1732);
}

Ext CapacitorKvar(Ext capacitorVoltage, Ext current) {
    return Stored(kSqrt3_1732 * capacitorVoltage * current / 1000);
}

Ext ReactorVoltage(Ext current, Ext reactorReactance) {
    return Stored(current * reactorReactance);
}

Ext ReactorKvar(Ext reactorVoltage, Ext current) {
    return Stored(3 * reactorVoltage * current / 1000);
}

Ext BankKvar(Ext lineVoltage, Ext current) {
    return Stored(kSqrt3_1732 * lineVoltage * current / 1000);
}

Ext AllBanks(Ext perBank, Ext banks) {
    return perBank * banks;
}

}  // namespace hcalc
