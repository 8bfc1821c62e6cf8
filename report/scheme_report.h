#pragma once

#include "core/filter_bank_table.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>

namespace hcalc {

// The site inputs exactly as the user typed them on the compensation and
// installation pages: the report copies them without reading them as numbers.
struct SiteTexts {
    QString activePower;                      // kW
    QString presentPowerFactor;               // cos phi1
    QString targetPowerFactor;                // cos phi2
    QString phaseVoltage;                     // V
    std::array<QString, 4> harmonicCurrents;  // A, orders 3, 5, 7 and 11
};

inline constexpr int kSchemeReportLineCount = 56;

// The scheme report, one line per paragraph: twelve lines of site
// information, then eleven for each filter bank of the orders 3, 5, 7 and 11
// from its row of the table (the row's order column is not read: each
// section's heading is fixed by its position). Table values are shown by the
// number-to-text rule with the given decimal separator.
QStringList SchemeReport(const SiteTexts& site, const FilterBankTable& table, QChar decimalSeparator);

}  // namespace hcalc
