// The reference data shipped inside the program: the typical fire loads of the file
// typical_fire_loads.csv (embedded as a Qt resource), read with RFC 4180 quoting, and
// their copying into a newly created reference database.
#pragma once

#include "SQLiteTable3.h"

#include <QString>
#include <QStringList>
#include <vector>

// Splits CSV text into records of fields (RFC 4180: comma-separated; a field in double
// quotes may hold commas, line breaks and doubled quotes; CRLF or LF ends a record).
// Returns false and sets *error (with the line number) for a quote in an unquoted field,
// text after a closing quote, or an unterminated quoted field. A final line break does
// not start an empty record.
bool ParseCsv(const QString& text, std::vector<QStringList>* records, QString* error);

// One shipped typical load: the name and its property texts as written in the file
// (full stop as decimal point), keyed by InitialParams column; an empty text: not given.
struct TShippedLoad {
    QString Name;
    QString P1, P2, P3, P4, P5, P6CO2, P6CO, P6HCL, PFLAMMABLELOAD, CCC;
};

// Reads the shipped loads from CSV text whose header row names the columns (case
// ignored, any order; unknown columns such as "source" are skipped). Every given
// property must be a number with a full stop; a row with an empty name is refused.
// Returns false and sets *error on any fault.
bool ParseShippedLoads(const QString& csvText, std::vector<TShippedLoad>* loads, QString* error);

// The embedded typical_fire_loads.csv as text (UTF-8); empty if the resource is missing.
QString ShippedLoadsCsv();

// The number text as the editor stores it: the full stop of the shipped file replaced by
// the user's decimal separator ("0.0068" -> "0,0068" under Russian settings).
QString ShippedNumberToStored(const QString& text);

// Inserts the loads into InitialParams (one row each, not-given properties left NULL) and
// every given property into AllParams as a named value (name = the load's name, value =
// the stored number text, category = the property's code), load by load in file order.
// Raises ESQLiteException on a database failure; the caller owns any transaction.
// Returns the numbers of rows inserted through *loadsInserted and *valuesInserted.
void InsertShippedLoads(TSQLiteDatabase& db, const std::vector<TShippedLoad>& loads, int* loadsInserted,
                        int* valuesInserted);
