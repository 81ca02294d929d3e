// The Qt and the scripted prompts services, and the guarded command runner.
#include "uPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <exception>

namespace {

IPrompts* GInstalled = nullptr;

TQtPrompts& QtPrompts()
{
    static TQtPrompts prompts;
    return prompts;
}

QMessageBox::Icon ToQtIcon(TPromptIcon icon)
{
    switch (icon) {
    case TPromptIcon::Information:
        return QMessageBox::Information;
    case TPromptIcon::Warning:
        return QMessageBox::Warning;
    case TPromptIcon::Error:
        return QMessageBox::Critical;
    case TPromptIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

IPrompts& Prompts()
{
    return GInstalled ? *GInstalled : QtPrompts();
}

IPrompts* SetPrompts(IPrompts* prompts)
{
    IPrompts* previous = GInstalled;
    GInstalled = prompts;
    return previous;
}

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        // Qt reads the patterns from the last parentheses of an entry: a description that
        // already lists them would otherwise hide them.
        result.append(description + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')'));
    }
    return result.join(QStringLiteral(";;"));
}

// --- Qt implementation --------------------------------------------------------------

void TQtPrompts::Message(QWidget* parent, const QString& text, const QString& caption, TPromptIcon icon)
{
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

TPromptAnswer TQtPrompts::Question(QWidget* parent, const QString& text, const QString& caption,
                                   TPromptIcon icon, TPromptButtons buttons)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case TPromptButtons::Ok:
        set = QMessageBox::Ok;
        break;
    case TPromptButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case TPromptButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case TPromptButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(ToQtIcon(icon), caption, text, set, parent);
    // The first button is the default, as in the message boxes designers are used to.
    box.setDefaultButton(buttons == TPromptButtons::Ok || buttons == TPromptButtons::OkCancel ? QMessageBox::Ok
                                                                                                : QMessageBox::Yes);
    if (set & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (set & QMessageBox::No)
        box.setEscapeButton(QMessageBox::No);
    const int pressed = box.exec();
    switch (pressed) {
    case QMessageBox::Ok:
        return TPromptAnswer::Ok;
    case QMessageBox::Yes:
        return TPromptAnswer::Yes;
    case QMessageBox::No:
        return TPromptAnswer::No;
    default:
        return (set & QMessageBox::Cancel) ? TPromptAnswer::Cancel : TPromptAnswer::No;
    }
}

QString TQtPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), QtFileFilter(filter));
}

QString TQtPrompts::SaveFileName(QWidget* parent, const TSaveFileOptions& options)
{
    QFileDialog dialog(parent, options.Title, QString(), QtFileFilter(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(options.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.ConfirmOverwrite);
    if (!options.FileName.isEmpty())
        dialog.selectFile(options.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    QString fileName = dialog.selectedFiles().constFirst();
    // Some desktop file dialogs leave the default extension to the program.
    if (!options.DefaultSuffix.isEmpty() && QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1Char('.') + options.DefaultSuffix;
    return fileName;
}

void TQtPrompts::Beep()
{
    QApplication::beep();
}

bool TQtPrompts::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

// --- Scripted implementation --------------------------------------------------------

// Watches for modal dialogs being shown and hands each to the next scripted action once
// the dialog's own event loop runs.
class TDialogWatcher : public QObject {
public:
    QList<std::function<void(QWidget*)>> Actions;

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !Actions.isEmpty()) {
            auto* dialog = qobject_cast<QDialog*>(object);
            if (dialog && dialog->isModal() && !qobject_cast<QMessageBox*>(dialog)
                && !qobject_cast<QFileDialog*>(dialog)) {
                auto action = Actions.takeFirst();
                QPointer<QDialog> guard(dialog);
                QTimer::singleShot(0, dialog, [guard, action]() {
                    if (guard)
                        action(guard.data());
                });
            }
        }
        return QObject::eventFilter(object, event);
    }
};

TScriptedPrompts::TScriptedPrompts()
{
    FPrevious = SetPrompts(this);
}

TScriptedPrompts::~TScriptedPrompts()
{
    if (FWatcher && qApp)
        qApp->removeEventFilter(FWatcher);
    delete FWatcher;
    SetPrompts(FPrevious);
}

void TScriptedPrompts::Dialog(std::function<void(QWidget*)> action)
{
    if (!FWatcher) {
        FWatcher = new TDialogWatcher;
        qApp->installEventFilter(FWatcher);
    }
    FWatcher->Actions.append(std::move(action));
}

QList<TPromptRecord> TScriptedPrompts::Messages() const
{
    QList<TPromptRecord> result;
    for (const TPromptRecord& r : FRecords)
        if (r.Kind == TPromptKind::Message)
            result.append(r);
    return result;
}

void TScriptedPrompts::Clear()
{
    FAnswers.clear();
    FFiles.clear();
    FRecords.clear();
    FBeeps = 0;
    FUnanswered = 0;
    if (FWatcher)
        FWatcher->Actions.clear();
}

void TScriptedPrompts::Message(QWidget*, const QString& text, const QString& caption, TPromptIcon icon)
{
    TPromptRecord r;
    r.Kind = TPromptKind::Message;
    r.Text = text;
    r.Caption = caption;
    r.Icon = icon;
    r.Buttons = TPromptButtons::Ok;
    r.Answer = TPromptAnswer::Ok;
    FRecords.append(r);
}

TPromptAnswer TScriptedPrompts::Question(QWidget*, const QString& text, const QString& caption,
                                         TPromptIcon icon, TPromptButtons buttons)
{
    TPromptRecord r;
    r.Kind = TPromptKind::Message;
    r.Text = text;
    r.Caption = caption;
    r.Icon = icon;
    r.Buttons = buttons;
    if (FAnswers.isEmpty()) {
        ++FUnanswered;
        r.Answer = buttons == TPromptButtons::YesNoCancel || buttons == TPromptButtons::OkCancel
            ? TPromptAnswer::Cancel
            : (buttons == TPromptButtons::Ok ? TPromptAnswer::Ok : TPromptAnswer::No);
    } else {
        r.Answer = FAnswers.takeFirst();
    }
    FRecords.append(r);
    return r.Answer;
}

QString TScriptedPrompts::OpenFileName(QWidget*, const QString& title, const QString& filter)
{
    TPromptRecord r;
    r.Kind = TPromptKind::OpenFile;
    r.Caption = title;
    r.Filter = filter;
    if (FFiles.isEmpty())
        ++FUnanswered;
    else
        r.FileName = FFiles.takeFirst();
    r.Answer = r.FileName.isEmpty() ? TPromptAnswer::Cancel : TPromptAnswer::Ok;
    FRecords.append(r);
    return r.FileName;
}

QString TScriptedPrompts::SaveFileName(QWidget*, const TSaveFileOptions& options)
{
    TPromptRecord r;
    r.Kind = TPromptKind::SaveFile;
    r.Caption = options.Title;
    r.Filter = options.Filter;
    r.Text = options.FileName;
    r.DefaultSuffix = options.DefaultSuffix;
    if (FFiles.isEmpty())
        ++FUnanswered;
    else
        r.FileName = FFiles.takeFirst();
    r.Answer = r.FileName.isEmpty() ? TPromptAnswer::Cancel : TPromptAnswer::Ok;
    FRecords.append(r);
    return r.FileName;
}

void TScriptedPrompts::Beep()
{
    ++FBeeps;
    TPromptRecord r;
    r.Kind = TPromptKind::Beep;
    FRecords.append(r);
}

bool TScriptedPrompts::OpenUrl(const QUrl& url)
{
    TPromptRecord r;
    r.Kind = TPromptKind::OpenUrl;
    r.Text = url.toString();
    FRecords.append(r);
    return true;
}

// --- Guarded commands ---------------------------------------------------------------

void RunGuarded(QWidget* parent, const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        QString text = QString::fromUtf8(e.what());
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')))
            text += QLatin1Char('.');
        Prompts().Error(parent, text, QStringLiteral("Тесворн"));
    }
}
