// A fresh temporary folder per test for reference-database files, and a raw SQLite
// helper that reads a file behind the program's back (bytes as stored, no conversion).
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <ostream>
#include <string>

// Readable QString values in failure output.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class RefDbFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("kvr.db")) const { return FDir.filePath(name); }
    QTemporaryDir FDir;
};

// Runs `sql` on its own connection and returns the first column of the first row as raw
// bytes ("" when there is no row); fails the test on an error.
inline std::string RawScalar(const QString& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string result;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << file.toStdString();
        sqlite3_close(db);
        return result;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
    } else if (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        result.assign(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

inline QByteArray FileBytes(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
