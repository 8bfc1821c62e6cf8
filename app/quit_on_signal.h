#pragma once

#include <functional>

class QApplication;

namespace hcalc {

// Ends the program in order when the system asks the process to stop (a
// package manager's or a shell's stop, a session's end that sends SIGTERM):
// beforeClosing runs, then the windows close and the event loop ends,
// instead of the process being killed in the middle of an event. On Linux
// and other POSIX systems: SIGTERM and SIGINT (quit_on_signal_posix.cpp).
// Windows sends a windowed program no such signal, and its console control
// handlers are not called for a program with windows: a log-off or shut-down
// reaches the program as the session manager's request
// (QGuiApplication::commitDataRequest, handled where the program starts), so
// quit_on_signal_windows.cpp does nothing.
void QuitOnTerminationSignals(QApplication& app, std::function<void()> beforeClosing);

}  // namespace hcalc
