// The zone calculation record as JSON, for the calc verbs of tesvorn-cli: one object whose
// keys are the record's field names.
#pragma once

#include "uCalcRecord.h"

#include <QJsonObject>
#include <QStringList>

// The keys read and written, in output order: param1 … param18, value1 … value7,
// value1s … value10s with value4s0, value8 … value16, VOPResult, TimeResult, method,
// BOSClass, tbl_time, tbl_stop, CalculatedVOP, CalculatedNSP, CalculatedFL, DebugMode,
// ManualL. "tbl" (an array of rows, each an array of numbers) is read when present and
// written only when the table is not empty.
QStringList RecordJsonKeys();

// Builds a record from a JSON object. An absent key keeps the zero-filled value. Reals
// must be JSON numbers; method, BOSClass, tbl_time and tbl_stop whole numbers; the flags
// true or false. Throws ECliError (exit 2) naming the field for a value of the wrong type
// and for a key that is not a field of the record (a misspelt key must not pass as zero).
TCalcParamsOrvann RecordFromJson(const QJsonObject& object);

// The record as JSON with every key of RecordJsonKeys (plus "tbl" when not empty). Reals
// are written as doubles that read back to the same double; an infinite or undefined
// value throws ECliError (exit 1), so it never reaches the output.
QJsonObject RecordToJson(const TCalcParamsOrvann& cp);
