// One test executable: a QApplication on the offscreen platform, then every GoogleTest case.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));  // whatever the machine's
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
