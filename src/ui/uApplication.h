// The program's application object: the default error report. An error that a command
// handler lets escape (a reference-database failure, for example, which the windows
// deliberately do not catch) is shown as an error box with its message and the caption
// "Тесворн", and the program goes on with the next event. It also makes Qt's own texts
// (the buttons of message boxes, the file dialogs) speak Russian, as the program does.
#pragma once

#include <QApplication>

class TTesvornApplication : public QApplication {
public:
    // Creates the application and loads Qt's Russian translations (LoadQtTranslations).
    TTesvornApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Installs Qt's Russian translations of its own texts ("qtbase_ru.qm" from Qt's
// translations folder, or from `folder` when given) into the running application, once;
// later calls do nothing. The program's texts are Russian whatever the system's language,
// so the standard dialogs follow them rather than the system. Answers whether the
// translations are installed; without them Qt's texts stay English and nothing else
// changes. Needs the QCoreApplication to exist.
bool LoadQtTranslations(const QString& folder = QString());
