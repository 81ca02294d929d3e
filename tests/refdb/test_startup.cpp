// Start-up of kvr.db: a missing file is created with the four tables and the shipped
// typical loads, an existing file is completed but never altered or filled, and every
// failure comes back as a result instead of a message box.
#include "RefDbTestFiles.h"

#include <LocaleGuard.h>
#include <uRefDbStartup.h>
#include <uTypicalLoad.h>

#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <sys/fsuid.h>
#include <unistd.h>

namespace {

int Rows(TSQLiteDatabase& db, const QString& table)
{
    return db.GetTable("select count(*) as n from " + table).FieldAsString(0).toInt();
}

void MakeFile(const QString& path, const QStringList& statements)
{
    TSQLiteDatabase db(path);
    for (const QString& s : statements)
        db.ExecSQL(s);
}

using Startup = RefDbFileTest;

} // namespace

// --- A new file -----------------------------------------------------------------------

TEST_F(Startup, MissingFileIsCreatedWithAllTablesAndTheShippedData)
{
    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    EXPECT_TRUE(r.OpenError.isEmpty());
    EXPECT_FALSE(r.InitFailed) << r.InitErrorDetail.toStdString();
    EXPECT_TRUE(r.FileCreated);
    EXPECT_EQ(r.CreatedTables, QStringList({"InitialParams", "ABParams", "FireFighting", "AllParams"}));

    TSQLiteDatabase& db = *r.Database;
    for (const QString& table : RefDbTableNames()) {
        EXPECT_TRUE(db.TableExists(table)) << table.toStdString();
        // The table definitions as written, so editor statements find their columns.
        EXPECT_EQ(db.GetTable("select sql from sqlite_master where name = ?", {table}).FieldAsString(0),
                  RefDbTableDefinition(table));
    }
    // The 69 typical loads of the shipped file; the two unused tables stay empty.
    EXPECT_EQ(Rows(db, "InitialParams"), 69);
    EXPECT_EQ(r.ShippedLoadsInserted, 69);
    EXPECT_EQ(Rows(db, "AllParams"), r.ShippedValuesInserted);
    EXPECT_EQ(Rows(db, "ABParams"), 0);
    EXPECT_EQ(Rows(db, "FireFighting"), 0);
}

TEST_F(Startup, ShippedRowsAreStoredAsTheEditorWouldStoreThem)
{
    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    TSQLiteDatabase& db = *r.Database;
    const QString name = QStringLiteral("Библиотеки, архивы; книги, журналы на стеллажах");

    // CSV row: 14500, 0.0103, 0.011, 49.5, -1.154, 1.1087, 0.0974, 0, (empty), (empty).
    TSQLiteTable t = db.GetTable("select * from InitialParams where name = ?", {name});
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.FieldAsStringByName("P1"), "14500");
    EXPECT_EQ(t.FieldAsStringByName("P2"), "0,0103"); // the user's separator
    EXPECT_EQ(t.FieldAsStringByName("P4"), "49,5");
    EXPECT_EQ(t.FieldAsStringByName("P5"), "-1,154");
    EXPECT_EQ(t.FieldAsStringByName("P6HCl"), "0");
    EXPECT_EQ(t.FieldAsStringByName("PFlammableLoad"), "");
    EXPECT_EQ(t.FieldAsStringByName("CCC"), "");

    // One named value per given property, with its category code; none for the empty two.
    TSQLiteTable v = db.GetTable("select category, value from AllParams where name = ? order by id", {name});
    QStringList got;
    for (; !v.Eof(); v.Next())
        got << v.FieldAsString(0) + "=" + v.FieldAsString(1);
    EXPECT_EQ(got, QStringList({"1=14500", "2=0,0103", "3=0,011", "4=49,5", "5=-1,154", "61=1,1087",
                                "62=0,0974", "63=0"}));

    // The calculation dialog reads the row with the defaults for the two missing values.
    TFireLoad load;
    ASSERT_TRUE(LoadTypicalLoad(db, name, load));
    EXPECT_DOUBLE_EQ(static_cast<double>(load.P2LinearFlameSpeed), 0.0103);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.PFlammableLoad), 100);
    EXPECT_DOUBLE_EQ(static_cast<double>(load.CCC), 0.97);
}

TEST_F(Startup, ShippedNumbersFollowTheLocaleOfTheFirstStart)
{
    LocaleGuard english(LocaleGuard::English());
    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    EXPECT_EQ(r.Database->GetTable("select P2 from InitialParams where id = 3").FieldAsString(0), "0.0103");
}

TEST_F(Startup, CreatedFileHoldsWindows1251Names)
{
    ASSERT_TRUE(StartReferenceDatabase(Path()).Database);
    const std::string hex = RawScalar(Path(), "select hex(name) from InitialParams where hex(name) like 'C1E8E1EB%'");
    // "Библиотеки" in Windows-1251.
    EXPECT_EQ(hex.substr(0, 20), "C1E8E1EBE8EEF2E5EAE8");

    // The same through Debian's sqlite3 shell, as a user would check the file.
    const QString shell = QStandardPaths::findExecutable("sqlite3");
    if (shell.isEmpty())
        GTEST_SKIP() << "no sqlite3 shell installed";
    QProcess p;
    p.start(shell, {Path(), "select hex(name) from InitialParams where id = 3"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(QString::fromLatin1(p.readAllStandardOutput()).left(20), "C1E8E1EBE8EEF2E5EAE8");
}

TEST_F(Startup, ZeroLengthFileCountsAsNew)
{
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    EXPECT_TRUE(r.FileCreated);
    EXPECT_EQ(r.ShippedLoadsInserted, 69);
}

// --- An existing file -------------------------------------------------------------------

TEST_F(Startup, SecondStartCreatesNothingAndChangesNothing)
{
    {
        TRefDbStartup first = StartReferenceDatabase(Path());
        ASSERT_TRUE(first.Database);
        first.Database->ExecSQL("delete from InitialParams where id > 3"); // a user's edit
    }
    const QByteArray before = FileBytes(Path());
    TRefDbStartup second = StartReferenceDatabase(Path());
    ASSERT_TRUE(second.Database);
    EXPECT_FALSE(second.FileCreated);
    EXPECT_FALSE(second.InitFailed);
    EXPECT_TRUE(second.CreatedTables.isEmpty());
    EXPECT_EQ(second.ShippedLoadsInserted, 0);
    EXPECT_EQ(Rows(*second.Database, "InitialParams"), 3);
    second.Database.reset();
    EXPECT_EQ(FileBytes(Path()), before);
}

TEST_F(Startup, PartialFileGetsExactlyTheMissingTablesAndNoShippedRows)
{
    MakeFile(Path(), {
        // An older layout: fewer columns. It must stay as it is.
        "CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, P1 TEXT)",
        "insert into InitialParams (name, P1) values ('Мебель', '13800')",
        "CREATE TABLE allparams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, value TEXT, category TEXT)",
    });
    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    EXPECT_FALSE(r.InitFailed);
    EXPECT_FALSE(r.FileCreated);
    EXPECT_EQ(r.CreatedTables, QStringList({"ABParams", "FireFighting"}));
    TSQLiteDatabase& db = *r.Database;
    EXPECT_EQ(db.GetTable("select sql from sqlite_master where name = 'InitialParams'").FieldAsString(0),
              "CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, P1 TEXT)");
    EXPECT_EQ(Rows(db, "InitialParams"), 1);
    EXPECT_EQ(Rows(db, "allparams"), 0);
    EXPECT_EQ(ListTypicalLoadNames(db), QStringList({QStringLiteral("Мебель")}));
}

// --- Failures come back as results ----------------------------------------------------

TEST_F(Startup, FileThatIsNotADatabaseGivesTheInitialisationFailure)
{
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("This is a project note, not a database.\n").repeated(200));
    f.close();
    const QByteArray before = FileBytes(Path());

    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database); // opening is lazy in SQLite; the connection stays open
    EXPECT_TRUE(r.InitFailed);
    EXPECT_FALSE(r.FileCreated);
    EXPECT_TRUE(r.CreatedTables.isEmpty());
    EXPECT_TRUE(r.InitErrorDetail.contains("Error [26]: File opened that is not a database file."))
        << r.InitErrorDetail.toStdString();
    r.Database.reset();
    EXPECT_EQ(FileBytes(Path()), before);
    EXPECT_EQ(RefDbInitErrorText, QStringLiteral("Ошибка при инициализации базы данных"));
    EXPECT_EQ(RefDbInitErrorCaption, QStringLiteral("Ошибка БД"));
}

TEST_F(Startup, FileThatCannotBeOpenedLeavesNoConnection)
{
    const QString bad = Path("no-such-folder/kvr.db");
    TRefDbStartup r = StartReferenceDatabase(bad);
    EXPECT_FALSE(r.Database);
    EXPECT_FALSE(r.InitFailed);
    EXPECT_FALSE(r.FileCreated);
    EXPECT_EQ(r.OpenError, "Failed to open database \"" + bad + "\" : unable to open database file");
}

TEST_F(Startup, FileLockedByAnotherProgramGivesTheInitialisationFailure)
{
    MakeFile(Path(), {"CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)"});
    TSQLiteDatabase other(Path());
    other.ExecSQL("begin exclusive");

    TRefDbStartup r = StartReferenceDatabase(Path());
    ASSERT_TRUE(r.Database);
    EXPECT_TRUE(r.InitFailed);
    EXPECT_TRUE(r.CreatedTables.isEmpty());
    EXPECT_TRUE(r.InitErrorDetail.contains("Error [5]: The database file is locked."))
        << r.InitErrorDetail.toStdString();
    other.ExecSQL("rollback");
    EXPECT_FALSE(r.Database->TableExists("abparams"));
}

// --- Where the file lives ------------------------------------------------------------

TEST_F(Startup, FolderBesideTheProgramWhenWritableOtherwiseTheUserDataFolder)
{
    const QString exe = FDir.filePath("bin");
    const QString data = FDir.filePath("userdata/Tesvorn");
    ASSERT_TRUE(QDir().mkpath(exe));
    EXPECT_EQ(RefDbChooseFolder(exe, data), QDir::cleanPath(exe));
    EXPECT_FALSE(QDir(data).exists());

    // A folder nothing can be created in (here: a plain file standing where the folder
    // is expected, which holds even for an administrator).
    const QString blocked = FDir.filePath("installed");
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(RefDbChooseFolder(blocked, data), QDir::cleanPath(data));
    EXPECT_TRUE(QDir(data).exists()); // created for the first start

    // The start-up then creates the file there.
    TRefDbStartup r = StartReferenceDatabase(QDir(RefDbChooseFolder(blocked, data)).filePath(RefDbFileName));
    ASSERT_TRUE(r.Database);
    EXPECT_TRUE(r.FileCreated);
    EXPECT_TRUE(QFile::exists(data + "/kvr.db"));
}

// Runs `action` with the file rights of an ordinary user (nobody): as the administrator
// the test would be allowed to write into any folder. The file-system identity is the
// calling thread's alone and is given back afterwards. Answers false when it cannot be
// taken.
static bool AsOrdinaryUser(const std::function<void()>& action)
{
    if (geteuid() != 0) {
        action();
        return true;
    }
    const uid_t nobody = 65534;
    setfsuid(nobody);
    if (static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1))) != nobody)
        return false;
    action();
    setfsuid(0);
    return static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1))) == 0;
}

TEST_F(Startup, ReadOnlyFolderWithAWritableDatabaseUsesTheUserDataFolder)
{
    // An installed program: kvr.db beside it may be written, its folder may not, so the
    // database could not create its journal there and every write would fail.
    const QString exe = FDir.filePath("installed");
    const QString data = FDir.filePath("userdata/Tesvorn");
    ASSERT_TRUE(QDir().mkpath(exe));
    const QString installed = QDir(exe).filePath(RefDbFileName);
    StartReferenceDatabase(installed);
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
        | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(FDir.path(), all));
    ASSERT_TRUE(QFile::setPermissions(installed, all & ~(QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther)));
    ASSERT_TRUE(QFile::setPermissions(exe, readOnly));

    QString folder, path;
    bool fileWritable = false, folderWritable = true, wrote = false;
    const bool asUser = AsOrdinaryUser([&] {
        QFile file(installed);
        fileWritable = file.open(QIODevice::ReadWrite);
        file.close();
        QFile probe(QDir(exe).filePath("probe"));
        folderWritable = probe.open(QIODevice::WriteOnly);
        folder = RefDbChooseFolder(exe, data);
        path = RefDbChoosePath(exe, data);
        TRefDbStartup r = StartReferenceDatabase(path);
        if (r.Database) {
            r.Database->ExecSQL("insert into ABParams (name) values ('written')");
            wrote = Rows(*r.Database, "ABParams") == 1;
        }
    });
    QFile::setPermissions(exe, all);
    if (!asUser)
        GTEST_SKIP() << "the rights of an ordinary user cannot be taken here";
    ASSERT_TRUE(fileWritable) << "the case under test: the file itself may be written";
    ASSERT_FALSE(folderWritable) << "the case under test: its folder may not";
    EXPECT_EQ(folder, QDir::cleanPath(data));
    EXPECT_EQ(path, QDir(data).filePath(RefDbFileName));
    EXPECT_TRUE(wrote) << "the database in the user's data folder takes writes";
    EXPECT_EQ(Rows(*StartReferenceDatabase(installed).Database, "ABParams"), 0) << "the installed file is untouched";
}

TEST_F(Startup, InstalledDatabaseIsCopiedOnceIntoTheUserDataFolder)
{
    const QString installed = Path("installed-kvr.db");
    {
        TRefDbStartup r = StartReferenceDatabase(installed);
        ASSERT_TRUE(r.Database);
        r.Database->ExecSQL("delete from InitialParams where id > 2");
    }
    ASSERT_TRUE(QFile::setPermissions(installed, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray original = FileBytes(installed);

    const QString target = Path("kvr.db");
    ASSERT_TRUE(RefDbAdoptInstalledFile(installed, target));
    EXPECT_EQ(FileBytes(target), original);
    EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::WriteOwner);
    EXPECT_FALSE(QFile::exists(target + ".part"));

    // Started from the copy: an existing file, so nothing is created or filled.
    TRefDbStartup r = StartReferenceDatabase(target);
    ASSERT_TRUE(r.Database);
    EXPECT_FALSE(r.FileCreated);
    EXPECT_EQ(Rows(*r.Database, "InitialParams"), 2);
    r.Database->ExecSQL("delete from InitialParams");
    r.Database.reset();

    // The user's own file is never replaced, and the installed one never changed.
    EXPECT_FALSE(RefDbAdoptInstalledFile(installed, target));
    EXPECT_NE(FileBytes(target), original);
    EXPECT_EQ(FileBytes(installed), original);
    // Nothing to adopt: a missing or empty installed file.
    EXPECT_FALSE(RefDbAdoptInstalledFile(Path("none.db"), Path("other.db")));
    EXPECT_FALSE(QFile::exists(Path("other.db")));
}
