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
    DesignState& m_design;

    QLineEdit* m_text1 = nullptr;   // Q, kvar
    QLineEdit* m_text2 = nullptr;   // U, V
    QLineEdit* m_text3 = nullptr;   // capacitance, uF
    QLineEdit* m_text41 = nullptr;  // rated current, A
    QLineEdit* m_text4 = nullptr;   // reactance at the fundamental, ohm
    QLineEdit* m_text5 = nullptr;   // reactance at harmonic h, ohm

    QLineEdit* m_text6 = nullptr;   // Q, kvar
    QLineEdit* m_text7 = nullptr;   // U, V
    QLineEdit* m_text8 = nullptr;   // reactor reactance, tuned, ohm
    QLineEdit* m_text9 = nullptr;   // reactor inductance, tuned, mH
    QLineEdit* m_text10 = nullptr;  // reactance ratio, tuned, %
    QLineEdit* m_text21 = nullptr;  // reactor reactance, detuned, ohm
    QLineEdit* m_text22 = nullptr;  // reactor inductance, detuned, mH
    QLineEdit* m_text23 = nullptr;  // reactance ratio, detuned, %

    QGroupBox* m_detunedGroup = nullptr;  // RzGroupBox7, its caption names the last E
    QPushButton* m_command7 = nullptr;
};

}  // namespace hcalc
