#pragma once

#include "pages/page.h"

namespace hcalc {

// "简单计算": capacity of a single-phase, delta or star capacitor, and the reactance ratio of a capacitor-reactor pair.
class SimplePage final : public Page {
    Q_OBJECT

public:
    explicit SimplePage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace hcalc
