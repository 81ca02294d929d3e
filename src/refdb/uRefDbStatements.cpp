// The statements of the reference database. Each keeps the shape the editor and the
// dialog rely on (plain "select *", rows in SQLite's own order, texts stored as given);
// the values travel as bound parameters rather than inside the statement text.
#include "uRefDbStatements.h"

QString RefTableName(TRefTable table)
{
    switch (table) {
    case TRefTable::InitialParams: return QStringLiteral("InitialParams");
    case TRefTable::ABParams: return QStringLiteral("ABParams");
    case TRefTable::FireFighting: return QStringLiteral("FireFighting");
    case TRefTable::AllParams: return QStringLiteral("AllParams");
    }
    return QString();
}

QString RefNewRowName(TRefTable table)
{
    switch (table) {
    case TRefTable::InitialParams:
    case TRefTable::FireFighting: return QStringLiteral("Новый набор");
    case TRefTable::AllParams: return QStringLiteral("Новый параметр");
    case TRefTable::ABParams: return QStringLiteral("Новый вид материала");
    }
    return QString();
}

QStringList RefCategoryTexts()
{
    return {
        QStringLiteral("Низшая теплота сгорания"),
        QStringLiteral("Линейная скорость пламени"),
        QStringLiteral("Удельная скорость выгорания"),
        QStringLiteral("Дымообразующая способность"),
        QStringLiteral("Потребление кислорода"),
        QStringLiteral("Выделение газа: углекислого"),
        QStringLiteral("Выделение газа: угарного"),
        QStringLiteral("Выделение газа: хлористого водорода"),
        QStringLiteral("Горючая нагрузка"),
        QStringLiteral("Коэф. полноты горения"),
    };
}

int RefCategoryPosition(const QString& storedCode)
{
    bool ok = false;
    const int code = storedCode.trimmed().toInt(&ok);
    if (!ok)
        return -1;
    for (size_t i = 0; i < RefCategoryCodes.size(); ++i)
        if (RefCategoryCodes[i] == code)
            return static_cast<int>(i);
    return -2;
}

int RefCategoryCodeAt(int position)
{
    if (position < 0 || position >= static_cast<int>(RefCategoryCodes.size()))
        return -1;
    return RefCategoryCodes[static_cast<size_t>(position)];
}

QString RefCategoryColumn(int code)
{
    switch (code) {
    case 1: return QStringLiteral("P1");
    case 2: return QStringLiteral("P2");
    case 3: return QStringLiteral("P3");
    case 4: return QStringLiteral("P4");
    case 5: return QStringLiteral("P5");
    case 61: return QStringLiteral("P6CO2");
    case 62: return QStringLiteral("P6CO");
    case 63: return QStringLiteral("P6HCL");
    case 6: return QStringLiteral("PFLAMMABLELOAD");
    case 7: return QStringLiteral("CCC");
    }
    return QString();
}

TSQLiteTable RefListRows(TSQLiteDatabase& db, TRefTable table)
{
    return db.GetTable(QStringLiteral("select * from ") + RefTableName(table));
}

TSQLiteTable RefSelectById(TSQLiteDatabase& db, TRefTable table, int64_t id)
{
    return db.GetTable(QStringLiteral("select * from ") + RefTableName(table) + QStringLiteral(" where id=?"), {id});
}

TSQLiteTable RefSelectInitialParamsByName(TSQLiteDatabase& db, const QString& name)
{
    return db.GetTable(QStringLiteral("select * from InitialParams where name=?"), {name});
}

// The category column is TEXT, so the code is compared as its decimal text, which is
// what a bare number compared with a TEXT column amounts to in SQLite.
TSQLiteTable RefSelectAllParamsByCategory(TSQLiteDatabase& db, int code)
{
    return db.GetTable(QStringLiteral("select * from AllParams where category=?"), {QString::number(code)});
}

TSQLiteTable RefSelectAllParamsByNameAndCategory(TSQLiteDatabase& db, const QString& name, int code)
{
    return db.GetTable(QStringLiteral("select * from AllParams where name=? and category=?"),
                       {name, QString::number(code)});
}

int64_t RefInsertNewRow(TSQLiteDatabase& db, TRefTable table)
{
    db.ExecSQL(QStringLiteral("insert into ") + RefTableName(table) + QStringLiteral(" (name) values (?);"),
               {RefNewRowName(table)});
    return db.LastInsertRowId();
}

void RefDeleteRow(TSQLiteDatabase& db, TRefTable table, int64_t id)
{
    db.ExecSQL(QStringLiteral("delete from ") + RefTableName(table) + QStringLiteral(" where id=?"), {id});
}

void RefUpdateInitialParams(TSQLiteDatabase& db, int64_t id, const TInitialParamsTexts& t)
{
    db.ExecSQL(QStringLiteral("update InitialParams set name=?, P1=?, P2=?, P3=?, P4=?, P5=?, P6CO2=?, P6CO=?, "
                              "P6HCl=?, CCC=?, PFlammableLoad=? where id=?;"),
               {t.Name, t.P1, t.P2, t.P3, t.P4, t.P5, t.P6CO2, t.P6CO, t.P6HCl, t.CCC, t.PFlammableLoad, id});
}

void RefUpdateFireFighting(TSQLiteDatabase& db, int64_t id, const TFireFightingTexts& t)
{
    db.ExecSQL(QStringLiteral("update FireFighting set name=?, P20=?, P21=?, P19Closed=?, P18Closed=?, "
                              "P19Opened=?, P18Opened=? where id=?;"),
               {t.Name, t.P20, t.P21, t.P19Closed, t.P18Closed, t.P19Opened, t.P18Opened, id});
}

void RefUpdateABParams(TSQLiteDatabase& db, int64_t id, const QString& name, const QString& a, const QString& b)
{
    db.ExecSQL(QStringLiteral("update ABParams set name=?, A=?, B=? where id=?;"), {name, a, b, id});
}

void RefUpdateAllParams(TSQLiteDatabase& db, int64_t id, const QString& name, const QString& value, int code)
{
    db.ExecSQL(QStringLiteral("update AllParams set name=?, value=?, category=? where id=?;"),
               {name, value, QString::number(code), id});
}
