#pragma once

#include "core/filter_bank_table.h"
#include "pages/page.h"

#include <array>

class QGroupBox;
class QLineEdit;

namespace hcalc {

// "电容器组计算": the operating point of n identical banks on the site
// voltage, each a delta capacitor in series with a reactor: capacitor and
// reactor voltages, line current, reactive powers and the harmonic capacity of
// all capacitors, once with the tuned inductance (normal) and once with the
// detuned one, whose totals go into the filter-bank table.
class CapacitorBankPage final : public Page {
    Q_OBJECT

public:
    CapacitorBankPage(const PageContext& context, DesignState& design, QWidget* parent = nullptr);

    // Texts handed over from the capacitor and reactor page.
    void takeCapacitance(const QString& text);        // into Text11, uF
    void takeTunedInductance(const QString& text);    // into Text12, mH
    void takeDetunedInductance(const QString& text);  // into Text24, mH

    void Command6Click();  // normal
    void Command8Click();  // detuned, stored into the row of currentOrder
    void Command5Click();  // clear

Q_SIGNALS:
    // The site's line voltage as typed, once a bank calculation has used it.
    void siteVoltageHandedOver(const QString& text);

private:
    // The ten result fields of one output group.
    struct OutputGroup {
        QGroupBox* group;
        QLineEdit* uc;        // V, capacitor voltage
        QLineEdit* iCap;      // A, line current (capacitor row)
        QLineEdit* qc;        // kvar, capacitor of one bank
        QLineEdit* ul;        // V, reactor voltage
        QLineEdit* iReactor;  // A, line current (reactor row)
        QLineEdit* ql;        // kvar, reactor
        QLineEdit* qb;        // kvar, one bank
        QLineEdit* qcAll;     // kvar, capacitors of all banks
        QLineEdit* qbAll;     // kvar, all banks
        QLineEdit* qh;        // kvar, harmonic capacity of all capacitors
    };
    struct Inputs {
        Ext n;   // number of banks
        Ext c;   // uF, one delta branch of one bank
        Ext l;   // mH, reactor
        Ext u;   // V, site line voltage
        Ext h;   // harmonic order, used unrounded
        Ext ih;  // A, site harmonic current
    };
    // What the detuned calculation stores, as shown.
    struct Totals {
        Ext banksOutputKvar;
        Ext capacitorsOutputKvar;
        Ext harmonicKvar;
    };

    OutputGroup addOutputGroup(const QString& name, const QString& caption,
                               const std::array<const char*, 10>& fieldNames);
    // The page's inputs in the order the calculations read them, with the given inductance field.
    Inputs readInputs(Ext banks, const QLineEdit* inductance) const;
    Totals calculate(const Inputs& in, const OutputGroup& out) const;

    DesignState& m_design;

    QLineEdit* m_capacitance = nullptr;        // Text11, C, uF per delta branch
    QLineEdit* m_tunedInductance = nullptr;    // Text12, L, mH
    QLineEdit* m_siteVoltage = nullptr;        // Text13, U, V
    QLineEdit* m_detunedInductance = nullptr;  // Text24, L, mH
    QLineEdit* m_harmonicCurrent = nullptr;    // Text63, Ih, A
    QLineEdit* m_harmonicOrder = nullptr;      // Text64, h
    OutputGroup m_normal{};
    OutputGroup m_detuned{};
};

}  // namespace hcalc
