// The program's application object: the default error report. An error that a command
// handler lets escape (a reference-database failure, for example, which the windows
// deliberately do not catch) is shown as an error box with its message and the caption
// "Тесворн", and the program goes on with the next event.
#pragma once

#include <QApplication>

class TTesvornApplication : public QApplication {
public:
    TTesvornApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
