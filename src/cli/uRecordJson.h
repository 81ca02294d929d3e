// The zone calculation record as JSON for the verbs of tesvorn-cli: the engine's form
// (uCalcRecordJson.h) with the tool's failure convention.
#pragma once

#include "uCalcRecord.h"
#include "uCalcRecordJson.h"

#include <QJsonObject>

// Builds a record from a JSON object (engine RecordFromJson): an absent key keeps the
// zero-filled value. Throws ECliError (exit 2) naming the field for a value of the wrong
// type and for a key that is not a field of the record.
TCalcParamsOrvann RecordFromJson(const QJsonObject& object);

// The record as JSON with every key of RecordJsonKeys (plus "tbl" when not empty). An
// infinite or undefined value throws ECliError (exit 1): it means a calculation fault.
QJsonObject RecordToJson(const TCalcParamsOrvann& cp);

// One fire load as {"Id", "ListId", "Name", the ten properties}; ECliError (exit 1) as above.
QJsonObject FireLoadToJson(const TFireLoad& load);
