// tesvorn-cli: dispatches to the verb registered under the first one or two words.
#include "uCliCommon.h"

#include <QCoreApplication>
#ifdef TESVORN_CLI_GUI
#include <QGuiApplication>
#endif
#include <QLocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <map>

std::map<QString, std::pair<QString, TCliVerb>>& CliVerbs();

static QString UsageText()
{
    QString text = QStringLiteral("usage:");
    for (const auto& [words, entry] : CliVerbs())
        text += QStringLiteral("\n  tesvorn-cli ") + words + (entry.first.isEmpty() ? QString() : QStringLiteral(" ") + entry.first);
    return text;
}

static int Usage(const QString& message)
{
    std::fprintf(stderr, "%s\n%s\n", message.toUtf8().constData(), UsageText().toUtf8().constData());
    return 2;
}

// Only drawing a plan or a chart needs fonts, which a GUI application provides; every other
// verb runs on a plain core application so that scripts see nothing on stderr but our own lines.
static bool NeedsGui(int argc, char** argv)
{
    return (argc >= 3 && std::strcmp(argv[1], "project") == 0 && std::strcmp(argv[2], "render") == 0)
        || (argc >= 2 && std::strcmp(argv[1], "chart") == 0);
}

#ifdef TESVORN_CLI_GUI
// The offscreen platform complains when the session has no runtime folder; that says
// nothing to a user of the tool, so it is kept off stderr.
static void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}
#endif

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> application;
#ifdef TESVORN_CLI_GUI
    if (NeedsGui(argc, argv)) {
        // The offscreen platform keeps the tool usable without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietHandler);
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return Usage(QStringLiteral("no verb given"));
    // Asked for, the usage is the answer: on standard output, and a success.
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        std::fprintf(stdout, "%s\n", UsageText().toUtf8().constData());
        return 0;
    }

    auto& verbs = CliVerbs();
    auto found = verbs.end();
    int used = 0;
    if (args.size() >= 2)
        found = verbs.find(args[0] + QLatin1Char(' ') + args[1]), used = 2;
    if (found == verbs.end())
        found = verbs.find(args[0]), used = 1;
    if (found == verbs.end())
        return Usage(QStringLiteral("unknown verb: ") + args.mid(0, 2).join(QLatin1Char(' ')));

    try {
        return found->second.second(args.mid(used));
    } catch (const ECliError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return e.code;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
