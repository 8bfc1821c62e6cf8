#pragma once

#include "core/filter_orders.h"

#include <array>
#include <cstdint>

namespace hcalc {

// The figures of one filter bank, collected from several calculations for the
// scheme report. Every column a double, zero until a calculation stores it.
struct FilterBankRow {
    double order = 0;                 // the harmonic order of the row
    double ratedKvar = 0;             // kvar, rated capacity of the delta capacitor
    double ratedVoltage = 0;          // V
    double capacitanceUf = 0;         // uF
    double ratedCurrent = 0;          // A
    double inductanceMh = 0;          // mH, series reactor at the chosen detuning
    double reactanceRatioPct = 0;     // %, at the chosen detuning
    double bankCount = 0;             // number of banks n
    double banksOutputKvar = 0;       // kvar, all banks, detuned
    double capacitorsOutputKvar = 0;  // kvar, all capacitors, detuned
    double harmonicKvar = 0;          // kvar, harmonic capacity of all capacitors, detuned
};

// One row for each of the harmonic orders 3, 5, 7 and 11, in that order.
class FilterBankTable {
public:
    static constexpr std::array<int, 4> kOrders = kFilterOrders;

    // The row of harmonic order h, or nullptr for any other order.
    FilterBankRow* rowFor(std::int32_t h);
    const FilterBankRow* rowFor(std::int32_t h) const;

    const std::array<FilterBankRow, 4>& rows() const { return m_rows; }

private:
    std::array<FilterBankRow, 4> m_rows{};
};

// The values shared by the capacitor, reactor, bank and report calculations
// for the whole run: zero at start and never reset.
struct DesignState {
    FilterBankTable table;
    std::int32_t currentOrder = 0;  // row selector of the detuned reactor and bank calculations
    double pendingBankCount = 0;    // the bank count last entered
};

}  // namespace hcalc
