// The editor's and the calculation dialog's statements on a fresh file: rows added with
// their fixed names, updates that store the texts exactly as typed (quotes included),
// the category selects, and the reading of a typical load with its defaults.
#include "RefDbTestFiles.h"

#include <LocaleGuard.h>
#include <uRefDbStartup.h>
#include <uRefDbStatements.h>
#include <uTypicalLoad.h>

namespace {

class Statements : public RefDbFileTest {
protected:
    void SetUp() override
    {
        // An existing empty file: the four tables but no shipped rows.
        { TSQLiteDatabase(Path()).ExecSQL("create table placeholder (x)"); }
        TRefDbStartup r = StartReferenceDatabase(Path());
        ASSERT_TRUE(r.Database);
        ASSERT_FALSE(r.InitFailed);
        FDb = std::move(r.Database);
    }
    TSQLiteDatabase& Db() { return *FDb; }
    std::unique_ptr<TSQLiteDatabase> FDb;
};

TFireLoad Defaults()
{
    TFireLoad d;
    ResetFireLoadToDefaults(d);
    return d;
}

} // namespace

// --- Adding, deleting, listing ------------------------------------------------------

TEST_F(Statements, AddedRowsHoldOnlyTheirFixedNames)
{
    const int64_t a = RefInsertNewRow(Db(), TRefTable::InitialParams);
    const int64_t b = RefInsertNewRow(Db(), TRefTable::InitialParams);
    EXPECT_EQ(b, a + 1);
    RefInsertNewRow(Db(), TRefTable::AllParams);
    RefInsertNewRow(Db(), TRefTable::ABParams);
    RefInsertNewRow(Db(), TRefTable::FireFighting);

    EXPECT_EQ(RefListRows(Db(), TRefTable::AllParams).FieldAsStringByName("name"), QStringLiteral("Новый параметр"));
    EXPECT_EQ(RefListRows(Db(), TRefTable::ABParams).FieldAsStringByName("name"),
              QStringLiteral("Новый вид материала"));
    EXPECT_EQ(RefListRows(Db(), TRefTable::FireFighting).FieldAsStringByName("name"), QStringLiteral("Новый набор"));

    TSQLiteTable t = RefSelectById(Db(), TRefTable::InitialParams, b);
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.FieldAsStringByName("name"), QStringLiteral("Новый набор"));
    for (const char* column : {"P1", "P2", "P3", "P4", "P5", "P6CO2", "P6CO", "P6HCl", "PFlammableLoad", "CCC"})
        EXPECT_EQ(t.FieldAsStringByName(column), "") << column;
    EXPECT_EQ(RawScalar(Path(), "select hex(name) from InitialParams where id=" + std::to_string(b)),
              "CDEEE2FBE920EDE0E1EEF0");
}

TEST_F(Statements, DeleteRemovesOnlyThatRowAndIdsAreNotReused)
{
    const int64_t a = RefInsertNewRow(Db(), TRefTable::ABParams);
    const int64_t b = RefInsertNewRow(Db(), TRefTable::ABParams);
    RefDeleteRow(Db(), TRefTable::ABParams, b);
    RefDeleteRow(Db(), TRefTable::ABParams, 999); // no such row: nothing happens
    EXPECT_EQ(RefListRows(Db(), TRefTable::ABParams).Count(), 1);
    EXPECT_EQ(RefSelectById(Db(), TRefTable::ABParams, a).Count(), 1);
    EXPECT_EQ(RefSelectById(Db(), TRefTable::ABParams, b).Count(), 0);
    EXPECT_GT(RefInsertNewRow(Db(), TRefTable::ABParams), b);
}

// --- Updates store the texts exactly as typed ---------------------------------------

TEST_F(Statements, TypicalLoadUpdateStoresEveryColumnAndOddNamesRoundTrip)
{
    const int64_t id = RefInsertNewRow(Db(), TRefTable::InitialParams);
    TInitialParamsTexts texts{QStringLiteral("Склад \"Шины\"; 'резина' -- ; drop table InitialParams"),
                              "31700", "0,0068", "0,0233", "487", "-2,64", "1,295", "0,097", "0,0109", "250", "0,9"};
    RefUpdateInitialParams(Db(), id, texts);

    TSQLiteTable t = RefSelectById(Db(), TRefTable::InitialParams, id);
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.FieldAsStringByName("name"), texts.Name);
    EXPECT_EQ(t.FieldAsStringByName("P1"), "31700");
    EXPECT_EQ(t.FieldAsStringByName("P5"), "-2,64");
    EXPECT_EQ(t.FieldAsStringByName("P6HCL"), "0,0109");
    EXPECT_EQ(t.FieldAsStringByName("PFLAMMABLELOAD"), "250");
    EXPECT_EQ(t.FieldAsStringByName("CCC"), "0,9");

    TFireLoad load;
    load.ListId = 7;
    ASSERT_TRUE(LoadTypicalLoad(Db(), texts.Name, load));
    EXPECT_EQ(load.Id, id);
    EXPECT_EQ(load.ListId, 7); // not the database's business
    EXPECT_EQ(load.Name, texts.Name);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P1LowestHeat), 31700);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P2LinearFlameSpeed), 0.0068);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P3BurnoutSpeed), 0.0233);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P4SmokeFormingAbility), 487);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P5OxygenConsumption), -2.64);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P6AllocationCO2), 1.295);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P6AllocationCO), 0.097);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P6AllocationHCl), 0.0109);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.PFlammableLoad), 250);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.CCC), 0.9);
    EXPECT_TRUE(Db().TableExists("initialparams"));
}

TEST_F(Statements, OtherUpdatesStoreTheirColumns)
{
    const int64_t ff = RefInsertNewRow(Db(), TRefTable::FireFighting);
    RefUpdateFireFighting(Db(), ff, {"Склад", "593", "1", "200", "0,2", "400", "0,4"});
    TSQLiteTable f = RefSelectById(Db(), TRefTable::FireFighting, ff);
    EXPECT_EQ(f.FieldAsStringByName("P20"), "593");
    EXPECT_EQ(f.FieldAsStringByName("P21"), "1");
    EXPECT_EQ(f.FieldAsStringByName("P19Closed"), "200");
    EXPECT_EQ(f.FieldAsStringByName("P18Closed"), "0,2");
    EXPECT_EQ(f.FieldAsStringByName("P19Opened"), "400");
    EXPECT_EQ(f.FieldAsStringByName("P18Opened"), "0,4");

    const int64_t ab = RefInsertNewRow(Db(), TRefTable::ABParams);
    RefUpdateABParams(Db(), ab, QStringLiteral("Бетон"), "1,2", "");
    TSQLiteTable m = RefSelectById(Db(), TRefTable::ABParams, ab);
    EXPECT_EQ(m.FieldAsStringByName("name"), QStringLiteral("Бетон"));
    EXPECT_EQ(m.FieldAsStringByName("A"), "1,2");
    EXPECT_EQ(m.FieldAsStringByName("B"), "");
    EXPECT_FALSE(m.FieldIsNull(3)); // an empty typed text is stored as such, not as NULL
}

// --- Named values and their categories ----------------------------------------------

TEST_F(Statements, CategorySelectsFindValuesByTheirCode)
{
    auto add = [&](const QString& name, const QString& value, int code) {
        const int64_t id = RefInsertNewRow(Db(), TRefTable::AllParams);
        RefUpdateAllParams(Db(), id, name, value, code);
        return id;
    };
    add(QStringLiteral("Древесина"), "13800", 1);
    add(QStringLiteral("Бумага"), "13400", 1);
    add(QStringLiteral("Древесина"), "0,0108", 2);
    add(QStringLiteral("Дубль"), "1", 61);
    add(QStringLiteral("Дубль"), "2", 61);
    const int64_t none = add(QStringLiteral("Без категории"), "5", RefCategoryCodeAt(-1));

    TSQLiteTable p1 = RefSelectAllParamsByCategory(Db(), 1);
    ASSERT_EQ(p1.Count(), 2);
    EXPECT_EQ(p1.FieldAsStringByName("name"), QStringLiteral("Древесина"));
    EXPECT_EQ(RefSelectAllParamsByCategory(Db(), 6).Count(), 0);

    TSQLiteTable one = RefSelectAllParamsByNameAndCategory(Db(), QStringLiteral("Древесина"), 2);
    ASSERT_EQ(one.Count(), 1);
    EXPECT_EQ(one.FieldAsStringByName("value"), "0,0108");
    // The same name twice in one category: two rows, which the editor treats as no pick.
    EXPECT_EQ(RefSelectAllParamsByNameAndCategory(Db(), QStringLiteral("Дубль"), 61).Count(), 2);

    // No category selected is stored as "-1" and listed under no code.
    EXPECT_EQ(RefSelectById(Db(), TRefTable::AllParams, none).FieldAsStringByName("category"), "-1");
    for (int code : RefCategoryCodes)
        EXPECT_EQ(RefSelectAllParamsByNameAndCategory(Db(), QStringLiteral("Без категории"), code).Count(), 0);
}

TEST(RefCategories, PositionsCodesAndColumns)
{
    ASSERT_EQ(RefCategoryTexts().size(), 10);
    EXPECT_EQ(RefCategoryTexts()[5], QStringLiteral("Выделение газа: углекислого"));
    EXPECT_EQ(RefCategoryTexts()[8], QStringLiteral("Горючая нагрузка"));
    EXPECT_EQ(RefCategoryCodeAt(8), 6);
    EXPECT_EQ(RefCategoryCodeAt(10), -1);
    EXPECT_EQ(RefCategoryPosition("63"), 7);
    EXPECT_EQ(RefCategoryPosition("7"), 9);
    EXPECT_EQ(RefCategoryPosition(""), -1);     // selects nothing
    EXPECT_EQ(RefCategoryPosition("abc"), -1);
    EXPECT_EQ(RefCategoryPosition("64"), -2);   // leaves the choice as it was
    EXPECT_EQ(RefCategoryPosition("-1"), -2);
    EXPECT_EQ(RefCategoryColumn(62), "P6CO");
    EXPECT_EQ(RefCategoryColumn(6), "PFLAMMABLELOAD");
    EXPECT_EQ(RefCategoryColumn(8), "");
    for (size_t i = 0; i < RefCategoryCodes.size(); ++i)
        EXPECT_EQ(RefCategoryPosition(QString::number(RefCategoryCodes[i])), static_cast<int>(i));
}

// --- The calculation dialog's reading -------------------------------------------------

TEST_F(Statements, JustAddedRowReadsWithTheDefaults)
{
    const int64_t id = RefInsertNewRow(Db(), TRefTable::InitialParams);
    TFireLoad load;
    load.Name = "старое";
    ASSERT_TRUE(LoadTypicalLoad(Db(), QStringLiteral("Новый набор"), load));
    TFireLoad expected = Defaults();
    expected.Id = static_cast<int32_t>(id);
    expected.Name = QStringLiteral("Новый набор");
    EXPECT_EQ(load, expected);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P5OxygenConsumption), -1.03);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P2LinearFlameSpeed), 0.0108);
}

TEST_F(Statements, NameNotFoundOrDuplicatedLeavesTheLoadUnchanged)
{
    TFireLoad load = Defaults();
    load.Name = "как было";
    load.Id = 12;
    const TFireLoad before = load;
    EXPECT_FALSE(LoadTypicalLoad(Db(), QStringLiteral("Новый набор"), load)); // no rows at all
    EXPECT_FALSE(LoadTypicalLoad(Db(), QString(), load));
    RefInsertNewRow(Db(), TRefTable::InitialParams);
    RefInsertNewRow(Db(), TRefTable::InitialParams);
    EXPECT_FALSE(LoadTypicalLoad(Db(), QStringLiteral("Новый набор"), load)); // two rows
    EXPECT_EQ(load, before);
}

TEST_F(Statements, NamesAreListedInDatabaseOrder)
{
    for (const char* name : {"Я последняя по алфавиту", "А первая", "Средняя"}) {
        const int64_t id = RefInsertNewRow(Db(), TRefTable::InitialParams);
        RefUpdateInitialParams(Db(), id, {QString::fromUtf8(name), "", "", "", "", "", "", "", "", "", ""});
    }
    EXPECT_EQ(ListTypicalLoadNames(Db()),
              QStringList({QStringLiteral("Я последняя по алфавиту"), QStringLiteral("А первая"),
                           QStringLiteral("Средняя")}));
    const std::vector<TFireLoad> all = ReadAllTypicalLoads(Db());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].Name, QStringLiteral("А первая"));
    EXPECT_DOUBLE_EQ(static_cast<double>(all[2].CCC), 0.97);
}

TEST_F(Statements, NumbersWithTheOtherSeparatorReadAsWrittenJunkGivesDefaults)
{
    const int64_t id = RefInsertNewRow(Db(), TRefTable::InitialParams);
    // Typed under other regional settings, with blanks, with an exponent, and junk.
    RefUpdateInitialParams(Db(), id, {"Смесь", "14 000", "0.2", " 0,0145 ", "2.5E2", "-1.5", "abc", "0,0022x", "",
                                      "1,2,3", "1E5000"});
    TFireLoad load;
    ASSERT_TRUE(LoadTypicalLoad(Db(), "Смесь", load));
    const TFireLoad d = Defaults();
    EXPECT_EQ(load.P1LowestHeat, d.P1LowestHeat);                      // "14 000": not a number
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P2LinearFlameSpeed), 0.2); // full stop under a comma locale
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P3BurnoutSpeed), 0.0145);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P4SmokeFormingAbility), 250);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P5OxygenConsumption), -1.5);
    EXPECT_EQ(load.P6AllocationCO2, d.P6AllocationCO2);   // "abc"
    EXPECT_EQ(load.P6AllocationCO, d.P6AllocationCO);     // trailing junk
    EXPECT_EQ(load.P6AllocationHCl, d.P6AllocationHCl);   // empty
    EXPECT_EQ(load.CCC, d.CCC);                           // beyond any real
    EXPECT_EQ(load.PFlammableLoad, d.PFlammableLoad);     // "1,2,3"

    // And the reverse: a comma under a full-stop locale.
    LocaleGuard english(LocaleGuard::English());
    ASSERT_TRUE(LoadTypicalLoad(Db(), "Смесь", load));
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P3BurnoutSpeed), 0.0145);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P2LinearFlameSpeed), 0.2);
}

TEST_F(Statements, AnOlderTableWithoutAColumnFailsTheReadAndKeepsTheLoad)
{
    Db().ExecSQL("drop table InitialParams");
    Db().ExecSQL("CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, P1 TEXT)");
    Db().ExecSQL("insert into InitialParams (name, P1) values ('Старая', '1')");
    TFireLoad load = Defaults();
    const TFireLoad before = load;
    try {
        LoadTypicalLoad(Db(), QStringLiteral("Старая"), load);
        ADD_FAILURE() << "no exception";
    } catch (const ESQLiteException& e) {
        EXPECT_EQ(e.Message(), "Field not found in dataset: P2");
    }
    EXPECT_EQ(load, before);
}

TEST_F(Statements, RowIdThatIsNotAnIntegerReadsAsMinusOne)
{
    // A hand-made table whose id column holds text.
    Db().ExecSQL("drop table InitialParams");
    Db().ExecSQL("CREATE TABLE InitialParams (id TEXT, name TEXT, P1 TEXT, P2 TEXT, P3 TEXT, P4 TEXT, P5 TEXT, "
                 "P6CO2 TEXT, P6CO TEXT, P6HCL TEXT, PFLAMMABLELOAD TEXT, CCC TEXT)");
    Db().ExecSQL("insert into InitialParams (id, name) values ('x1', 'Ручная')");
    TFireLoad load;
    ASSERT_TRUE(LoadTypicalLoad(Db(), QStringLiteral("Ручная"), load));
    EXPECT_EQ(load.Id, -1);
}
