#include <gtest/gtest.h>

#include <QApplication>

// The main of the tests that drive widgets: one application object for the
// whole run, drawn off screen unless a platform is set (listing the tests at
// build time needs this too).
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
