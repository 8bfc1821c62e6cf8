#pragma once

#include <QString>

#include <deque>

class QWidget;

namespace hcalc::test {

// The typical design of the README, entered as a user enters it, so that every
// page shows one coherent example: the compensation, its sharing among the
// branches, the capacitors chosen for them, then the 7th and the 5th branches
// from the capacitor to the detuned banks, the report, the resonance and duty
// check, and last the grid code's limits on that check. The input boxes are answered from `answers`, which the
// window's dialogs read.
void EnterWorkedExample(const QWidget& window, std::deque<QString>& answers);

}  // namespace hcalc::test
