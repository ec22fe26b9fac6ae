#include <QGuiApplication>

#include <gtest/gtest.h>

// The render tests paint text as well as geometry, and fonts need a
// QGuiApplication (run with QT_QPA_PLATFORM=offscreen, as ctest does).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
