#include <QApplication>

#include <gtest/gtest.h>

// The one main of the test programs that paint, read pictures or show windows.
int main(int argc, char* argv[]) {
    // Test discovery runs the program before ctest sets its environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
