// Shared pieces of tesvorn-cli: the verb registry, JSON input and output, and the
// failure convention (exit 2 with one line on stderr for bad usage or bad input).
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

// A verb gets the arguments after its own words and returns the exit code.
using TCliVerb = std::function<int(const QStringList& args)>;

// Registers a verb under its words ("calc height-tables", "project dump", "fireload").
// Used from a static object in each Verb*.cpp file.
struct TCliVerbRegistration {
    TCliVerbRegistration(const char* words, const char* usage, TCliVerb verb);
};

// Thrown by a verb for bad usage or bad input; main prints the message and exits with `code`.
struct ECliError : std::runtime_error {
    ECliError(const QString& message, int exitCode = 2)
        : std::runtime_error(message.toStdString()), code(exitCode) { }
    int code;
};

// Reads standard input as one JSON document; throws ECliError (2) if it does not parse.
QJsonDocument ReadStdinJson();
// Reads standard input as one JSON object; throws ECliError (2) otherwise.
QJsonObject ReadStdinObject();

// Writes a JSON value to standard output, indented, with a final newline.
void PrintJson(const QJsonObject& object);
void PrintJson(const QJsonArray& array);

// A real as JSON: a number that round-trips a double. NaN and infinities never reach the
// output: they throw ECliError (exit 1), since they mean a calculation fault.
QJsonValue JsonReal(long double value);

// Reads a real from a JSON value: a number, or throws ECliError (2) naming `key`. Every
// verb reads its numbers here: the number is taken through its shortest decimal text
// (RealFromShortestDecimal), so 4.8 in JSON is the 4.8 that "4,8" typed in the window is.
long double RealFromJson(const QJsonValue& value, const QString& key);
int RealToIntFromJson(const QJsonValue& value, const QString& key); // an integral number
bool BoolFromJson(const QJsonValue& value, const QString& key);
QString StringFromJson(const QJsonValue& value, const QString& key);
