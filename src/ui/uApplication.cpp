// The application object with the default error report.
#include "uApplication.h"

#include "uPrompts.h"

#include <exception>

TTesvornApplication::TTesvornApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TTesvornApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
