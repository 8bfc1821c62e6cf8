#include "core/filter_bank_table.h"

namespace hcalc {

const FilterBankRow* FilterBankTable::rowFor(std::int32_t h) const {
    for (std::size_t i = 0; i < kOrders.size(); ++i) {
        if (kOrders[i] == h) {
            return &m_rows[i];
        }
    }
    return nullptr;
}

FilterBankRow* FilterBankTable::rowFor(std::int32_t h) {
    return const_cast<FilterBankRow*>(static_cast<const FilterBankTable&>(*this).rowFor(h));
}

}  // namespace hcalc
