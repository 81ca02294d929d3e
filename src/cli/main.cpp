// tesvorn-cli: dispatches to the verb registered under the first one or two words.
#include "uCliCommon.h"

#include <QCoreApplication>
#ifdef TESVORN_CLI_GUI
#include <QGuiApplication>
#endif
#include <QLocale>
#include <cstdio>
#include <map>

std::map<QString, std::pair<QString, TCliVerb>>& CliVerbs();

static int Usage(const QString& message)
{
    QString text = message + QStringLiteral("\nusage:");
    for (const auto& [words, entry] : CliVerbs())
        text += QStringLiteral("\n  tesvorn-cli ") + words + (entry.first.isEmpty() ? QString() : QStringLiteral(" ") + entry.first);
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 2;
}

int main(int argc, char** argv)
{
#ifdef TESVORN_CLI_GUI
    // Drawing a plan needs fonts, which only a GUI application provides; the offscreen
    // platform keeps the tool usable without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return Usage(QStringLiteral("no verb given"));

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
