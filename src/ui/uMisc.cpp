// The number check with its message and the program's version text.
#include "uMisc.h"

#include "uNumberText.h"
#include "uPrompts.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef TESVORN_VERSION_TEXT
#define TESVORN_VERSION_TEXT ""
#endif

QString CheckNumberMessage(const QString& S, const QString& FieldName)
{
    QString text = QStringLiteral("Введенное значение \"") + S;
    if (!FieldName.isEmpty())
        text += QStringLiteral("\" в поле \"") + FieldName;
    text += QStringLiteral("\" не является числом. Попробуйте повторить операцию с другим значением.");
    text += QStringLiteral("\r\r\n");
    text += QStringLiteral("Примечание: возможно, вы перепутали десятичный разделитель. В вашей системе это символ:  ");
    text += DecimalSeparator();
    return text;
}

bool CheckNumber(const QString& S, bool WithMessage, const QString& FieldName, QWidget* parent)
{
    long double value = 0;
    const bool ok = TryParseNumber(S, &value, DecimalSeparator());
    if (ok || !WithMessage)
        return ok;
    Prompts().Warning(parent, CheckNumberMessage(S, FieldName), QStringLiteral("Ошибка: неверное значение"));
    return false;
}

QString GetFileVersionText(const QString& FileName)
{
    if (FileName.isEmpty() || !QCoreApplication::instance())
        return QString();
    const QFileInfo file(FileName);
    const QFileInfo self(QCoreApplication::applicationFilePath());
    if (!file.exists() || file.canonicalFilePath() != self.canonicalFilePath())
        return QString();
    return QStringLiteral(TESVORN_VERSION_TEXT);
}
