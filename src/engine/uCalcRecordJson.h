// The zone calculation record and the fire-load record as JSON: one object whose keys are
// the record's field names. tesvorn-cli reads and prints records in this form, the results
// of a run are handed on to the reports in it, and a results file beside a project can be
// written with it. Readers answer false with a message naming the field; nothing here
// throws or shows anything.
#pragma once

#include "uCalcRecord.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <functional>

// The keys of the ten fire-load properties, in the order of TFireLoadProperty
// (uFireLoadMix.h): "P1LowestHeat" … "PFlammableLoad", "CCC".
const QStringList& FireLoadPropertyKeys();
// The property of `load` at that position of FireLoadPropertyKeys (0 … 9).
long double& FireLoadProperty(TFireLoad& load, int property);
long double FireLoadProperty(const TFireLoad& load, int property);

// A real read from JSON: a number, converted through its shortest decimal text
// (RealFromShortestDecimal), so 4.8 is 4.8 as typed. False with *error naming `key` for
// anything else; *value is then unchanged.
bool RealFromJsonValue(const QJsonValue& value, const QString& key, long double* result, QString* error);

// A real as a JSON number (the double nearest to it). False with *error naming `key` for
// an infinite or undefined value, which JSON cannot carry.
bool RealToJsonValue(long double value, const QString& key, QJsonValue* result, QString* error);

// One fire load as {"Id", "ListId", "Name", the ten properties}.
bool FireLoadToJson(const TFireLoad& load, QJsonObject* result, QString* error);

// Reads one fire load. The ten properties are required; "Name" may be left out (empty).
// With `withIds`, "Id" and "ListId" are read as whole numbers when present (else −1 and 0);
// without, they are unknown keys. Any other key, a missing property or a value of the
// wrong type answers false with *error naming `where`.key; *load is then unchanged.
bool FireLoadFromJson(
    const QJsonValue& value, const QString& where, bool withIds, TFireLoad* load, QString* error);

// The keys of the record in output order: param1 … param18, value1 … value7, value1s …
// value10s with value4s0, value8 … value16, VOPResult, TimeResult, method, BOSClass,
// tbl_time, tbl_stop, CalculatedVOP, CalculatedNSP, CalculatedFL, DebugMode, ManualL, the
// texts FLNames, value13calc, param06calc, param07calc, param08calc, BOSClassText, and
// the list FireLoads. "tbl" (an array of rows of numbers) is read when present and
// written only when the table is not empty.
QStringList RecordJsonKeys();

// Builds a record from a JSON object; an absent key keeps the zero-filled value. Reals
// must be numbers (read as RealFromJsonValue), method, BOSClass, tbl_time and tbl_stop
// whole numbers, the flags true or false, the texts strings, FireLoads an array of fire
// loads with ids (FireLoadFromJson). A value of the wrong type or a key that is not a
// field of the record (a misspelt key must not pass as zero) answers false with *error
// naming it; *cp is then unchanged.
bool RecordFromJson(const QJsonObject& object, TCalcParamsOrvann* cp, QString* error);

// The record as JSON with every key of RecordJsonKeys (plus "tbl" when not empty). Reals
// are written as doubles; an infinite or undefined value answers false with *error naming
// the field, so it never reaches a file.
bool RecordToJson(const TCalcParamsOrvann& cp, QJsonObject* result, QString* error);

// Visits every real of the record in one fixed order: the reals among RecordJsonKeys in
// that order, then the ten properties of each fire load in list order, then the cells of
// tbl row by row. The JSON form carries doubles; a writer that must keep the record's
// 80-bit values exactly stores them beside it in this order.
void ForEachRecordReal(TCalcParamsOrvann& cp, const std::function<void(long double&)>& visit);
