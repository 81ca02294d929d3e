// Тесворн, the desktop program: creates the main window, then the debug window and the
// report progress window, and runs the message loop until the main window closes.
#include "uDebug.h"
#include "uMain.h"
#include "uReportGeneration.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tesvorn"));
    QApplication::setApplicationDisplayName(QStringLiteral("Тесворн"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tesvorn.png")));

    TfrmMain frmMain;
    TfrmDebug debug;
    SetfrmDebug(&debug);
    TfrmReportGeneration reportGeneration;
    SetfrmReportGeneration(&reportGeneration);
    frmMain.show();
    return app.exec();
}
