// Every statement the program issues against the reference database, one function each,
// for the database editor and the calculation dialog. Values are bound as statement
// parameters, so any name (quotes, apostrophes, semicolons included) is stored exactly.
// All functions raise ESQLiteException on a database failure and leave catching it to
// the caller.
#pragma once

#include "SQLiteTable3.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The four reference tables.
enum class TRefTable { InitialParams, ABParams, FireFighting, AllParams };

// The table's name as used in statements ("InitialParams", ...).
QString RefTableName(TRefTable table);

// The name a row added by the editor gets: "Новый набор" (typical loads, fire-fighting
// sets), "Новый параметр" (named values), "Новый вид материала" (material types).
QString RefNewRowName(TRefTable table);

// Named-value categories: list positions 0 … 9 of the editor's category list and the
// category codes stored in AllParams.category.
inline constexpr std::array<int, 10> RefCategoryCodes = {1, 2, 3, 4, 5, 61, 62, 63, 6, 7};
// The ten category texts in list order ("Низшая теплота сгорания", …).
QStringList RefCategoryTexts();
// The list position of a stored category text: 0 … 9 for the ten codes; -1 for an empty or
// non-numeric text (select nothing); -2 for any other number (leave the choice as it was).
int RefCategoryPosition(const QString& storedCode);
// The code of list position 0 … 9; -1 for any other position (nothing selected).
int RefCategoryCodeAt(int position);
// The InitialParams column a category code fills ("P1", "P6CO2", "PFLAMMABLELOAD", ...);
// empty for an unknown code.
QString RefCategoryColumn(int code);

// select * from <table>  — every row in the order SQLite returns them.
TSQLiteTable RefListRows(TSQLiteDatabase& db, TRefTable table);
// select * from <table> where id=<id>
TSQLiteTable RefSelectById(TSQLiteDatabase& db, TRefTable table, int64_t id);
// select * from InitialParams where name=<name>
TSQLiteTable RefSelectInitialParamsByName(TSQLiteDatabase& db, const QString& name);
// select * from AllParams where category=<code>
TSQLiteTable RefSelectAllParamsByCategory(TSQLiteDatabase& db, int code);
// select * from AllParams where name=<name> and category=<code>
TSQLiteTable RefSelectAllParamsByNameAndCategory(TSQLiteDatabase& db, const QString& name, int code);

// insert into <table> (name) values (RefNewRowName(table)); returns the new row's id.
int64_t RefInsertNewRow(TSQLiteDatabase& db, TRefTable table);
// delete from <table> where id=<id>
void RefDeleteRow(TSQLiteDatabase& db, TRefTable table, int64_t id);

// The texts of one typical load as the editor saves them (exactly as typed).
struct TInitialParamsTexts {
    QString Name, P1, P2, P3, P4, P5, P6CO2, P6CO, P6HCl, PFlammableLoad, CCC;
};
// update InitialParams set name, P1 … P5, P6CO2, P6CO, P6HCl, CCC, PFlammableLoad where id
void RefUpdateInitialParams(TSQLiteDatabase& db, int64_t id, const TInitialParamsTexts& texts);

// The texts of one fire-fighting set.
struct TFireFightingTexts {
    QString Name, P20, P21, P19Closed, P18Closed, P19Opened, P18Opened;
};
// update FireFighting set name, P20, P21, P19Closed, P18Closed, P19Opened, P18Opened where id
void RefUpdateFireFighting(TSQLiteDatabase& db, int64_t id, const TFireFightingTexts& texts);

// update ABParams set name, A, B where id
void RefUpdateABParams(TSQLiteDatabase& db, int64_t id, const QString& name, const QString& a,
                       const QString& b);

// update AllParams set name, value, category where id; the code is stored as its decimal
// text ("-1" when the editor has no category selected).
void RefUpdateAllParams(TSQLiteDatabase& db, int64_t id, const QString& name, const QString& value,
                        int code);
