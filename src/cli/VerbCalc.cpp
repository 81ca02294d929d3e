// tesvorn-cli calculation verbs: a zone calculation record in, the same record after the
// calculation out.
//
//   tesvorn-cli calc height-tables  < record.json   standard detection time: the upper
//                                                    height table when param1 ≥ 9, else the
//                                                    lower one; outcome in value10s
//   tesvorn-cli calc ceiling-jet    < record.json   quick-recalculation model; value6s
//   tesvorn-cli calc optimised      < record.json   growing fire with the 500-step table;
//                                                    TimeResult, tbl
//   tesvorn-cli calc initial-stage  < record.json   value11 read in minutes, written back in
//                                                    seconds with value12 and the flags
//
// record.json is one JSON object whose keys are field names of the record (see
// uRecordJson.h); an absent key is the zero-filled value. The output is the whole record,
// every key, as one JSON object. Exit 0 on success (outcome codes such as value10s = −1
// are results). Exit 2 with one line on stderr for extra arguments, input that is not a
// JSON object, a field of the wrong type, an unknown key, and an initial stage that cannot
// be computed for the mix (the line is the program's own refusal text).
#include "uCliCommon.h"
#include "uRecordJson.h"

#include "uCeilingJet.h"
#include "uHeightTables.h"
#include "uInitialStage.h"
#include "uOptimised.h"

namespace {

TCalcParamsOrvann ReadRecord(const QStringList& args, const char* verb)
{
    if (!args.isEmpty())
        throw ECliError(QStringLiteral("usage: tesvorn-cli calc %1 < record.json").arg(QLatin1String(verb)));
    return RecordFromJson(ReadStdinObject());
}

int Print(const TCalcParamsOrvann& cp)
{
    PrintJson(RecordToJson(cp));
    return 0;
}

int HeightTablesVerb(const QStringList& args)
{
    TCalcParamsOrvann cp = ReadRecord(args, "height-tables");
    CalcHeightTables(cp);
    return Print(cp);
}

int CeilingJetVerb(const QStringList& args)
{
    TCalcParamsOrvann cp = ReadRecord(args, "ceiling-jet");
    CalcCPSimple(cp);
    return Print(cp);
}

int OptimisedVerb(const QStringList& args)
{
    TCalcParamsOrvann cp = ReadRecord(args, "optimised");
    CalcCP(cp);
    return Print(cp);
}

int InitialStageVerb(const QStringList& args)
{
    TCalcParamsOrvann cp = ReadRecord(args, "initial-stage");
    const TInitialStageStatus status = CalcInitialStageDuration(cp);
    if (status != TInitialStageStatus::Ok)
        throw ECliError(InitialStageResultText(cp, status));
    return Print(cp);
}

TCliVerbRegistration regHeight("calc height-tables", "< record.json", HeightTablesVerb);
TCliVerbRegistration regJet("calc ceiling-jet", "< record.json", CeilingJetVerb);
TCliVerbRegistration regOptimised("calc optimised", "< record.json", OptimisedVerb);
TCliVerbRegistration regStage("calc initial-stage", "< record.json", InitialStageVerb);

} // namespace
