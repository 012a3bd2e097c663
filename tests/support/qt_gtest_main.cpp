// GoogleTest entry point for tests that need a QApplication.
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // as the program does after making its application
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
