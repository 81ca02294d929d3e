// The prompts service: every message box, question, file dialog, beep and shell "Open" of
// the desktop program goes through one replaceable object, so that window tests can answer
// the questions from a script and check exactly what the user would have been shown.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

// The icon of a message box.
enum class TPromptIcon { Information, Warning, Error, Question };

// The button set of a message box.
enum class TPromptButtons { Ok, YesNo, YesNoCancel, OkCancel };

// The button the user pressed. Closing a question box with the window's close button
// answers Cancel (or No when the box has no Cancel button).
enum class TPromptAnswer { Ok, Yes, No, Cancel };

// Which kind of interaction a recorded prompt was.
enum class TPromptKind { Message, OpenFile, SaveFile, Beep, OpenUrl };

// One interaction as the user would have seen it. File dialogs keep their title in
// Caption, the filter (in the "Описание|*.ext|..." form) in Filter and the preset file
// name in Text; the answer of a file dialog is in FileName (empty when cancelled).
struct TPromptRecord {
    TPromptKind Kind = TPromptKind::Message;
    QString Text;
    QString Caption;
    TPromptIcon Icon = TPromptIcon::Information;
    TPromptButtons Buttons = TPromptButtons::Ok;
    TPromptAnswer Answer = TPromptAnswer::Ok;
    QString Filter;
    QString DefaultSuffix;
    QString FileName;
};

// Options of the save dialog.
struct TSaveFileOptions {
    QString Title;          // empty: the platform's default title
    QString FileName;       // preset file name (without or with a path)
    QString Filter;         // "Проекты|*.fsp" form
    QString DefaultSuffix;  // appended when the typed name has no extension ("fsp")
    bool ConfirmOverwrite = true;
};

// The interface the windows use. All calls are modal and run on the user-interface thread.
class IPrompts {
public:
    virtual ~IPrompts() = default;

    // A message box with one OK button.
    virtual void Message(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon) = 0;
    // A message box with a choice of buttons; returns the pressed button.
    virtual TPromptAnswer Question(QWidget* parent, const QString& text, const QString& caption,
                                   TPromptIcon icon, TPromptButtons buttons) = 0;
    // The open-file dialog; returns the chosen full path, or an empty string when cancelled.
    // `title` empty means the platform's default title.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The save-file dialog; returns the chosen full path, or an empty string when cancelled.
    virtual QString SaveFileName(QWidget* parent, const TSaveFileOptions& options) = 0;
    // The system's default beep.
    virtual void Beep() = 0;
    // Opens an address or a document with the desktop's default program ("Open" verb).
    // Returns false when nothing could be started.
    virtual bool OpenUrl(const QUrl& url) = 0;

    // Shorthands for Message.
    void Information(QWidget* parent, const QString& text, const QString& caption)
    {
        Message(parent, text, caption, TPromptIcon::Information);
    }
    void Warning(QWidget* parent, const QString& text, const QString& caption)
    {
        Message(parent, text, caption, TPromptIcon::Warning);
    }
    void Error(QWidget* parent, const QString& text, const QString& caption)
    {
        Message(parent, text, caption, TPromptIcon::Error);
    }
};

// The service in use: the Qt implementation unless a test has installed another one.
IPrompts& Prompts();

// Installs `prompts` as the service (not owned; nullptr restores the Qt implementation)
// and returns the one that was installed before (nullptr for the Qt implementation).
IPrompts* SetPrompts(IPrompts* prompts);

// Turns the "Описание|*.a;*.b|Описание 2|*.c" filter form into Qt's
// "Описание (*.a *.b);;Описание 2 (*.c)" form.
QString QtFileFilter(const QString& filter);

// The production service: Qt message boxes and file dialogs, QApplication::beep and
// QDesktopServices::openUrl.
class TQtPrompts : public IPrompts {
public:
    void Message(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon) override;
    TPromptAnswer Question(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon,
                           TPromptButtons buttons) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const TSaveFileOptions& options) override;
    void Beep() override;
    bool OpenUrl(const QUrl& url) override;
};

// A scripted service for tests. Questions take their answers and file dialogs their file
// names from queues, in order; every interaction is recorded. A question asked with an
// empty answer queue answers Cancel (No without a Cancel button) and a file dialog with an
// empty queue is cancelled; both count in Unanswered(), so a test notices an unexpected
// prompt. Installs itself on construction and restores the previous service on
// destruction.
class TScriptedPrompts : public IPrompts {
public:
    TScriptedPrompts();
    ~TScriptedPrompts() override;
    TScriptedPrompts(const TScriptedPrompts&) = delete;
    TScriptedPrompts& operator=(const TScriptedPrompts&) = delete;

    // Queues the answer of the next question.
    void Answer(TPromptAnswer answer) { FAnswers.append(answer); }
    // Queues the result of the next file dialog (empty: the user cancels it).
    void File(const QString& fileName) { FFiles.append(fileName); }
    // Runs `action` while the next modal dialog window (a QDialog the program shows with
    // exec(), not a prompt) is open; the action receives the dialog and usually accepts or
    // rejects it. Actions are used in order.
    void Dialog(std::function<void(QWidget*)> action);

    const QList<TPromptRecord>& Records() const { return FRecords; }
    // Only the message boxes and questions, in order.
    QList<TPromptRecord> Messages() const;
    int Beeps() const { return FBeeps; }
    int Unanswered() const { return FUnanswered; }
    int PendingAnswers() const { return FAnswers.size() + FFiles.size(); }
    void Clear();

    void Message(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon) override;
    TPromptAnswer Question(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon,
                           TPromptButtons buttons) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const TSaveFileOptions& options) override;
    void Beep() override;
    bool OpenUrl(const QUrl& url) override;

private:
    QList<TPromptAnswer> FAnswers;
    QStringList FFiles;
    QList<TPromptRecord> FRecords;
    int FBeeps = 0;
    int FUnanswered = 0;
    IPrompts* FPrevious = nullptr;
    class TDialogWatcher* FWatcher = nullptr;
};

// Runs `action` and reports any exception it lets escape the way the program's default
// error report does: an error box with the exception's message and the caption "Тесворн".
// Used around the command handlers of the windows, so that an error from a lower layer
// stops the command without leaving the event loop.
void RunGuarded(QWidget* parent, const std::function<void()>& action);
