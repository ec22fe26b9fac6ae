#include <QApplication>

#include <gtest/gtest.h>

// The tools are widgets: they need a QApplication (offscreen, as ctest runs them).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("PIPELOOP"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
