#pragma once

#include <array>

namespace hcalc {

// The harmonic orders of the filter branches the program designs, lowest
// first: the rows of the filter-bank table, the branches among which the
// sharing search divides a compensation, and the banks of the selection page.
inline constexpr std::array<int, 4> kFilterOrders{3, 5, 7, 11};

// The characteristic harmonic orders of the loads (the triplen 3rd and the
// 6k ± 1 orders of six-pulse converters up to 13): a parallel resonance must
// keep 10 % away from them, and the check's chart marks them.
inline constexpr std::array<int, 5> kCharacteristicOrders{3, 5, 7, 11, 13};

// The range of the resonance check's scan: the orders kScanFirstOrder to
// kScanLastOrder, every 1 / kScanStepsPerOrder of an order.
inline constexpr int kScanFirstOrder = 1;
inline constexpr int kScanLastOrder = 25;
inline constexpr int kScanStepsPerOrder = 100;

}  // namespace hcalc
