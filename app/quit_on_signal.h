#pragma once

class QApplication;

namespace hcalc {

// Closes the main window and ends the event loop normally when the process
// receives SIGTERM or SIGINT (a session logging out, a package manager's or a
// shell's stop), instead of being killed in the middle of an event.
void QuitOnTerminationSignals(QApplication& app);

}  // namespace hcalc
