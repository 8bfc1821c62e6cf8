#pragma once

#include <array>

namespace hcalc {

// The harmonic orders of the filter branches the program designs, lowest
// first: the rows of the filter-bank table, the branches among which the
// sharing search divides a compensation, and the banks of the selection page.
inline constexpr std::array<int, 4> kFilterOrders{3, 5, 7, 11};

}  // namespace hcalc
