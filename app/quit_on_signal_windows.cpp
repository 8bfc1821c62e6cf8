#include "app/quit_on_signal.h"

namespace hcalc {

// Nothing to do: a program with windows gets no console control events, and
// its log-off and shut-down come through Qt's session manager.
void QuitOnTerminationSignals(QApplication& /*app*/, std::function<void()> /*beforeClosing*/) {}

}  // namespace hcalc
