#pragma once

#include "pages/page.h"

class QLineEdit;

namespace hcalc {

// "补偿容量计算": the compensation capacity that raises a load's power factor to a target,
// Qc = P * (tan phi1 - tan phi2).
class CompensationPage final : public Page {
    Q_OBJECT

public:
    explicit CompensationPage(const PageContext& context, QWidget* parent = nullptr);

    // The site inputs as typed, unconverted, for the scheme report.
    QString activePowerText() const;
    QString presentPowerFactorText() const;
    QString targetPowerFactorText() const;
    // The compensation capacity shown, kvar; empty before a calculation.
    QString compensationText() const;

    void RzBitBtn2Click();  // "计算"
    void RzBitBtn1Click();  // "清空"

Q_SIGNALS:
    // The compensation capacity truncated toward zero, as a whole number of kvar, for the installation page.
    void wholeCompensationWritten(const QString& text);

private:
    QLineEdit* m_activePower;  // kW, P
    QLineEdit* m_targetPf;     // cos phi2
    QLineEdit* m_presentPf;    // cos phi1
    QLineEdit* m_result;       // kvar, Qc
};

}  // namespace hcalc
