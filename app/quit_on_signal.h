#pragma once

class QApplication;

namespace hcalc {

// Closes the main window and ends the event loop normally when the system
// asks the process to stop (a session logging out or shutting down, a
// package manager's or a shell's stop), instead of having it killed in the
// middle of an event. One implementation per platform: SIGTERM and SIGINT
// (quit_on_signal_posix.cpp); the console's Ctrl+C, Ctrl+Break, close,
// log-off and shut-down events (quit_on_signal_windows.cpp; a window's own
// close request reaches Qt without help).
void QuitOnTerminationSignals(QApplication& app);

}  // namespace hcalc
