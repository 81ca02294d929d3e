// Start-up of the reference database: where the file kvr.db lives, opening it, creating
// the four tables that are missing (an existing table is never altered) and filling a
// newly created file with the shipped typical fire loads. Reports by result; showing a
// message box is the main window's business.
#pragma once

#include "SQLiteTable3.h"

#include <QString>
#include <QStringList>
#include <memory>

// The texts of the box the main window shows when InitFailed is set.
inline const QString RefDbInitErrorText = QStringLiteral("Ошибка при инициализации базы данных");
inline const QString RefDbInitErrorCaption = QStringLiteral("Ошибка БД");

// The file name of the reference database.
inline const QString RefDbFileName = QStringLiteral("kvr.db");

// The folder the program keeps kvr.db in: the executable's folder when a file can be
// created there (whether kvr.db there is writable or not: without a writable folder the
// database cannot write its journal), otherwise the user's data folder
// (QStandardPaths::AppDataLocation), which is created when missing.
// Needs the QCoreApplication to exist. Returns the folder with no trailing separator.
QString RefDbDefaultFolder();

// The choice behind RefDbDefaultFolder: `exeFolder` when a file can be created there,
// otherwise `dataFolder` (created when missing); `exeFolder` again when `dataFolder` is
// empty.
QString RefDbChooseFolder(const QString& exeFolder, const QString& dataFolder);

// The full path of kvr.db for a program in `exeFolder`: RefDbChooseFolder's folder
// + "/kvr.db". When that is the data folder, it has no kvr.db yet and a (read-only)
// kvr.db stands beside the program, that file is copied there first, so the reference
// data installed with the program is what the user starts from; the original is not
// touched. A failed copy leaves the data folder without the file (start-up creates it).
QString RefDbChoosePath(const QString& exeFolder, const QString& dataFolder);

// The copy step of RefDbChoosePath: copies `installedFile` to `targetPath` when the target
// does not exist and the installed file is a non-empty file; the copy is made writable by
// its owner. Returns whether a copy was made. Never replaces an existing target.
bool RefDbAdoptInstalledFile(const QString& installedFile, const QString& targetPath);

// RefDbChoosePath for this program: its executable's folder and AppDataLocation.
QString RefDbDefaultPath();

// The outcome of start-up.
struct TRefDbStartup {
    // The connection; null when opening failed (then OpenError holds the
    // ESQLiteException message, and nothing else was attempted).
    std::unique_ptr<TSQLiteDatabase> Database;
    QString OpenError;
    QString FileName;

    // True when a table could not be tested or created, or a new file could not be
    // filled: the main window shows RefDbInitErrorText / RefDbInitErrorCaption with an
    // error icon and goes on. The connection stays open. InitErrorDetail holds the
    // database message behind it.
    bool InitFailed = false;
    QString InitErrorDetail;

    bool FileCreated = false;       // the file did not exist (or was empty) before
    QStringList CreatedTables;      // tables created now, in creation order
    int ShippedLoadsInserted = 0;   // InitialParams rows filled from the shipped data
    int ShippedValuesInserted = 0;  // AllParams rows filled from the shipped data
};

// The tables in their creation order, and their definitions.
QStringList RefDbTableNames(); // "InitialParams", "ABParams", "FireFighting", "AllParams"
QString RefDbTableDefinition(const QString& tableName); // the CREATE TABLE statement

// Opens (or creates) the database file at `fileName` and completes it:
// 1. opens it; a failure ends start-up with Database null and OpenError set;
// 2. for InitialParams, ABParams, FireFighting, AllParams in this order, creates the
//    table when TableExists is false; the first failure sets InitFailed and skips the
//    rest;
// 3. when the file was new (absent or of zero length) and all four tables were created,
//    fills InitialParams with the shipped typical fire loads and AllParams with their
//    property values as named values, in one transaction (all or nothing; a failure sets
//    InitFailed). An existing file is never filled.
// Never throws.
TRefDbStartup StartReferenceDatabase(const QString& fileName);

// The program's start-up: StartReferenceDatabase(RefDbDefaultPath()).
TRefDbStartup StartReferenceDatabase();
