// The calculation record as JSON: see uCalcRecordJson.h.
#include "uCalcRecordJson.h"

#include "uNumberText.h"

#include <QJsonArray>
#include <cmath>
#include <vector>

namespace {

enum class TKind { Real, Int, Bool, Text };

struct TField {
    const char* name;
    TKind kind;
    long double TCalcParamsOrvann::*real = nullptr;
    int32_t TCalcParamsOrvann::*integer = nullptr;
    bool TCalcParamsOrvann::*flag = nullptr;
    QString TCalcParamsOrvann::*text = nullptr;
};

TField Real(const char* name, long double TCalcParamsOrvann::*p) { return { name, TKind::Real, p }; }
TField Int(const char* name, int32_t TCalcParamsOrvann::*p) { return { name, TKind::Int, nullptr, p }; }
TField Flag(const char* name, bool TCalcParamsOrvann::*p)
{
    return { name, TKind::Bool, nullptr, nullptr, p };
}
TField Text(const char* name, QString TCalcParamsOrvann::*p)
{
    return { name, TKind::Text, nullptr, nullptr, nullptr, p };
}

const std::vector<TField>& Fields()
{
    using R = TCalcParamsOrvann;
    static const std::vector<TField> fields = {
        Real("param1", &R::param1),
        Real("param2", &R::param2),
        Real("param3", &R::param3),
        Real("param4", &R::param4),
        Real("param5", &R::param5),
        Real("param6", &R::param6),
        Real("param7", &R::param7),
        Real("param8", &R::param8),
        Real("param9", &R::param9),
        Real("param10", &R::param10),
        Real("param11", &R::param11),
        Real("param12", &R::param12),
        Real("param13", &R::param13),
        Real("param14", &R::param14),
        Real("param15", &R::param15),
        Real("param16", &R::param16),
        Real("param17", &R::param17),
        Real("param18", &R::param18),
        Real("value1", &R::value1),
        Real("value2", &R::value2),
        Real("value3", &R::value3),
        Real("value4", &R::value4),
        Real("value5", &R::value5),
        Real("value6", &R::value6),
        Real("value7", &R::value7),
        Real("value1s", &R::value1s),
        Real("value2s", &R::value2s),
        Real("value3s", &R::value3s),
        Real("value4s", &R::value4s),
        Real("value4s0", &R::value4s0),
        Real("value5s", &R::value5s),
        Real("value6s", &R::value6s),
        Real("value7s", &R::value7s),
        Real("value8s", &R::value8s),
        Real("value9s", &R::value9s),
        Real("value10s", &R::value10s),
        Real("value8", &R::value8),
        Real("value9", &R::value9),
        Real("value10", &R::value10),
        Real("value11", &R::value11),
        Real("value12", &R::value12),
        Real("value13", &R::value13),
        Real("value14", &R::value14),
        Real("value15", &R::value15),
        Real("value16", &R::value16),
        Real("VOPResult", &R::VOPResult),
        Real("TimeResult", &R::TimeResult),
        Int("method", &R::method),
        Int("BOSClass", &R::BOSClass),
        Int("tbl_time", &R::tbl_time),
        Int("tbl_stop", &R::tbl_stop),
        Flag("CalculatedVOP", &R::CalculatedVOP),
        Flag("CalculatedNSP", &R::CalculatedNSP),
        Flag("CalculatedFL", &R::CalculatedFL),
        Flag("DebugMode", &R::DebugMode),
        Flag("ManualL", &R::ManualL),
        Text("FLNames", &R::FLNames),
        Text("value13calc", &R::value13calc),
        Text("param06calc", &R::param06calc),
        Text("param07calc", &R::param07calc),
        Text("param08calc", &R::param08calc),
        Text("BOSClassText", &R::BOSClassText),
    };
    return fields;
}

const QString TableKey = QStringLiteral("tbl");
const QString FireLoadsKey = QStringLiteral("FireLoads");
const QString IdKey = QStringLiteral("Id");
const QString ListIdKey = QStringLiteral("ListId");
const QString NameKey = QStringLiteral("Name");

bool Fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool IntFromJsonValue(const QJsonValue& value, const QString& key, int32_t* result, QString* error)
{
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
        return Fail(error, QStringLiteral("field \"%1\" must be a whole number").arg(key));
    *result = static_cast<int32_t>(d);
    return true;
}

bool TableFromJson(const QJsonValue& value, TParamArray* table, QString* error)
{
    if (!value.isArray())
        return Fail(error, QStringLiteral("field \"tbl\" must be an array of rows"));
    TParamArray rows;
    for (const QJsonValue& row : value.toArray()) {
        if (!row.isArray())
            return Fail(error, QStringLiteral("field \"tbl\" must be an array of rows of numbers"));
        TEArray cells;
        for (const QJsonValue& cell : row.toArray()) {
            long double v = 0;
            if (!RealFromJsonValue(cell, TableKey, &v, error))
                return false;
            cells.push_back(v);
        }
        rows.push_back(std::move(cells));
    }
    *table = std::move(rows);
    return true;
}

bool FireLoadsFromJson(const QJsonValue& value, std::vector<TFireLoad>* loads, QString* error)
{
    if (!value.isArray())
        return Fail(error, QStringLiteral("field \"FireLoads\" must be an array of fire loads"));
    std::vector<TFireLoad> list;
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        TFireLoad load;
        if (!FireLoadFromJson(array[i], QStringLiteral("FireLoads[%1]").arg(i), true, &load, error))
            return false;
        list.push_back(std::move(load));
    }
    *loads = std::move(list);
    return true;
}

} // namespace

const QStringList& FireLoadPropertyKeys()
{
    static const QStringList keys = {
        QStringLiteral("P1LowestHeat"),
        QStringLiteral("P2LinearFlameSpeed"),
        QStringLiteral("P3BurnoutSpeed"),
        QStringLiteral("P4SmokeFormingAbility"),
        QStringLiteral("P5OxygenConsumption"),
        QStringLiteral("P6AllocationCO2"),
        QStringLiteral("P6AllocationCO"),
        QStringLiteral("P6AllocationHCl"),
        QStringLiteral("PFlammableLoad"),
        QStringLiteral("CCC"),
    };
    return keys;
}

long double& FireLoadProperty(TFireLoad& load, int property)
{
    long double* fields[] = {
        &load.P1LowestHeat,
        &load.P2LinearFlameSpeed,
        &load.P3BurnoutSpeed,
        &load.P4SmokeFormingAbility,
        &load.P5OxygenConsumption,
        &load.P6AllocationCO2,
        &load.P6AllocationCO,
        &load.P6AllocationHCl,
        &load.PFlammableLoad,
        &load.CCC,
    };
    return *fields[property];
}

long double FireLoadProperty(const TFireLoad& load, int property)
{
    return FireLoadProperty(const_cast<TFireLoad&>(load), property);
}

bool RealFromJsonValue(const QJsonValue& value, const QString& key, long double* result, QString* error)
{
    if (!value.isDouble())
        return Fail(error, QStringLiteral("field \"%1\" must be a number").arg(key));
    *result = RealFromShortestDecimal(value.toDouble());
    return true;
}

bool RealToJsonValue(long double value, const QString& key, QJsonValue* result, QString* error)
{
    const double d = static_cast<double>(value);
    if (!std::isfinite(d))
        return Fail(error, QStringLiteral("field \"%1\" is not a finite number").arg(key));
    *result = QJsonValue(d);
    return true;
}

bool FireLoadToJson(const TFireLoad& load, QJsonObject* result, QString* error)
{
    QJsonObject o;
    o[IdKey] = load.Id;
    o[ListIdKey] = load.ListId;
    o[NameKey] = load.Name;
    const QStringList& keys = FireLoadPropertyKeys();
    for (int p = 0; p < keys.size(); ++p) {
        QJsonValue v;
        if (!RealToJsonValue(FireLoadProperty(load, p), keys[p], &v, error))
            return false;
        o[keys[p]] = v;
    }
    *result = o;
    return true;
}

bool FireLoadFromJson(
    const QJsonValue& value, const QString& where, bool withIds, TFireLoad* load, QString* error)
{
    if (!value.isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = value.toObject();
    const QStringList& keys = FireLoadPropertyKeys();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString& key = it.key();
        const bool known
            = key == NameKey || keys.contains(key) || (withIds && (key == IdKey || key == ListIdKey));
        if (!known)
            return Fail(error, QStringLiteral("unknown key \"%1\" in %2").arg(key, where));
    }
    TFireLoad f;
    f.Id = -1;
    if (withIds) {
        if (o.contains(IdKey) && !IntFromJsonValue(o[IdKey], where + QStringLiteral(".Id"), &f.Id, error))
            return false;
        if (o.contains(ListIdKey)
            && !IntFromJsonValue(o[ListIdKey], where + QStringLiteral(".ListId"), &f.ListId, error))
            return false;
    }
    if (o.contains(NameKey)) {
        if (!o[NameKey].isString())
            return Fail(error, QStringLiteral("field \"%1.Name\" must be a string").arg(where));
        f.Name = o[NameKey].toString();
    }
    for (int p = 0; p < keys.size(); ++p) {
        const QString field = where + QLatin1Char('.') + keys[p];
        if (!o.contains(keys[p]))
            return Fail(error, QStringLiteral("field \"%1\" is missing").arg(field));
        if (!RealFromJsonValue(o[keys[p]], field, &FireLoadProperty(f, p), error))
            return false;
    }
    *load = std::move(f);
    return true;
}

QStringList RecordJsonKeys()
{
    QStringList keys;
    for (const TField& f : Fields())
        keys << QString::fromLatin1(f.name);
    keys << FireLoadsKey;
    return keys;
}

bool RecordFromJson(const QJsonObject& object, TCalcParamsOrvann* result, QString* error)
{
    TCalcParamsOrvann cp;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        if (key == TableKey) {
            if (!TableFromJson(value, &cp.tbl, error))
                return false;
            continue;
        }
        if (key == FireLoadsKey) {
            if (!FireLoadsFromJson(value, &cp.FireLoads, error))
                return false;
            continue;
        }
        const TField* field = nullptr;
        for (const TField& f : Fields())
            if (key == QLatin1String(f.name))
                field = &f;
        if (!field)
            return Fail(error, QStringLiteral("unknown field \"%1\"").arg(key));
        switch (field->kind) {
        case TKind::Real:
            if (!RealFromJsonValue(value, key, &(cp.*(field->real)), error))
                return false;
            break;
        case TKind::Int:
            if (!IntFromJsonValue(value, key, &(cp.*(field->integer)), error))
                return false;
            break;
        case TKind::Bool:
            if (!value.isBool())
                return Fail(error, QStringLiteral("field \"%1\" must be true or false").arg(key));
            cp.*(field->flag) = value.toBool();
            break;
        case TKind::Text:
            if (!value.isString())
                return Fail(error, QStringLiteral("field \"%1\" must be a string").arg(key));
            cp.*(field->text) = value.toString();
            break;
        }
    }
    *result = std::move(cp);
    return true;
}

bool RecordToJson(const TCalcParamsOrvann& cp, QJsonObject* result, QString* error)
{
    QJsonObject out;
    for (const TField& f : Fields()) {
        const QString key = QString::fromLatin1(f.name);
        switch (f.kind) {
        case TKind::Real: {
            QJsonValue v;
            if (!RealToJsonValue(cp.*(f.real), key, &v, error))
                return false;
            out[key] = v;
            break;
        }
        case TKind::Int:
            out[key] = cp.*(f.integer);
            break;
        case TKind::Bool:
            out[key] = cp.*(f.flag);
            break;
        case TKind::Text:
            out[key] = cp.*(f.text);
            break;
        }
    }
    QJsonArray loads;
    for (const TFireLoad& load : cp.FireLoads) {
        QJsonObject o;
        if (!FireLoadToJson(load, &o, error))
            return false;
        loads.append(o);
    }
    out[FireLoadsKey] = loads;
    if (!cp.tbl.empty()) {
        QJsonArray table;
        for (const TEArray& row : cp.tbl) {
            QJsonArray cells;
            for (long double cell : row) {
                QJsonValue v;
                if (!RealToJsonValue(cell, TableKey, &v, error))
                    return false;
                cells.append(v);
            }
            table.append(cells);
        }
        out[TableKey] = table;
    }
    *result = out;
    return true;
}

void ForEachRecordReal(TCalcParamsOrvann& cp, const std::function<void(long double&)>& visit)
{
    for (const TField& f : Fields())
        if (f.kind == TKind::Real)
            visit(cp.*(f.real));
    for (TFireLoad& load : cp.FireLoads)
        for (int p = 0; p < FireLoadPropertyKeys().size(); ++p)
            visit(FireLoadProperty(load, p));
    for (TEArray& row : cp.tbl)
        for (long double& cell : row)
            visit(cell);
}
