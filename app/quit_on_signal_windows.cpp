#include "app/quit_on_signal.h"

#include <QApplication>

#include <atomic>
#include <chrono>
#include <thread>

#include <windows.h>

namespace hcalc {

namespace {

QApplication* g_app = nullptr;
std::atomic<bool> g_eventLoopEnded{false};

// Runs on a thread of its own that the system starts for the event: the
// quit is posted to the event loop's thread.
BOOL WINAPI onConsoleEvent(DWORD event) {
    QMetaObject::invokeMethod(
        g_app,
        [] {
            QApplication::closeAllWindows();
            QApplication::quit();
        },
        Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process once this returns: give the event loop
        // the few seconds the system allows to end first.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (!g_eventLoopEnded.load() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return TRUE;
}

}  // namespace

void QuitOnTerminationSignals(QApplication& app) {
    g_app = &app;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [] { g_eventLoopEnded.store(true); });
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

}  // namespace hcalc
