// The about box: the program's name, version, a notice on the rights to the program,
// the terms of use and a link to the program's web page.
#pragma once

#include <QDialog>

class QLabel;
class QFrame;
class QPlainTextEdit;
class QPushButton;

// "О программе", a fixed dialog. FormCreate fills the icon and the version (the version of
// the program's own executable); the caller sets lblAppName. A click on the link opens
// it with the desktop's default browser through the prompts service.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* imgIcon;
    QLabel* lblAppName;
    QLabel* lblAppVersion;
    QFrame* Bevel1;
    QLabel* lblNotice;
    QPlainTextEdit* Memo;
    QLabel* lblLink;
    QFrame* Bevel2;
    QPushButton* btnOK;

    void FormCreate();
    void lblLinkClick(const QString& link);
};

// The address shown by the about box.
inline const QString AboutLinkAddress = QStringLiteral("https://tesvorn.example.org");
