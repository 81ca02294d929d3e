// Runs the built tesvorn-cli as a separate process, the way a user or a script runs it:
// arguments, standard input, the locale of the environment, and what comes back.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

struct TCliRun {
    int Exit = -1; // -1 when the process crashed or did not finish
    QByteArray Out, Err;

    QJsonObject Json() const { return QJsonDocument::fromJson(Out).object(); }
    QJsonArray JsonArray() const { return QJsonDocument::fromJson(Out).array(); }
    // The last non-empty line of stderr: the tool's own message.
    QString Message() const
    {
        const QStringList lines = QString::fromUtf8(Err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last().trimmed();
    }
};

inline TCliRun RunCli(const QStringList& args, const QByteArray& input = {}, const char* locale = "ru_RU.UTF-8")
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", locale);
    env.insert("LANG", locale);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TESVORN_CLI_PATH), args);
    TCliRun r;
    if (!p.waitForStarted(60000)) {
        ADD_FAILURE() << "tesvorn-cli did not start";
        return r;
    }
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << "tesvorn-cli did not finish";
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}
