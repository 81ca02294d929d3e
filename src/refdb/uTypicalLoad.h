// The calculation dialog's reading of typical fire loads from the reference database:
// the names in database order, and one load by name with the reference defaults for
// every property whose stored text is empty or not a number.
#pragma once

#include "SQLiteTable3.h"

#include <uCalcRecord.h>

#include <QString>
#include <QStringList>
#include <vector>

// Sets the ten property fields of `load` to the defaults used when the database gives no
// number (P1 13000, P2 0.0108, P3 0.0145, P4 270, P5 -1.03, CO2 0.203, CO 0.0022,
// HCl 0.014, fire load 100, CCC 0.97); Id, ListId and Name are kept.
void ResetFireLoadToDefaults(TFireLoad& load);

// Parses a stored property text: the number it holds, written with either decimal
// separator; `fallback` when it is empty, not a number or out of range (infinite).
long double ParseStoredNumber(const QString& text, long double fallback);

// The names of every InitialParams row, in database order.
// Raises ESQLiteException on a database failure.
QStringList ListTypicalLoadNames(TSQLiteDatabase& db);

// Reads the current row of an InitialParams result into `load`: Id (-1 when not an
// integer), Name and the ten properties (defaults as ResetFireLoadToDefaults); ListId is
// kept. Raises ESQLiteException when a column is missing or the table is at Eof.
void ReadTypicalLoadRow(const TSQLiteTable& table, TFireLoad& load);

// Reads the typical load named `name`. With exactly one such row, fills `load` as
// ReadTypicalLoadRow and returns true; with none or several, leaves `load` unchanged and
// returns false. Raises ESQLiteException on a database failure.
bool LoadTypicalLoad(TSQLiteDatabase& db, const QString& name, TFireLoad& load);

// Every InitialParams row read as ReadTypicalLoadRow, in database order (ListId 0).
std::vector<TFireLoad> ReadAllTypicalLoads(TSQLiteDatabase& db);
