#pragma once

#include "pages/page.h"

namespace hcalc {

// "简单计算": capacity of a single-phase, delta or star capacitor, and the reactance ratio of a capacitor-reactor pair.
class SimplePage final : public Page {
    Q_OBJECT

public:
    explicit SimplePage(const PageContext& context, QWidget* parent = nullptr);

    void Command9Click();    // single-phase capacity
    void Command10Click();   // clears the single-phase group
    void Command12Click();   // delta capacity
    void Command11Click();   // clears the delta group
    void Command14Click();   // star capacity
    void Command13Click();   // clears the star group
    void RzBitBtn14Click();  // reactance ratio and the order it filters
    void RzBitBtn16Click();  // clears the reactance-ratio group

private:
    struct CapacityGroup {
        QLineEdit* capacitance;  // uF, C
        QLineEdit* voltage;      // V, U
        QLineEdit* capacity;     // kvar, Q
    };

    void calculateCapacity(const CapacityGroup& group, const QLineEdit* firstTested, const QLineEdit* secondTested,
                           int connectionFactor);

    CapacityGroup m_singlePhase{};
    CapacityGroup m_delta{};
    CapacityGroup m_star{};
    QLineEdit* m_ratioCapacitance = nullptr;  // T1, uF
    QLineEdit* m_ratioInductance = nullptr;   // T2, mH
    QLineEdit* m_ratio = nullptr;             // T3, reactance ratio in percent
    QLineEdit* m_filteredOrder = nullptr;     // T4, the order the pair resonates at
};

}  // namespace hcalc
