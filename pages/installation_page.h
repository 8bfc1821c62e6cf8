#pragma once

#include "pages/page.h"

#include <array>

class QLineEdit;

namespace hcalc {

// "安装容量计算": the best sharing of a compensation among the 3rd, 5th, 7th and 11th filter branches.
class InstallationPage final : public Page {
    Q_OBJECT

public:
    explicit InstallationPage(const PageContext& context, QWidget* parent = nullptr);

    // The site inputs as typed, unconverted, for the scheme report.
    QString phaseVoltageText() const;
    std::array<QString, 4> harmonicCurrentTexts() const;  // orders 3, 5, 7, 11

private:
    QLineEdit* m_totalKvar;                  // Q, kvar, a whole number
    QLineEdit* m_phaseVoltage;               // U, V
    std::array<QLineEdit*, 4> m_currents{};  // I3, I5, I7, I11, A
};

}  // namespace hcalc
