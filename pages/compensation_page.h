#pragma once

#include "pages/page.h"

namespace hcalc {

// "补偿容量计算": the compensation capacity that raises a load's power factor to a target.
class CompensationPage final : public Page {
    Q_OBJECT

public:
    explicit CompensationPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace hcalc
