#include <QGuiApplication>

#include <gtest/gtest.h>

// The picture tests draw "NO IMAGE" in bold, which needs the fonts of a GUI
// application; they run on the offscreen platform (also when ctest lists them).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
