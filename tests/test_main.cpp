#include "app/application.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// The tests run offscreen with a known locale, unless the environment names
// another (the decimal-comma run sets LC_ALL).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("LC_ALL")) {
        qputenv("LC_ALL", "C.UTF-8");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
    return RUN_ALL_TESTS();
}
