#pragma once

#include "core/filter_bank_table.h"

#include <array>

namespace hcalc::test {

using RowColumns = std::array<double, 11>;
using TableColumns = std::array<RowColumns, 4>;

// The eleven columns of a row, in their order.
inline RowColumns Columns(const FilterBankRow& r) {
    return {r.order,        r.ratedKvar,         r.ratedVoltage, r.capacitanceUf,   r.ratedCurrent,
            r.inductanceMh, r.reactanceRatioPct, r.bankCount,    r.banksOutputKvar, r.capacitorsOutputKvar,
            r.harmonicKvar};
}

// Every cell of the table, rows in the order 3, 5, 7, 11.
inline TableColumns Columns(const FilterBankTable& table) {
    TableColumns all{};
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = Columns(table.rows()[i]);
    }
    return all;
}

// The index of the row of order h in Columns(table).
inline std::size_t RowIndex(int h) {
    for (std::size_t i = 0; i < FilterBankTable::kOrders.size(); ++i) {
        if (FilterBankTable::kOrders[i] == h) {
            return i;
        }
    }
    return FilterBankTable::kOrders.size();
}

}  // namespace hcalc::test
