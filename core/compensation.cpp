#include "core/compensation.h"

namespace hcalc {

namespace {

Ext tangentOf(Ext cosine) {
    return Stored(Sqrt(Ext(1) - cosine * cosine) / cosine);
}

}  // namespace

Ext CompensationKvar(Ext activePowerKw, Ext targetPowerFactor, Ext presentPowerFactor) {
    const Ext targetTan = tangentOf(targetPowerFactor);
    const Ext presentTan = tangentOf(presentPowerFactor);
    return Stored((presentTan - targetTan) * activePowerKw);
}

}  // namespace hcalc
