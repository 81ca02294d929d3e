// Test entry point: creates the Qt application object the code under test expects
// (a QApplication for window tests, a QCoreApplication otherwise) on the offscreen
// platform, then runs every GoogleTest case.
#include <gtest/gtest.h>

#include <QLocale>
#ifdef TESVORN_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TESVORN_TEST_GUI
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    // The designers' setting: a comma as decimal separator. Tests that need another
    // locale set it themselves and restore this one.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return RUN_ALL_TESTS();
}
