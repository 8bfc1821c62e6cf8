#pragma once

#include "core/check_texts.h"
#include "core/grid_code.h"
#include "core/resonance.h"
#include "pages/page.h"

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace hcalc {

// The site's load as the compensation page holds it, for the hint of I_L.
struct SiteLoad {
    QString activePower;  // P, kW, as typed
    QString powerFactor;  // cos φ after the compensation, as typed
};

// "谐波限值校验": whether the site meets its grid code at the connection,
// with the bank and without it: GB/T 14549-1993 or IEEE Std 519-2014, on the
// harmonic currents and voltages of the check shown on 谐振与耐受校验, which
// the window hands over. One table of the figures against their limits, the
// tables and rows used, a verdict, and the check report as a PDF.
class GridCodePage final : public Page {
    Q_OBJECT

public:
    // What the window gives the page: the site's load when the compensation
    // page has been calculated, and the writer of the check report (true when
    // the file was written).
    using LoadSource = std::function<std::optional<SiteLoad>()>;
    using ReportWriter = std::function<bool(const QString& fileName, const CheckReportContent& content)>;
    GridCodePage(const PageContext& context, LoadSource load, ReportWriter writeReport, QWidget* parent = nullptr);

    // The check shown on 谐振与耐受校验: its inputs and results, handed over
    // whenever it shows one (after 校验, or when a design is opened). Forgets
    // the figures shown, which were of the check before.
    void takeCheck(const ResonanceInputs& in, const ResonanceCheck& result);
    // No check is shown there any more.
    void forgetCheck();
    // The defaults that a user's 校验 there gives: the PCC level nearest its
    // line voltage and its short-circuit capacity as S_k1.
    void takeDefaults(const ResonanceInputs& in);
    // The hint of I_L from the compensation page, read again.
    void refreshDemandHint();

    void checkClick();   // "校验"
    void reportClick();  // "输出校验报告": a PDF of both checks, through the file box

    // The inputs of the figures shown, as they were read; nullopt when none are.
    const std::optional<GridCodeInputs>& lastCheck() const { return m_lastCheck; }
    // Shows the figures of `in` on the check handed over, as 校验 does after
    // reading them (the fields are not written); without a check, or when they
    // cannot be computed, the figures are emptied with the page's notice.
    void showCheck(const GridCodeInputs& in);

private:
    QGroupBox* addInputGroup();
    QGroupBox* addResultGroup();

    // A physical quantity that must be positive.
    double positive(const QLineEdit* field, const QString& name, Reading reading) const;
    GridCodeInputs readInputs(Reading reading) const;
    std::optional<GridCodeInputs> inputsAsShown() const;
    GridCode chosenCode() const;
    void showFlows();  // what was handed over, and I_SC
    void showResult(const ShownCompliance& shown);
    void clearResults();

    const NumberFormat& m_numbers;
    LoadSource m_load;
    ReportWriter m_writeReport;
    QComboBox* m_standard = nullptr;
    QComboBox* m_pccLevel = nullptr;
    QLineEdit* m_minShortCircuit = nullptr;  // S_k1, MVA
    QLineEdit* m_agreedCapacity = nullptr;   // S_i, MVA
    QLineEdit* m_supplyCapacity = nullptr;   // S_t, MVA
    QLineEdit* m_demandCurrent = nullptr;    // I_L, A
    QGroupBox* m_gbGroup = nullptr;
    QGroupBox* m_ieeeGroup = nullptr;
    QLabel* m_demandHint = nullptr;
    QLabel* m_shortCircuitCurrent = nullptr;
    QLabel* m_source = nullptr;  // the check handed over
    QLabel* m_currentTitle = nullptr;
    QLabel* m_voltageTitle = nullptr;
    std::array<QLabel*, kComplianceColumns> m_headers{};
    std::array<std::array<QLabel*, kComplianceColumns>, 5> m_cells{};
    QLabel* m_basis = nullptr;
    QLabel* m_verdict = nullptr;
    std::optional<ResonanceInputs> m_check;  // handed over, with its results
    std::optional<ResonanceCheck> m_result;
    std::optional<GridCodeInputs> m_lastCheck;
    std::optional<ComplianceCheck> m_compliance;  // of m_lastCheck
};

}  // namespace hcalc
