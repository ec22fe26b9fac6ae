#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test binary runs inside a Qt application object so that Qt's locale,
// text and file services behave as in the program.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
