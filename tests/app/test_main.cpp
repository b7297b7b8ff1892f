#include <gtest/gtest.h>

#include <QApplication>

// The window tests need one application object for the whole run.
int main(int argc, char** argv) {
    // Headless unless told otherwise; listing the tests at build time needs
    // this too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
