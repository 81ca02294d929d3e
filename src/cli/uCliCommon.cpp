// Shared pieces of tesvorn-cli: see uCliCommon.h.
#include "uCliCommon.h"

#include "uCalcRecordJson.h"

#include <QFile>
#include <QJsonArray>
#include <cmath>
#include <cstdio>
#include <map>

std::map<QString, std::pair<QString, TCliVerb>>& CliVerbs()
{
    static std::map<QString, std::pair<QString, TCliVerb>> verbs;
    return verbs;
}

TCliVerbRegistration::TCliVerbRegistration(const char* words, const char* usage, TCliVerb verb)
{
    CliVerbs()[QString::fromUtf8(words)] = { QString::fromUtf8(usage), std::move(verb) };
}

QJsonDocument ReadStdinJson()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw ECliError(QStringLiteral("cannot read standard input"));
    const QByteArray data = in.readAll();
    QJsonParseError err {};
    QJsonDocument doc = QJsonDocument::fromJson(data, &err);
    if (err.error != QJsonParseError::NoError)
        throw ECliError(QStringLiteral("input is not valid JSON: %1 at offset %2").arg(err.errorString()).arg(err.offset));
    return doc;
}

QJsonObject ReadStdinObject()
{
    const QJsonDocument doc = ReadStdinJson();
    if (!doc.isObject())
        throw ECliError(QStringLiteral("input must be one JSON object"));
    return doc.object();
}

static void WriteOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void PrintJson(const QJsonObject& object)
{
    WriteOut(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

void PrintJson(const QJsonArray& array)
{
    WriteOut(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QJsonValue JsonReal(long double value)
{
    const double d = static_cast<double>(value);
    if (!std::isfinite(d))
        throw ECliError(QStringLiteral("calculation produced a non-finite number"), 1);
    return QJsonValue(d);
}

long double RealFromJson(const QJsonValue& value, const QString& key)
{
    long double result = 0;
    QString error;
    if (!RealFromJsonValue(value, key, &result, &error))
        throw ECliError(error);
    return result;
}

int RealToIntFromJson(const QJsonValue& value, const QString& key)
{
    if (!value.isDouble())
        throw ECliError(QStringLiteral("field \"%1\" must be a whole number").arg(key));
    const double d = value.toDouble();
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
        throw ECliError(QStringLiteral("field \"%1\" must be a whole number").arg(key));
    return static_cast<int>(d);
}

bool BoolFromJson(const QJsonValue& value, const QString& key)
{
    if (!value.isBool())
        throw ECliError(QStringLiteral("field \"%1\" must be true or false").arg(key));
    return value.toBool();
}

QString StringFromJson(const QJsonValue& value, const QString& key)
{
    if (!value.isString())
        throw ECliError(QStringLiteral("field \"%1\" must be a string").arg(key));
    return value.toString();
}
