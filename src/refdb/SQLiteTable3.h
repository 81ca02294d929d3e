// The small access layer through which the program talks to its SQLite reference file:
// one connection (TSQLiteDatabase), the fully buffered result of one query
// (TSQLiteTable) and the one exception type of the layer (ESQLiteException).
// All text crosses into and out of the file as Windows-1251.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Raised by every failing operation of the layer; carries only its message text.
class ESQLiteException : public std::exception {
public:
    explicit ESQLiteException(const QString& message);
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FWhat.c_str(); } // UTF-8 of Message

private:
    QString FMessage;
    std::string FWhat;
};

// The text SQLite result code `code` stands for in our messages ("The database file is
// locked" for 5, "Unknown SQLite Error Code \"123\"" for codes without a text).
QString SQLiteResultCodeText(int code);

// A value handed to a statement as a parameter (sqlite3_bind_*): NULL, an integer or a
// text (converted to Windows-1251 when bound).
using TSQLiteParam = std::variant<std::monostate, int64_t, QString>;
using TSQLiteParams = std::vector<TSQLiteParam>;

// The buffered result of one query. Column names are upper-cased and kept in result
// order; column types are fixed from the first row. The current row starts at 0.
// The object is a plain value: it owns all its data and holds no statement.
class TSQLiteTable {
public:
    enum TColumnType { ctInteger, ctFloat, ctText, ctBlob };

    int Count() const { return static_cast<int>(FRows.size()); }
    int ColCount() const { return static_cast<int>(FColumns.size()); }
    // Upper-cased name of column i (0-based); empty for an index out of range.
    QString Columns(int i) const;
    TColumnType ColumnType(int i) const;
    int Row() const { return FRow; }

    // True when the current row index is not less than Count. (Named Eof because EOF is
    // the C library's macro.)
    bool Eof() const { return FRow >= Count(); }
    // Moves to the next row unless already at Eof; returns false when it could not move.
    bool Next();

    // Value of column i of the current row as text: an integer column gives its decimal
    // digits, a float column the general number format with the user's separator, a text
    // (or blob) column its text; NULL gives "" for text and blob, "0" for numbers.
    // Raises ESQLiteException "Table is at End of File" at EOF and
    // "Column index out of range" for a bad i.
    QString FieldAsString(int i) const;
    // FieldAsString of the column named `fieldName` (case ignored). Raises
    // "Field <name> Not found. Empty dataset" when the result had no rows,
    // "Field not found in dataset: <name>" when there is no such column,
    // "Table is at End of File" past the last row.
    QString FieldAsStringByName(const QString& fieldName) const;
    // Whether the value is NULL (false at EOF or for a bad index).
    bool FieldIsNull(int i) const;

private:
    friend class TSQLiteDatabase;
    using TValue = std::variant<std::monostate, int64_t, double, QString, QByteArray>;

    QStringList FColumns;
    std::vector<TColumnType> FTypes;
    std::vector<std::vector<TValue>> FRows;
    int FRow = 0;
};

// One connection to a database file. Not copyable; the owner destroys it.
// Every failing call raises ESQLiteException with the message
//   S + "." CR "Error [" code "]: " code text "." CR '"' statement '"' ": " SQLite's message
// or S alone when the connection reports no error code.
class TSQLiteDatabase {
public:
    // Opens (or creates, when missing) the file; the name goes to SQLite as UTF-8.
    // Raises "Failed to open database \"<file>\" : <SQLite's message>" on failure
    // (": unknown error" when SQLite gave no connection at all).
    explicit TSQLiteDatabase(const QString& fileName);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // The same as the constructor, for callers that keep the connection by pointer.
    static std::unique_ptr<TSQLiteDatabase> Create(const QString& fileName);
    // Closes the connection; later calls fail with "Database is not open". Idempotent.
    void Destroy();
    bool IsOpen() const { return FDB != nullptr; }
    const QString& FileName() const { return FFileName; }

    // Whether a table of that name exists, case ignored.
    bool TableExists(const QString& tableName);
    // Prepares one statement, binds `params` to its ?-parameters in order, runs it to
    // completion and releases it (also on failure).
    // Raises "Error executing SQL" (cannot prepare), "Could not prepare SQL statement"
    // (empty statement) or "Error executing SQL statement" (did not complete).
    void ExecSQL(const QString& sql, const TSQLiteParams& params = {});
    // Prepares, binds, steps through every row and returns the buffered result on row 0.
    // Raises as ExecSQL; a busy database while stepping gives "Could not prepare SQL
    // statement", any other step failure "Could not retrieve data". Never waits for a lock.
    TSQLiteTable GetTable(const QString& sql, const TSQLiteParams& params = {});

    // The last rowid inserted through this connection.
    int64_t LastInsertRowId() const;

private:
    sqlite3_stmt* Prepare(const QString& sql, const TSQLiteParams& params);
    [[noreturn]] void RaiseError(const QString& message, const QString& sql) const;

    sqlite3* FDB = nullptr;
    QString FFileName;
};
