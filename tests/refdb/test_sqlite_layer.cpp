// The access layer: buffered results with their column names and types, the named read
// and its failures, Windows-1251 in the file, and the exact failure messages.
#include "RefDbTestFiles.h"

#include <LocaleGuard.h>
#include <SQLiteTable3.h>

#include <QElapsedTimer>

namespace {

class SQLiteLayer : public RefDbFileTest {
protected:
    void SetUp() override { FDb = TSQLiteDatabase::Create(Path()); }
    std::unique_ptr<TSQLiteDatabase> FDb;
};

QString MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ESQLiteException& e) {
        return e.Message();
    }
    return QStringLiteral("<no exception>");
}

} // namespace

// --- Buffered results: names, types, conversions -------------------------------------

TEST_F(SQLiteLayer, ColumnTypesComeFromDeclaredTypesAndNullsReadByType)
{
    FDb->ExecSQL("create table t (id INTEGER PRIMARY KEY, i INTEGER, b BOOLEAN, r REAL, n NUMERIC, "
                 "f FLOAT, txt TEXT, bl BLOB, other VARCHAR(10))");
    FDb->ExecSQL("insert into t values (1, 42, 1, 2.5, 7, -0.125, 'x', x'41', 'v')");
    FDb->ExecSQL("insert into t (id) values (2)");

    TSQLiteTable t = FDb->GetTable("select * from t");
    ASSERT_EQ(t.Count(), 2);
    ASSERT_EQ(t.ColCount(), 9);
    EXPECT_EQ(t.Columns(6), "TXT"); // names upper-cased
    EXPECT_EQ(t.ColumnType(1), TSQLiteTable::ctInteger);
    EXPECT_EQ(t.ColumnType(2), TSQLiteTable::ctInteger);
    EXPECT_EQ(t.ColumnType(3), TSQLiteTable::ctFloat);
    EXPECT_EQ(t.ColumnType(4), TSQLiteTable::ctFloat);
    EXPECT_EQ(t.ColumnType(5), TSQLiteTable::ctFloat);
    EXPECT_EQ(t.ColumnType(6), TSQLiteTable::ctText);
    EXPECT_EQ(t.ColumnType(7), TSQLiteTable::ctBlob);
    EXPECT_EQ(t.ColumnType(8), TSQLiteTable::ctText);

    // Floats in the general format with the user's separator (Russian: a comma).
    EXPECT_EQ(t.FieldAsString(1), "42");
    EXPECT_EQ(t.FieldAsString(3), "2,5");
    EXPECT_EQ(t.FieldAsString(5), "-0,125");
    EXPECT_EQ(t.FieldAsString(6), "x");
    EXPECT_EQ(t.FieldAsString(7), "A");

    ASSERT_TRUE(t.Next());
    EXPECT_EQ(t.FieldAsString(1), "0");  // NULL integer
    EXPECT_EQ(t.FieldAsString(3), "0");  // NULL float
    EXPECT_EQ(t.FieldAsString(6), "");   // NULL text
    EXPECT_TRUE(t.FieldIsNull(6));
    EXPECT_FALSE(t.Next() && !t.Eof());
    EXPECT_TRUE(t.Eof());
    EXPECT_FALSE(t.Next()); // stays at the end
    EXPECT_EQ(t.Row(), 2);
}

TEST_F(SQLiteLayer, ExpressionColumnsTakeTheTypeOfTheFirstRow)
{
    LocaleGuard english(LocaleGuard::English());
    TSQLiteTable t = FDb->GetTable("select 1+1 as a, 0.5 as b, 'z' as c union all select 2.75, 3, 4");
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.ColumnType(0), TSQLiteTable::ctInteger);
    EXPECT_EQ(t.ColumnType(1), TSQLiteTable::ctFloat);
    EXPECT_EQ(t.ColumnType(2), TSQLiteTable::ctText);
    EXPECT_EQ(t.FieldAsString(1), "0.5");
    t.Next();
    // The type was fixed from the first row: 2.75 read as an integer column gives 2.
    EXPECT_EQ(t.FieldAsString(0), "2");
    EXPECT_EQ(t.FieldAsString(1), "3");
    EXPECT_EQ(t.FieldAsString(2), "4");
}

TEST_F(SQLiteLayer, NamedReadIgnoresCaseAndReportsEveryMisuse)
{
    FDb->ExecSQL("create table t (id INTEGER PRIMARY KEY AUTOINCREMENT, PFlammableLoad TEXT)");
    EXPECT_EQ(MessageOf([&] { FDb->GetTable("select * from t").FieldAsStringByName("id"); }),
              "Field id Not found. Empty dataset");

    FDb->ExecSQL("insert into t (PFlammableLoad) values ('12,5')");
    TSQLiteTable t = FDb->GetTable("select * from t");
    EXPECT_EQ(t.FieldAsStringByName("pflammableload"), "12,5");
    EXPECT_EQ(t.FieldAsStringByName("Id"), "1");
    EXPECT_EQ(MessageOf([&] { t.FieldAsStringByName("CCC"); }), "Field not found in dataset: CCC");
    t.Next();
    EXPECT_EQ(MessageOf([&] { t.FieldAsStringByName("id"); }), "Table is at End of File");
}

TEST_F(SQLiteLayer, TableExistsIgnoresCase)
{
    FDb->ExecSQL("CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)");
    EXPECT_TRUE(FDb->TableExists("initialparams"));
    EXPECT_TRUE(FDb->TableExists("INITIALPARAMS"));
    EXPECT_FALSE(FDb->TableExists("allparams"));
    // A view or an index of that name is not a table.
    FDb->ExecSQL("create view allparams as select 1");
    EXPECT_FALSE(FDb->TableExists("AllParams"));
}

// --- Text in the file is Windows-1251 ----------------------------------------------------

TEST_F(SQLiteLayer, CyrillicTextIsStoredAsWindows1251AndReadBackUnchanged)
{
    FDb->ExecSQL("create table t (id INTEGER PRIMARY KEY, name TEXT)");
    FDb->ExecSQL("insert into t (id, name) values (1, ?)", {QStringLiteral("Новый набор")});
    FDb->ExecSQL("insert into t (id, name) values (2, 'Тест')"); // a literal inside the statement

    EXPECT_EQ(RawScalar(Path(), "select hex(name) from t where id=1"), "CDEEE2FBE920EDE0E1EEF0");
    EXPECT_EQ(RawScalar(Path(), "select hex(name) from t where id=2"), "D2E5F1F2");

    TSQLiteTable t = FDb->GetTable("select name from t where name = 'Новый набор' or name = ? order by id",
                                   {QStringLiteral("Тест")});
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.FieldAsString(0), QStringLiteral("Новый набор"));
    t.Next();
    EXPECT_EQ(t.FieldAsString(0), QStringLiteral("Тест"));
}

// --- Failure messages -------------------------------------------------------------------

TEST(SQLiteResultCodes, TextsOfTheTableAndUnknownCodes)
{
    EXPECT_EQ(SQLiteResultCodeText(0), "Successful result");
    EXPECT_EQ(SQLiteResultCodeText(5), "The database file is locked");
    EXPECT_EQ(SQLiteResultCodeText(19), "Abort due to contraint violation"); // spelt as users know it
    EXPECT_EQ(SQLiteResultCodeText(26), "File opened that is not a database file");
    EXPECT_EQ(SQLiteResultCodeText(100), "sqlite3_step() has another row ready");
    EXPECT_EQ(SQLiteResultCodeText(101), "sqlite3_step() has finished executing");
    EXPECT_EQ(SQLiteResultCodeText(27), "Unknown SQLite Error Code \"27\"");
    EXPECT_EQ(SQLiteResultCodeText(-1), "Unknown SQLite Error Code \"-1\"");
}

TEST_F(SQLiteLayer, FailureMessagesCarryCodeTextStatementAndSQLiteMessage)
{
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("select * from nosuch"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r"
              "\"select * from nosuch\": no such table: nosuch");
    EXPECT_EQ(MessageOf([&] { FDb->GetTable("selec 1"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r"
              "\"selec 1\": near \"selec\": syntax error");

    FDb->ExecSQL("create table t (id INTEGER PRIMARY KEY)");
    FDb->ExecSQL("insert into t values (1)");
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("insert into t values (1)"); }),
              "Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r"
              "\"insert into t values (1)\": UNIQUE constraint failed: t.id");
}

TEST_F(SQLiteLayer, CyrillicInAFailingStatementReadsBackInTheMessage)
{
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("select * from Таблица"); }),
              QStringLiteral("Error executing SQL.\rError [1]: SQL error or missing database.\r"
                             "\"select * from Таблица\": no such table: Таблица"));
}

TEST_F(SQLiteLayer, EmptyStatementGivesTheBareMessage)
{
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("   "); }), "Could not prepare SQL statement");
    EXPECT_EQ(MessageOf([&] { FDb->GetTable(""); }), "Could not prepare SQL statement");
}

TEST_F(SQLiteLayer, OpeningAFileThatCannotBeCreatedFails)
{
    const QString bad = Path("missing-folder/kvr.db");
    EXPECT_EQ(MessageOf([&] { TSQLiteDatabase db(bad); }),
              "Failed to open database \"" + bad + "\" : unable to open database file");
}

TEST_F(SQLiteLayer, AClosedConnectionRefusesStatements)
{
    FDb->Destroy();
    FDb->Destroy(); // twice is harmless
    EXPECT_FALSE(FDb->IsOpen());
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("select 1"); }), "Database is not open");
}

TEST_F(SQLiteLayer, ParameterCountMismatchIsRefusedBeforeRunning)
{
    FDb->ExecSQL("create table t (name TEXT)");
    EXPECT_NE(MessageOf([&] { FDb->ExecSQL("insert into t values (?)"); }), "<no exception>");
    EXPECT_NE(MessageOf([&] { FDb->ExecSQL("insert into t values (?)", {QString("a"), QString("b")}); }),
              "<no exception>");
    EXPECT_EQ(FDb->GetTable("select * from t").Count(), 0);
}

// --- A file locked by another connection fails at once with code 5 ---------------------

TEST_F(SQLiteLayer, LockedDatabaseFailsAtOnceWithCodeFive)
{
    FDb->ExecSQL("create table t (id INTEGER PRIMARY KEY, name TEXT)");
    FDb->ExecSQL("insert into t (name) values ('a')");
    TSQLiteDatabase other(Path());
    other.ExecSQL("begin exclusive");

    QElapsedTimer timer;
    timer.start();
    // Met while stepping through the rows of a query.
    EXPECT_EQ(MessageOf([&] { FDb->GetTable("select * from t"); }),
              "Could not prepare SQL statement.\rError [5]: The database file is locked.\r"
              "\"select * from t\": database is locked");
    // Met while executing a statement.
    EXPECT_EQ(MessageOf([&] { FDb->ExecSQL("insert into t (name) values ('b')"); }),
              "Error executing SQL statement.\rError [5]: The database file is locked.\r"
              "\"insert into t (name) values ('b')\": database is locked");
    // No busy wait: a retrying connection would sit out its time-out (seconds) here.
    EXPECT_LT(timer.elapsed(), 1000);

    other.ExecSQL("rollback");
    EXPECT_EQ(FDb->GetTable("select * from t").Count(), 1);
    FDb->ExecSQL("insert into t (name) values ('b')"); // usable again once released
    EXPECT_EQ(FDb->GetTable("select * from t").Count(), 2);
}
