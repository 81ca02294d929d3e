// The zone calculation record as JSON: see uRecordJson.h.
#include "uRecordJson.h"

#include "uCliCommon.h"

#include <QJsonArray>
#include <vector>

namespace {

enum class TKind { Real, Int, Bool };

struct TField {
    const char* name;
    TKind kind;
    long double TCalcParamsOrvann::*real;
    int32_t TCalcParamsOrvann::*integer;
    bool TCalcParamsOrvann::*flag;
};

TField Real(const char* name, long double TCalcParamsOrvann::*p) { return { name, TKind::Real, p, nullptr, nullptr }; }
TField Int(const char* name, int32_t TCalcParamsOrvann::*p) { return { name, TKind::Int, nullptr, p, nullptr }; }
TField Flag(const char* name, bool TCalcParamsOrvann::*p) { return { name, TKind::Bool, nullptr, nullptr, p }; }

const std::vector<TField>& Fields()
{
    using R = TCalcParamsOrvann;
    static const std::vector<TField> fields = {
        Real("param1", &R::param1),   Real("param2", &R::param2),   Real("param3", &R::param3),
        Real("param4", &R::param4),   Real("param5", &R::param5),   Real("param6", &R::param6),
        Real("param7", &R::param7),   Real("param8", &R::param8),   Real("param9", &R::param9),
        Real("param10", &R::param10), Real("param11", &R::param11), Real("param12", &R::param12),
        Real("param13", &R::param13), Real("param14", &R::param14), Real("param15", &R::param15),
        Real("param16", &R::param16), Real("param17", &R::param17), Real("param18", &R::param18),
        Real("value1", &R::value1),   Real("value2", &R::value2),   Real("value3", &R::value3),
        Real("value4", &R::value4),   Real("value5", &R::value5),   Real("value6", &R::value6),
        Real("value7", &R::value7),
        Real("value1s", &R::value1s), Real("value2s", &R::value2s), Real("value3s", &R::value3s),
        Real("value4s", &R::value4s), Real("value4s0", &R::value4s0), Real("value5s", &R::value5s),
        Real("value6s", &R::value6s), Real("value7s", &R::value7s), Real("value8s", &R::value8s),
        Real("value9s", &R::value9s), Real("value10s", &R::value10s),
        Real("value8", &R::value8),   Real("value9", &R::value9),   Real("value10", &R::value10),
        Real("value11", &R::value11), Real("value12", &R::value12), Real("value13", &R::value13),
        Real("value14", &R::value14), Real("value15", &R::value15), Real("value16", &R::value16),
        Real("VOPResult", &R::VOPResult), Real("TimeResult", &R::TimeResult),
        Int("method", &R::method),     Int("BOSClass", &R::BOSClass),
        Int("tbl_time", &R::tbl_time), Int("tbl_stop", &R::tbl_stop),
        Flag("CalculatedVOP", &R::CalculatedVOP), Flag("CalculatedNSP", &R::CalculatedNSP),
        Flag("CalculatedFL", &R::CalculatedFL),   Flag("DebugMode", &R::DebugMode),
        Flag("ManualL", &R::ManualL),
    };
    return fields;
}

const QString TableKey = QStringLiteral("tbl");

TParamArray TableFromJson(const QJsonValue& value)
{
    if (!value.isArray())
        throw ECliError(QStringLiteral("field \"tbl\" must be an array of rows"));
    TParamArray table;
    for (const QJsonValue& row : value.toArray()) {
        if (!row.isArray())
            throw ECliError(QStringLiteral("field \"tbl\" must be an array of rows of numbers"));
        TEArray cells;
        for (const QJsonValue& cell : row.toArray())
            cells.push_back(RealFromJson(cell, TableKey));
        table.push_back(std::move(cells));
    }
    return table;
}

} // namespace

QStringList RecordJsonKeys()
{
    QStringList keys;
    for (const TField& f : Fields())
        keys << QString::fromLatin1(f.name);
    return keys;
}

TCalcParamsOrvann RecordFromJson(const QJsonObject& object)
{
    TCalcParamsOrvann cp;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key();
        if (key == TableKey) {
            cp.tbl = TableFromJson(it.value());
            continue;
        }
        const TField* field = nullptr;
        for (const TField& f : Fields())
            if (key == QLatin1String(f.name))
                field = &f;
        if (!field)
            throw ECliError(QStringLiteral("unknown field \"%1\"").arg(key));
        switch (field->kind) {
        case TKind::Real: cp.*(field->real) = RealFromJson(it.value(), key); break;
        case TKind::Int: cp.*(field->integer) = RealToIntFromJson(it.value(), key); break;
        case TKind::Bool: cp.*(field->flag) = BoolFromJson(it.value(), key); break;
        }
    }
    return cp;
}

QJsonObject RecordToJson(const TCalcParamsOrvann& cp)
{
    QJsonObject out;
    for (const TField& f : Fields()) {
        const QString key = QString::fromLatin1(f.name);
        switch (f.kind) {
        case TKind::Real: out[key] = JsonReal(cp.*(f.real)); break;
        case TKind::Int: out[key] = cp.*(f.integer); break;
        case TKind::Bool: out[key] = cp.*(f.flag); break;
        }
    }
    if (!cp.tbl.empty()) {
        QJsonArray table;
        for (const TEArray& row : cp.tbl) {
            QJsonArray cells;
            for (long double cell : row)
                cells.append(JsonReal(cell));
            table.append(cells);
        }
        out[TableKey] = table;
    }
    return out;
}
