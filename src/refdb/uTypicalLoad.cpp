// Reading typical fire loads for the calculation dialog. A property that the database
// gives as empty or unreadable text falls back to the reference default, so a row that
// was only just added (name only) still gives a complete fire load.
#include "uTypicalLoad.h"

#include "uRefDbStatements.h"

#include <uNumberText.h>

#include <cmath>

namespace {
constexpr long double DefP1 = 13000;
constexpr long double DefP2 = 0.0108L;
constexpr long double DefP3 = 0.0145L;
constexpr long double DefP4 = 270;
constexpr long double DefP5 = -1.03L;
constexpr long double DefCO2 = 0.203L;
constexpr long double DefCO = 0.0022L;
constexpr long double DefHCl = 0.014L;
constexpr long double DefFireLoad = 100;
constexpr long double DefCCC = 0.97L;
}

void ResetFireLoadToDefaults(TFireLoad& load)
{
    load.P1LowestHeat = DefP1;
    load.P2LinearFlameSpeed = DefP2;
    load.P3BurnoutSpeed = DefP3;
    load.P4SmokeFormingAbility = DefP4;
    load.P5OxygenConsumption = DefP5;
    load.P6AllocationCO2 = DefCO2;
    load.P6AllocationCO = DefCO;
    load.P6AllocationHCl = DefHCl;
    load.PFlammableLoad = DefFireLoad;
    load.CCC = DefCCC;
}

// A file written under other regional settings holds "0.2" where ours would hold "0,2";
// replacing such a value by the default would silently change a designer's result, so
// either separator is accepted.
// A text such as "1E5000" overflows to infinity, which no calculation can use.
long double ParseStoredNumber(const QString& text, long double fallback)
{
    long double v = 0;
    return TryParseNumberAnySeparator(text, &v) && std::isfinite(v) ? v : fallback;
}

QStringList ListTypicalLoadNames(TSQLiteDatabase& db)
{
    TSQLiteTable t = RefListRows(db, TRefTable::InitialParams);
    QStringList names;
    for (; !t.Eof(); t.Next())
        names << t.FieldAsStringByName(QStringLiteral("name"));
    return names;
}

void ReadTypicalLoadRow(const TSQLiteTable& t, TFireLoad& load)
{
    TFireLoad r = load;
    bool ok = false;
    const qlonglong id = t.FieldAsStringByName(QStringLiteral("Id")).toLongLong(&ok);
    r.Id = ok && id >= INT32_MIN && id <= INT32_MAX ? static_cast<int32_t>(id) : -1;
    r.Name = t.FieldAsStringByName(QStringLiteral("name"));
    auto num = [&](const char* column, long double fallback) {
        return ParseStoredNumber(t.FieldAsStringByName(QString::fromLatin1(column)), fallback);
    };
    r.P1LowestHeat = num("P1", DefP1);
    r.P2LinearFlameSpeed = num("P2", DefP2);
    r.P3BurnoutSpeed = num("P3", DefP3);
    r.P4SmokeFormingAbility = num("P4", DefP4);
    r.P5OxygenConsumption = num("P5", DefP5);
    r.P6AllocationCO2 = num("P6CO2", DefCO2);
    r.P6AllocationCO = num("P6CO", DefCO);
    r.P6AllocationHCl = num("P6HCl", DefHCl);
    r.PFlammableLoad = num("PFlammableLoad", DefFireLoad);
    r.CCC = num("CCC", DefCCC);
    // Assigned only once every column was read, so a missing column leaves `load` as it was.
    load = r;
}

bool LoadTypicalLoad(TSQLiteDatabase& db, const QString& name, TFireLoad& load)
{
    const TSQLiteTable t = RefSelectInitialParamsByName(db, name);
    if (t.Count() != 1)
        return false;
    ReadTypicalLoadRow(t, load);
    return true;
}

std::vector<TFireLoad> ReadAllTypicalLoads(TSQLiteDatabase& db)
{
    TSQLiteTable t = RefListRows(db, TRefTable::InitialParams);
    std::vector<TFireLoad> loads;
    for (; !t.Eof(); t.Next()) {
        TFireLoad load;
        ReadTypicalLoadRow(t, load);
        loads.push_back(load);
    }
    return loads;
}
