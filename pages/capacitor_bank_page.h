#pragma once

#include "pages/page.h"

namespace hcalc {

// "电容器组计算": the operating point of n capacitor-reactor banks, normal and detuned.
class CapacitorBankPage final : public Page {
    Q_OBJECT

public:
    explicit CapacitorBankPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace hcalc
