// Тесворн, the desktop program: creates the main window, then the debug window and the
// report progress window, and runs the message loop until the main window closes.
#include "uApplication.h"
#include "uDebug.h"
#include "uMain.h"
#include "uReportGeneration.h"

#include <QIcon>

int main(int argc, char** argv)
{
    TTesvornApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tesvorn"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tesvorn.png")));

    TfrmMain frmMain;
    TfrmDebug debug;
    SetfrmDebug(&debug);
    TfrmReportGeneration reportGeneration;
    SetfrmReportGeneration(&reportGeneration);
    frmMain.show();
    return app.exec();
}
