// The zone calculation record as JSON for the verbs: see uRecordJson.h.
#include "uRecordJson.h"

#include "uCliCommon.h"

TCalcParamsOrvann RecordFromJson(const QJsonObject& object)
{
    TCalcParamsOrvann cp;
    QString error;
    if (!RecordFromJson(object, &cp, &error))
        throw ECliError(error);
    return cp;
}

QJsonObject RecordToJson(const TCalcParamsOrvann& cp)
{
    QJsonObject out;
    QString error;
    if (!RecordToJson(cp, &out, &error))
        throw ECliError(QStringLiteral("calculation produced a non-finite number: ") + error, 1);
    return out;
}

QJsonObject FireLoadToJson(const TFireLoad& load)
{
    QJsonObject out;
    QString error;
    if (!FireLoadToJson(load, &out, &error))
        throw ECliError(QStringLiteral("calculation produced a non-finite number: ") + error, 1);
    return out;
}
