#pragma once

#include "core/grid_code.h"
#include "core/resonance.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>

namespace hcalc {

// What the check pages and the check report show of a check, word for word:
// the pages and the report take their texts from here, so that the report
// reads as the pages do.

// A result cell: its text, and whether it exceeds its limit (shown marked).
struct ShownCell {
    QString text;
    bool over = false;

    bool operator==(const ShownCell&) const = default;
};

// "5次"
QString OrderName(int order);

// The resonance and duty check (谐振与耐受校验).

// The rows of its result table, each a value per branch: the tuning order,
// the capacitor's duty against the limits of IEEE Std 18-2002 (rms voltage,
// peak voltage, rms current, reactive power), the bank's share of the
// harmonic current and the harmonic voltage without and with the bank.
inline constexpr std::size_t kCheckResultRows = 8;
extern const std::array<const char*, kCheckResultRows> kCheckResultCaptions;
// The limit of a duty row, "110%"; empty for the other rows.
QString CheckRowLimit(std::size_t row);
// "1～25次间的并联谐振次数：", from the scan's range.
QString ResonancesCaption();
// "接入点电压总谐波畸变率THDu："
QString DistortionCaption();

struct ShownResonanceCheck {
    std::array<std::array<ShownCell, 4>, kCheckResultRows> cells;  // rows by orders 3, 5, 7, 11
    QString resonances;                                            // every resonance, after ResonancesCaption()
    QString warning;       // a resonance near a characteristic order where the bank amplifies
    bool warned = false;   // the warning warns (shown red)
    QString warningBasis;  // beside the warning: what it is given for
    QString distortion;    // THD_U without and with the bank
};
ShownResonanceCheck ShowResonanceCheck(const ResonanceInputs& in, const ResonanceCheck& check, QChar decimalSeparator);

// The harmonic limits of a grid code (谐波限值校验).

// "GB/T 14549-1993", "IEEE Std 519-2014"
QString GridCodeName(GridCode code);

// Its table: a row per order and the total; the columns the current without
// and with the bank and its limit, then the voltage's.
inline constexpr std::size_t kComplianceColumns = 6;
struct ShownCompliance {
    QString currentTitle;  // above the current's three columns
    QString voltageTitle;
    std::array<QString, kComplianceColumns> headers;
    std::array<QString, 5> rowCaptions;
    std::array<std::array<ShownCell, kComplianceColumns>, 5> cells;
    QStringList basis;  // the standard, its tables and the rows used, and how the figures were found
    QString verdict;    // 符合 / 不符合 with the bank and without it, with what fails first
    bool complies = false;
};
ShownCompliance ShowCompliance(const GridCodeInputs& in, const ComplianceCheck& check, QChar decimalSeparator);

// Everything the check report holds: the resonance and duty check shown, and
// the check of the grid code's limits on it.
struct CheckReportContent {
    ResonanceInputs check;
    ResonanceCheck result;
    GridCodeInputs limits;
    ComplianceCheck compliance;
    QChar separator = u'.';
};

}  // namespace hcalc
