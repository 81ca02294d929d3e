// Start-up of the reference database. The file goes beside the executable as the program
// always kept it; an installed program usually cannot write there, and then the file
// lives in the user's data folder instead, so that the first start can still create it.
#include "uRefDbStartup.h"

#include "uShippedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

static void InitShippedResources()
{
    // The resource lives in a static library; registering it explicitly keeps it
    // available whatever the linker kept.
    Q_INIT_RESOURCE(tesvorn_refdb_data);
}

QStringList RefDbTableNames()
{
    return {QStringLiteral("InitialParams"), QStringLiteral("ABParams"), QStringLiteral("FireFighting"),
            QStringLiteral("AllParams")};
}

QString RefDbTableDefinition(const QString& tableName)
{
    const QString t = tableName.toLower();
    if (t == QLatin1String("initialparams"))
        return QStringLiteral("CREATE TABLE InitialParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, P1 TEXT, "
                              "P2 TEXT, P3 TEXT, P4 TEXT, P5 TEXT, P6CO2 TEXT, P6CO TEXT, P6HCL TEXT, "
                              "PFLAMMABLELOAD TEXT, CCC TEXT)");
    if (t == QLatin1String("abparams"))
        return QStringLiteral("CREATE TABLE ABParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, A TEXT, B TEXT)");
    if (t == QLatin1String("firefighting"))
        return QStringLiteral("CREATE TABLE FireFighting (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, P21 TEXT, "
                              "P18Closed TEXT, P19Closed TEXT, P20 TEXT, P18Opened TEXT, P19Opened TEXT)");
    if (t == QLatin1String("allparams"))
        return QStringLiteral("CREATE TABLE AllParams (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, value TEXT, "
                              "category TEXT)");
    return QString();
}

// Whether a file can be created in `folder` (and is removed again): tried for real, since
// permission bits say nothing about read-only mounts or the rights of an administrator.
// The folder decides, whatever the state of kvr.db in it: the database writes its journal
// beside the file, so a writable kvr.db in a folder that cannot be written still fails
// every write.
static bool FolderIsWritable(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("kvr-probe-XXXXXX")));
    return probe.open();
}

QString RefDbChooseFolder(const QString& exeFolder, const QString& dataFolder)
{
    if (dataFolder.isEmpty() || (!exeFolder.isEmpty() && FolderIsWritable(exeFolder)))
        return QDir::cleanPath(exeFolder);
    QDir().mkpath(dataFolder);
    return QDir::cleanPath(dataFolder);
}

QString RefDbDefaultFolder()
{
    return RefDbChooseFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool RefDbAdoptInstalledFile(const QString& installedFile, const QString& targetPath)
{
    const QFileInfo installed(installedFile);
    if (QFileInfo::exists(targetPath) || !installed.isFile() || installed.size() == 0)
        return false;
    const QString part = targetPath + QStringLiteral(".part");
    QFile::remove(part);
    // Copied under another name and renamed, so an interrupted copy never passes for the
    // database; the copy must be writable even though the original was not.
    if (!QFile::copy(installedFile, part))
        return false;
    QFile::setPermissions(part, QFile::permissions(part) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    if (!QFile::rename(part, targetPath)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

QString RefDbChoosePath(const QString& exeFolder, const QString& dataFolder)
{
    const QString folder = RefDbChooseFolder(exeFolder, dataFolder);
    const QString path = QDir(folder).filePath(RefDbFileName);
    if (folder != QDir::cleanPath(exeFolder))
        RefDbAdoptInstalledFile(QDir(exeFolder).filePath(RefDbFileName), path);
    return path;
}

QString RefDbDefaultPath()
{
    return RefDbChoosePath(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

TRefDbStartup StartReferenceDatabase(const QString& fileName)
{
    TRefDbStartup r;
    r.FileName = fileName;
    const QFileInfo before(fileName);
    r.FileCreated = !before.exists() || (before.isFile() && before.size() == 0);

    try {
        r.Database = TSQLiteDatabase::Create(fileName);
    } catch (const ESQLiteException& e) {
        r.OpenError = e.Message();
        r.FileCreated = false;
        return r;
    }

    TSQLiteDatabase& db = *r.Database;
    try {
        for (const QString& table : RefDbTableNames()) {
            if (!db.TableExists(table.toLower())) {
                db.ExecSQL(RefDbTableDefinition(table));
                r.CreatedTables << table;
            }
        }
    } catch (const ESQLiteException& e) {
        r.InitFailed = true;
        r.InitErrorDetail = e.Message();
        return r;
    }

    if (!r.FileCreated || r.CreatedTables.size() != RefDbTableNames().size())
        return r;

    // A new file gets the shipped loads so that the dialog's choice and the editor's
    // pickers are useful from the first start. One transaction: hundreds of rows, each
    // committed on its own, would take seconds, and a half-filled file must not remain.
    InitShippedResources();
    std::vector<TShippedLoad> loads;
    QString error;
    const QString csv = ShippedLoadsCsv();
    if (csv.isEmpty() || !ParseShippedLoads(csv, &loads, &error)) {
        r.InitFailed = true;
        r.InitErrorDetail = csv.isEmpty() ? QStringLiteral("The shipped typical fire loads are missing") : error;
        return r;
    }
    try {
        db.ExecSQL(QStringLiteral("begin transaction"));
        try {
            InsertShippedLoads(db, loads, &r.ShippedLoadsInserted, &r.ShippedValuesInserted);
            db.ExecSQL(QStringLiteral("commit transaction"));
        } catch (const ESQLiteException&) {
            r.ShippedLoadsInserted = r.ShippedValuesInserted = 0;
            try {
                db.ExecSQL(QStringLiteral("rollback transaction"));
            } catch (const ESQLiteException&) {
                // The failed commit may already have ended the transaction.
            }
            throw;
        }
    } catch (const ESQLiteException& e) {
        r.InitFailed = true;
        r.InitErrorDetail = e.Message();
    }
    return r;
}

TRefDbStartup StartReferenceDatabase()
{
    return StartReferenceDatabase(RefDbDefaultPath());
}
