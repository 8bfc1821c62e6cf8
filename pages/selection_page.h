#pragma once

#include "pages/page.h"

#include <array>

namespace hcalc {

// "电容器选型": for each of the four filter banks, the total nameplate capacity
// of capacitors of the chosen rated voltage that have the capacitance of the
// ideal installed capacity at its ideal rated voltage: Qs = Qi * Us^2 / Ui^2.
class SelectionPage final : public Page {
    Q_OBJECT

public:
    explicit SelectionPage(const PageContext& context, QWidget* parent = nullptr);

    // The ideal installed capacities and rated voltages of the banks 3, 5, 7
    // and 11, as texts handed over from the installation capacity page.
    void takeIdealCapacities(const std::array<QString, 4>& texts);
    void takeIdealVoltages(const std::array<QString, 4>& texts);

    // "计算" and "清空" of the banks of the orders 3, 5, 7 and 11.
    void RzBitBtn5Click() { calculate(m_banks[0]); }
    void RzBitBtn6Click() { clear(m_banks[0]); }
    void RzBitBtn7Click() { calculate(m_banks[1]); }
    void RzBitBtn8Click() { clear(m_banks[1]); }
    void RzBitBtn9Click() { calculate(m_banks[2]); }
    void RzBitBtn10Click() { clear(m_banks[2]); }
    void RzBitBtn11Click() { calculate(m_banks[3]); }
    void RzBitBtn12Click() { clear(m_banks[3]); }

Q_SIGNALS:
    // The chosen rated voltage (V) and the total capacity at it (kvar) of the
    // bank of the given order, as the page shows them once calculated.
    void chosenCapacitorsWritten(int order, const QString& ratedVoltage, const QString& totalKvar);

private:
    struct Bank {
        QLineEdit* qi;  // kvar, ideal installed capacity
        QLineEdit* ui;  // V, ideal rated voltage
        QLineEdit* us;  // V, rated voltage of the chosen capacitors
        QLineEdit* qs;  // kvar, total capacity of the chosen capacitors
    };

    void calculate(const Bank& bank);
    static void clear(const Bank& bank);

    std::array<Bank, 4> m_banks{};
};

}  // namespace hcalc
