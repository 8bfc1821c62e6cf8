#if HCALC_TESTS_WITH_WIDGETS
#include "app/application.h"

#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>

// The tests run offscreen with a known locale, unless the environment names
// another (the decimal-comma run sets LC_ALL). The number engine's tests
// need no window, and no windowing system at all.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef Q_OS_WIN
    // Offscreen on Windows, Qt takes its fonts from a folder: the system's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
    }
#endif
    if (qEnvironmentVariableIsEmpty("LC_ALL")) {
        qputenv("LC_ALL", "C.UTF-8");
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Settings, recent files and recovery files go to folders of the tests' own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
#if HCALC_TESTS_WITH_WIDGETS
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
