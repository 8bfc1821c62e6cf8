#pragma once

#include "core/resonance.h"
#include "pages/page.h"

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace hcalc {

class ImpedanceChart;

// "谐振与耐受校验": whether the designed bank survives on its network. For
// each branch the capacitor's duty (voltage, peak, current, reactive power)
// against the limits of IEEE Std 18-2002; for the bank with the network the
// parallel resonances over the scan's range, the share of each harmonic
// current the bank absorbs, the harmonic voltages at the connection point and
// their total distortion; and a chart of |Z| against the order, which can be
// saved as PNG or PDF, its scan as CSV.
class ResonancePage final : public Page {
    Q_OBJECT

public:
    explicit ResonancePage(const PageContext& context, QWidget* parent = nullptr);

    // Texts handed over from the earlier pages.
    void takeLineVoltage(const QString& text);                         // V, the site's line voltage
    void takeHarmonicCurrents(const std::array<QString, 4>& texts);    // A, orders 3, 5, 7, 11
    void takeChosenCapacitors(int order, const QString& ratedVoltage,  // V
                              const QString& ratedKvar);               // kvar, all capacitors of the branch

    void checkClick();  // "校验"
    void saveClick();   // "保存曲线": PNG, PDF or CSV, of the check shown while the inputs still read to its own
    void clearClick();  // "清空": inputs back to their defaults, results emptied

    // The inputs of the check shown, as they were read; nullopt when none is.
    const std::optional<ResonanceInputs>& lastCheck() const { return m_lastCheck; }
    // Computes and shows the check of `in`, as 校验 does after reading them
    // (the fields are not written); a check that cannot be computed empties
    // the results with the page's notice.
    void showCheck(const ResonanceInputs& in);
    // Shows no check: the results and the chart emptied.
    void forgetCheck() { clearResults(); }

Q_SIGNALS:
    // A check is shown, after 校验 or by showCheck: its inputs and results.
    void checkShown(const hcalc::ResonanceInputs& in, const hcalc::ResonanceCheck& result);
    // The results are emptied: no check is shown.
    void checkEmptied();
    // 校验 was clicked and shows the check of `in` (after checkShown).
    void checkedByUser(const hcalc::ResonanceInputs& in);

private:
    struct BranchFields {
        QLineEdit* ratedVoltage;  // U_R, V
        QLineEdit* ratedKvar;     // Q_R, kvar
        QLineEdit* ratio;         // p, %
        QLineEdit* quality;       // q
        QLineEdit* current;       // I_h, A
    };
    // The result cells of one order's column.
    struct ResultColumn {
        QLabel* tuning;
        std::array<QLabel*, 4> duty;  // rms voltage, peak voltage, rms current, reactive power
        QLabel* share;
        QLabel* voltageWithout;
        QLabel* voltageWith;
    };
    enum class Bound { Positive, NotNegative, Ratio };

    QGroupBox* addInputGroup();
    QGroupBox* addResultGroup();

    // The guarded reading of one field: its notice when empty or out of bound
    // (ending the check), the conversion fault when it is not a number.
    double required(const QLineEdit* field, const QString& name, Bound bound, Reading reading) const;
    ResonanceInputs readInputs(Reading reading) const;
    // What the fields read to now; nullopt where 校验 would refuse them.
    std::optional<ResonanceInputs> inputsAsShown() const;
    void showResult(const ResonanceInputs& in, const ResonanceCheck& result);
    void clearResults();

    bool savePng(const QString& fileName) const;
    bool savePdf(const QString& fileName) const;
    bool saveCsv(const QString& fileName) const;

    const NumberFormat& m_numbers;             // kept current by the window
    QLineEdit* m_lineVoltage = nullptr;        // U, V
    QLineEdit* m_shortCircuit = nullptr;       // S_k, MVA
    QLineEdit* m_xOverR = nullptr;             // X/R
    QLineEdit* m_transformerRating = nullptr;  // S_T, kVA
    QLineEdit* m_impedanceVoltage = nullptr;   // u_k, %
    std::array<BranchFields, 4> m_branches{};
    std::array<ResultColumn, 4> m_results{};
    QLabel* m_resonances = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_warningBasis = nullptr;  // what a warning is given for
    QLabel* m_distortion = nullptr;
    ImpedanceChart* m_chart = nullptr;
    std::optional<ResonanceInputs> m_lastCheck;  // the inputs of the results and chart shown
};

}  // namespace hcalc
