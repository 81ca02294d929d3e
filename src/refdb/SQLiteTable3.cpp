// The access layer over the SQLite 3 C API: statements go in as Windows-1251, results
// come back fully buffered and converted to Unicode, and every failure becomes one
// ESQLiteException with the result code, its text, the statement and SQLite's message.
#include "SQLiteTable3.h"

#include <uCodePage.h>
#include <uNumberText.h>

#include <sqlite3.h>

ESQLiteException::ESQLiteException(const QString& message)
    : FMessage(message), FWhat(message.toUtf8().toStdString())
{
}

QString SQLiteResultCodeText(int code)
{
    static const char* const texts[] = {
        "Successful result",
        "SQL error or missing database",
        "An internal logic error in SQLite",
        "Access permission denied",
        "Callback routine requested an abort",
        "The database file is locked",
        "A table in the database is locked",
        "A malloc() failed",
        "Attempt to write a readonly database",
        "Operation terminated by sqlite3_interrupt()",
        "Some kind of disk I/O error occurred",
        "The database disk image is malformed",
        "(Internal Only) Table or record not found",
        "Insertion failed because database is full",
        "Unable to open the database file",
        "Database lock protocol error",
        "Database is empty",
        "The database schema changed",
        "Too much data for one row of a table",
        "Abort due to contraint violation",
        "Data type mismatch",
        "Library used incorrectly",
        "Uses OS features not supported on host",
        "Authorization denied",
        "Auxiliary database format error",
        "2nd parameter to sqlite3_bind out of range",
        "File opened that is not a database file",
    };
    if (code >= 0 && code < static_cast<int>(std::size(texts)))
        return QString::fromLatin1(texts[code]);
    if (code == SQLITE_ROW)
        return QStringLiteral("sqlite3_step() has another row ready");
    if (code == SQLITE_DONE)
        return QStringLiteral("sqlite3_step() has finished executing");
    return QStringLiteral("Unknown SQLite Error Code \"%1\"").arg(code);
}

// ---------------------------------------------------------------------------------------
// TSQLiteTable

QString TSQLiteTable::Columns(int i) const
{
    return i >= 0 && i < FColumns.size() ? FColumns[i] : QString();
}

TSQLiteTable::TColumnType TSQLiteTable::ColumnType(int i) const
{
    return i >= 0 && i < static_cast<int>(FTypes.size()) ? FTypes[static_cast<size_t>(i)] : ctText;
}

bool TSQLiteTable::Next()
{
    if (Eof())
        return false;
    ++FRow;
    return true;
}

bool TSQLiteTable::FieldIsNull(int i) const
{
    if (Eof() || i < 0 || i >= ColCount())
        return false;
    return std::holds_alternative<std::monostate>(FRows[static_cast<size_t>(FRow)][static_cast<size_t>(i)]);
}

QString TSQLiteTable::FieldAsString(int i) const
{
    if (Eof())
        throw ESQLiteException(QStringLiteral("Table is at End of File"));
    if (i < 0 || i >= ColCount())
        throw ESQLiteException(QStringLiteral("Column index out of range"));
    const TValue& v = FRows[static_cast<size_t>(FRow)][static_cast<size_t>(i)];
    const TColumnType type = FTypes[static_cast<size_t>(i)];
    if (std::holds_alternative<std::monostate>(v))
        return type == ctInteger || type == ctFloat ? QStringLiteral("0") : QString();
    if (const auto* n = std::get_if<int64_t>(&v))
        return QString::number(*n);
    if (const auto* d = std::get_if<double>(&v))
        return FormatGeneral(static_cast<long double>(*d));
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    const QByteArray& bytes = std::get<QByteArray>(v);
    return FromCp1251(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QString TSQLiteTable::FieldAsStringByName(const QString& fieldName) const
{
    if (FColumns.isEmpty())
        throw ESQLiteException(QStringLiteral("Field ") + fieldName + QStringLiteral(" Not found. Empty dataset"));
    const int i = FColumns.indexOf(fieldName.toUpper());
    if (i < 0)
        throw ESQLiteException(QStringLiteral("Field not found in dataset: ") + fieldName);
    if (Eof())
        throw ESQLiteException(QStringLiteral("Table is at End of File"));
    return FieldAsString(i);
}

// ---------------------------------------------------------------------------------------
// TSQLiteDatabase

TSQLiteDatabase::TSQLiteDatabase(const QString& fileName) : FFileName(fileName)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(fileName.toUtf8().constData(), &db);
    if (rc != SQLITE_OK) {
        QString message;
        if (db) {
            message = QStringLiteral("Failed to open database \"%1\" : %2")
                          .arg(fileName, QString::fromUtf8(sqlite3_errmsg(db)));
            sqlite3_close(db);
        } else {
            message = QStringLiteral("Failed to open database \"%1\" : unknown error").arg(fileName);
        }
        throw ESQLiteException(message);
    }
    FDB = db;
}

TSQLiteDatabase::~TSQLiteDatabase()
{
    Destroy();
}

std::unique_ptr<TSQLiteDatabase> TSQLiteDatabase::Create(const QString& fileName)
{
    return std::make_unique<TSQLiteDatabase>(fileName);
}

void TSQLiteDatabase::Destroy()
{
    if (FDB) {
        // Every statement of the layer is finalized before its call returns, so plain
        // close succeeds; close_v2 would only hide a leak.
        sqlite3_close(FDB);
        FDB = nullptr;
    }
}

int64_t TSQLiteDatabase::LastInsertRowId() const
{
    return FDB ? sqlite3_last_insert_rowid(FDB) : 0;
}

void TSQLiteDatabase::RaiseError(const QString& message, const QString& sql) const
{
    const int code = FDB ? sqlite3_errcode(FDB) : SQLITE_OK;
    if (code == SQLITE_OK)
        throw ESQLiteException(message);
    // SQLite echoes parts of the statement in its messages, and the statement went in as
    // Windows-1251, so its message is read back the same way (ASCII is unchanged).
    const char* own = sqlite3_errmsg(FDB);
    throw ESQLiteException(message + QStringLiteral(".\rError [") + QString::number(code) + QStringLiteral("]: ")
                           + SQLiteResultCodeText(code) + QStringLiteral(".\r\"") + sql + QStringLiteral("\": ")
                           + FromCp1251(own ? std::string_view(own) : std::string_view()));
}

sqlite3_stmt* TSQLiteDatabase::Prepare(const QString& sql, const TSQLiteParams& params)
{
    if (!FDB)
        throw ESQLiteException(QStringLiteral("Database is not open"));
    const std::string text = ToCp1251(sql);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(FDB, text.c_str(), static_cast<int>(text.size()), &stmt, &tail) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        RaiseError(QStringLiteral("Error executing SQL"), sql);
    }
    if (!stmt)
        RaiseError(QStringLiteral("Could not prepare SQL statement"), sql);

    const int wanted = sqlite3_bind_parameter_count(stmt);
    if (wanted != static_cast<int>(params.size())) {
        sqlite3_finalize(stmt);
        throw ESQLiteException(QStringLiteral("Statement expects %1 parameters, %2 given: \"%3\"")
                                   .arg(wanted).arg(params.size()).arg(sql));
    }
    for (int i = 0; i < wanted; ++i) {
        const TSQLiteParam& p = params[static_cast<size_t>(i)];
        int rc = SQLITE_OK;
        if (const auto* n = std::get_if<int64_t>(&p)) {
            rc = sqlite3_bind_int64(stmt, i + 1, *n);
        } else if (const auto* s = std::get_if<QString>(&p)) {
            const std::string bytes = ToCp1251(*s);
            rc = sqlite3_bind_text(stmt, i + 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        } else {
            rc = sqlite3_bind_null(stmt, i + 1);
        }
        if (rc != SQLITE_OK) {
            // Built before the statement is released, which may clear the connection's code.
            try {
                RaiseError(QStringLiteral("Error executing SQL"), sql);
            } catch (...) {
                sqlite3_finalize(stmt);
                throw;
            }
        }
    }
    return stmt;
}

void TSQLiteDatabase::ExecSQL(const QString& sql, const TSQLiteParams& params)
{
    sqlite3_stmt* stmt = Prepare(sql, params);
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        sqlite3_reset(stmt);
        // Built before the statement is released, which may clear the connection's code.
        try {
            RaiseError(QStringLiteral("Error executing SQL statement"), sql);
        } catch (...) {
            sqlite3_finalize(stmt);
            throw;
        }
    }
    sqlite3_finalize(stmt);
}

bool TSQLiteDatabase::TableExists(const QString& tableName)
{
    const TSQLiteTable t = GetTable(QStringLiteral("select [sql] from sqlite_master where [type] = 'table' and lower(name) = ? "),
                                    {tableName.toLower()});
    return t.Count() > 0;
}

static TSQLiteTable::TColumnType TypeFromDeclared(const char* declared, int firstValueType)
{
    if (declared) {
        const QByteArray d = QByteArray(declared).toUpper();
        if (d == "INTEGER" || d == "BOOLEAN")
            return TSQLiteTable::ctInteger;
        if (d == "NUMERIC" || d == "FLOAT" || d == "DOUBLE" || d == "REAL")
            return TSQLiteTable::ctFloat;
        if (d == "BLOB")
            return TSQLiteTable::ctBlob;
        return TSQLiteTable::ctText;
    }
    switch (firstValueType) {
    case SQLITE_INTEGER: return TSQLiteTable::ctInteger;
    case SQLITE_FLOAT: return TSQLiteTable::ctFloat;
    case SQLITE_BLOB: return TSQLiteTable::ctBlob;
    default: return TSQLiteTable::ctText;
    }
}

TSQLiteTable TSQLiteDatabase::GetTable(const QString& sql, const TSQLiteParams& params)
{
    sqlite3_stmt* stmt = Prepare(sql, params);
    TSQLiteTable table;
    try {
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE)
                break;
            if (rc == SQLITE_BUSY)
                RaiseError(QStringLiteral("Could not prepare SQL statement"), sql);
            if (rc != SQLITE_ROW) {
                sqlite3_reset(stmt);
                RaiseError(QStringLiteral("Could not retrieve data"), sql);
            }
            const int cols = sqlite3_column_count(stmt);
            if (table.FColumns.isEmpty() && table.FRows.empty()) {
                for (int c = 0; c < cols; ++c) {
                    const char* name = sqlite3_column_name(stmt, c);
                    table.FColumns << FromCp1251(name ? std::string_view(name) : std::string_view()).toUpper();
                    table.FTypes.push_back(TypeFromDeclared(sqlite3_column_decltype(stmt, c), sqlite3_column_type(stmt, c)));
                }
            }
            std::vector<TSQLiteTable::TValue> row(static_cast<size_t>(cols));
            for (int c = 0; c < cols; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                    continue;
                auto& cell = row[static_cast<size_t>(c)];
                switch (table.FTypes[static_cast<size_t>(c)]) {
                case TSQLiteTable::ctInteger:
                    cell = static_cast<int64_t>(sqlite3_column_int64(stmt, c));
                    break;
                case TSQLiteTable::ctFloat:
                    cell = sqlite3_column_double(stmt, c);
                    break;
                case TSQLiteTable::ctBlob: {
                    const void* data = sqlite3_column_blob(stmt, c);
                    cell = QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, c));
                    break;
                }
                case TSQLiteTable::ctText: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                    const int size = sqlite3_column_bytes(stmt, c);
                    cell = FromCp1251(std::string_view(text ? text : "", static_cast<size_t>(text ? size : 0)));
                    break;
                }
                }
            }
            table.FRows.push_back(std::move(row));
        }
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    sqlite3_finalize(stmt);
    table.FRow = 0;
    return table;
}
