// tesvorn-cli reference-database verbs.
//
//   tesvorn-cli db init FILE   creates (or completes) a reference database at FILE exactly as
//                              the program's start-up does, with the shipped typical loads
//                              when the file is new; prints {"created", "tables"} where
//                              "tables" lists the tables created now, in creation order.
//   tesvorn-cli db loads FILE  prints the typical loads as the calculation dialog reads
//                              them: [{"Id", "Name", the ten properties}, ...].
//
// A database that cannot be opened or completed exits 1 with its message; bad usage or a
// missing file for "loads" exits 2.
#include "uCliCommon.h"

#include "uRefDbStartup.h"
#include "uTypicalLoad.h"

#include <QFileInfo>

namespace {

// The database messages break their lines with carriage returns; the CLI reports one line.
QString OneLine(QString message)
{
    return message.replace(QLatin1Char('\r'), QLatin1Char(' '));
}

QString OneFileArgument(const QStringList& args, const char* verb)
{
    if (args.size() != 1 || args[0].isEmpty())
        throw ECliError(QStringLiteral("usage: tesvorn-cli db %1 FILE").arg(QLatin1String(verb)));
    return args[0];
}

int InitVerb(const QStringList& args)
{
    const QString file = OneFileArgument(args, "init");
    const TRefDbStartup r = StartReferenceDatabase(file);
    if (!r.Database)
        throw ECliError(OneLine(r.OpenError), 1);
    if (r.InitFailed)
        throw ECliError(RefDbInitErrorText + QStringLiteral(": ") + OneLine(r.InitErrorDetail), 1);
    QJsonObject out;
    out[QStringLiteral("created")] = r.FileCreated;
    out[QStringLiteral("tables")] = QJsonArray::fromStringList(r.CreatedTables);
    PrintJson(out);
    return 0;
}

int LoadsVerb(const QStringList& args)
{
    const QString file = OneFileArgument(args, "loads");
    // Opening would create an empty file; a reader has no business doing that.
    if (!QFileInfo(file).isFile())
        throw ECliError(QStringLiteral("no such database file: ") + file);
    QJsonArray out;
    try {
        TSQLiteDatabase db(file);
        for (const TFireLoad& load : ReadAllTypicalLoads(db)) {
            QJsonObject o;
            o[QStringLiteral("Id")] = load.Id;
            o[QStringLiteral("Name")] = load.Name;
            o[QStringLiteral("P1LowestHeat")] = JsonReal(load.P1LowestHeat);
            o[QStringLiteral("P2LinearFlameSpeed")] = JsonReal(load.P2LinearFlameSpeed);
            o[QStringLiteral("P3BurnoutSpeed")] = JsonReal(load.P3BurnoutSpeed);
            o[QStringLiteral("P4SmokeFormingAbility")] = JsonReal(load.P4SmokeFormingAbility);
            o[QStringLiteral("P5OxygenConsumption")] = JsonReal(load.P5OxygenConsumption);
            o[QStringLiteral("P6AllocationCO2")] = JsonReal(load.P6AllocationCO2);
            o[QStringLiteral("P6AllocationCO")] = JsonReal(load.P6AllocationCO);
            o[QStringLiteral("P6AllocationHCl")] = JsonReal(load.P6AllocationHCl);
            o[QStringLiteral("PFlammableLoad")] = JsonReal(load.PFlammableLoad);
            o[QStringLiteral("CCC")] = JsonReal(load.CCC);
            out.append(o);
        }
    } catch (const ESQLiteException& e) {
        throw ECliError(OneLine(e.Message()), 1);
    }
    PrintJson(out);
    return 0;
}

TCliVerbRegistration initReg("db init", "FILE", InitVerb);
TCliVerbRegistration loadsReg("db loads", "FILE", LoadsVerb);

} // namespace
