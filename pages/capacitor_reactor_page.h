#pragma once

#include "core/filter_bank_table.h"
#include "pages/page.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace hcalc {

// "电容器/电抗器计算": sizes a branch's capacitor from the nameplate of a
// delta-connected three-phase capacitor (rated kvar and voltage), then the
// series reactor that tunes it to a harmonic order h, exactly and detuned by
// a relative amount E. Stores its figures per order into the filter-bank table
// and hands its key results to the capacitor bank page.
class CapacitorReactorPage final : public Page {
    Q_OBJECT

public:
    CapacitorReactorPage(const PageContext& context, DesignState& design, QWidget* parent = nullptr);

    void Command1Click();  // capacitor
    void Command3Click();  // clear the capacitor group
    void Command4Click();  // reactor, tuned to the order asked for
    void Command7Click();  // reactor, detuned by E
    void Command2Click();  // clear the reactor group

Q_SIGNALS:
    // The texts handed to the capacitor bank page, at the step that copies them.
    void capacitanceHandedOver(const QString& text);        // uF, as Text3 shows it
    void tunedInductanceHandedOver(const QString& text);    // mH, as Text9 holds it
    void detunedInductanceHandedOver(const QString& text);  // mH, the detuned inductance

private:
    // The three results of a reactor: reactance (ohm), inductance (mH) and reactance ratio (a number and "%").
    struct ReactorFields {
        QLineEdit* reactance;
        QLineEdit* inductance;
        QLineEdit* ratio;
    };
    void writeReactor(const ReactorFields& fields, Ext reactance, Ext inductanceMh, Ext ratioPct) const;

    DesignState& m_design;

    QLineEdit* m_ratedKvar = nullptr;          // Text1, Q, kvar
    QLineEdit* m_ratedVoltage = nullptr;       // Text2, U, V
    QLineEdit* m_capacitance = nullptr;        // Text3, one delta branch, uF
    QLineEdit* m_ratedCurrent = nullptr;       // Text41, A
    QLineEdit* m_reactance = nullptr;          // Text4, one delta branch at 50 Hz, ohm
    QLineEdit* m_harmonicReactance = nullptr;  // Text5, at the order h, ohm

    QLineEdit* m_reactorRatedKvar = nullptr;     // Text6, Q, kvar
    QLineEdit* m_reactorRatedVoltage = nullptr;  // Text7, U, V
    QLineEdit* m_tunedReactance = nullptr;       // Text8, reactor, ohm
    QLineEdit* m_tunedInductance = nullptr;      // Text9, reactor, mH
    QLineEdit* m_tunedRatio = nullptr;           // Text10, reactance ratio, %
    QLineEdit* m_detunedReactance = nullptr;     // Text21, reactor, ohm
    QLineEdit* m_detunedInductance = nullptr;    // Text22, reactor, mH
    QLineEdit* m_detunedRatio = nullptr;         // Text23, reactance ratio, %

    QGroupBox* m_detunedGroup = nullptr;  // RzGroupBox7, its caption names the last E
    QPushButton* m_command7 = nullptr;
};

}  // namespace hcalc
