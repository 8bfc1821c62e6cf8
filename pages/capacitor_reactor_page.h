#pragma once

#include "pages/page.h"

namespace hcalc {

// "电容器/电抗器计算": sizes a branch's capacitor and the series reactor that tunes it.
class CapacitorReactorPage final : public Page {
    Q_OBJECT

public:
    explicit CapacitorReactorPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace hcalc
