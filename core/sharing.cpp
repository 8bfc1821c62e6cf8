#include "core/sharing.h"

#include "core/numbers.h"

namespace hcalc {

std::int32_t SharingSteps(std::int32_t totalKvar) {
    return static_cast<std::int32_t>(TruncateReal(Ext(totalKvar) / 3));
}

Ext BranchKvar(std::int32_t steps) {
    return Ext(3) * steps;
}

Ext TuningFactor(int h) {
    return Ext(h * h) / (h * h - 1);
}

Ext RaisedByTuning(Ext value, int h) {
    return value * (h * h) / (h * h - 1);
}

Ext BranchCapacityVa(Ext phaseVoltage, Ext current, int h, std::int32_t a) {
    const Ext bracket = phaseVoltage * phaseVoltage * current * current / (Ext(1000) * h * a) + Ext(1000) * a;
    return RaisedByTuning(bracket, h);
}

Ext InstalledKvar(Ext phaseVoltage, Ext current, int h, std::int32_t a) {
    if (a == 0) {
        return 0;
    }
    return BranchCapacityVa(phaseVoltage, current, h, a) * 3 / 1000;
}

Ext RaisedLineVoltage(Ext phaseVoltage, int h) {
    return Sqrt(Ext(3)) * phaseVoltage * TuningFactor(h);
}

Ext IdealRatedVoltage(Ext installedKvar, Ext raisedLineVoltage, int h, std::int32_t a) {
    const Ext raisedFundamental = Ext(3) * a * (Ext(1000) * TuningFactor(h));  // var
    return Sqrt(installedKvar * 1000 / raisedFundamental * raisedLineVoltage * raisedLineVoltage);
}

}  // namespace hcalc
