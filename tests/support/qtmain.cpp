// The main of window tests: a QApplication around GoogleTest.
#include "platform/process/guardedapplication.h"

#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Window tests run offscreen unless a display is asked for (the end-to-end runner sets xcb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // for the end-to-end tests' browser
    kivo::platform::GuardedApplication app(argc, argv); // the program's own, with its barrier
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
