#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Test discovery runs the program before ctest sets its environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Painting text and running an event loop need the application object.
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
