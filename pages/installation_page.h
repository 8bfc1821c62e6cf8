#pragma once

#include "pages/page.h"

namespace hcalc {

// "安装容量计算": the best sharing of a compensation among the 3rd, 5th, 7th and 11th filter branches.
class InstallationPage final : public Page {
    Q_OBJECT

public:
    explicit InstallationPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace hcalc
