// Shipped typical fire loads: CSV reading and copying into a new reference database.
#include "uShippedData.h"

#include <uNumberText.h>

#include <QFile>
#include <QHash>

bool ParseCsv(const QString& text, std::vector<QStringList>* records, QString* error)
{
    records->clear();
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool quotedField = false;   // the current field began with a quote
    bool afterClosing = false;  // the quote that closed it has been read
    bool recordStarted = false; // anything read since the last record break
    int line = 1;
    int quoteLine = 1;
    const int n = static_cast<int>(text.size());

    auto endField = [&] {
        record << field;
        field.clear();
        quotedField = afterClosing = false;
    };
    auto endRecord = [&] {
        endField();
        records->push_back(record);
        record.clear();
        recordStarted = false;
    };
    auto fail = [&](const QString& what, int atLine) {
        if (error)
            *error = QStringLiteral("CSV line %1: %2").arg(atLine).arg(what);
        records->clear();
        return false;
    };

    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    inQuotes = false;
                    afterClosing = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            endField();
            recordStarted = true;
        } else if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
            // CRLF: handled by the LF
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            ++line;
        } else if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || quotedField)
                return fail(QStringLiteral("a quote inside an unquoted field"), line);
            inQuotes = quotedField = recordStarted = true;
            quoteLine = line;
        } else {
            if (afterClosing)
                return fail(QStringLiteral("text after a closing quote"), line);
            field += c;
            recordStarted = true;
        }
    }
    if (inQuotes)
        return fail(QStringLiteral("a quoted field is not closed"), quoteLine);
    if (recordStarted || !field.isEmpty() || !record.isEmpty())
        endRecord();
    return true;
}

bool ParseShippedLoads(const QString& csvText, std::vector<TShippedLoad>* loads, QString* error)
{
    loads->clear();
    std::vector<QStringList> records;
    const bool bom = csvText.startsWith(QChar(0xFEFF));
    if (!ParseCsv(bom ? csvText.mid(1) : csvText, &records, error))
        return false;
    auto fail = [&](const QString& what) {
        if (error)
            *error = what;
        loads->clear();
        return false;
    };
    if (records.empty())
        return fail(QStringLiteral("the CSV text has no header row"));

    QHash<QString, int> columnOf;
    for (int i = 0; i < records[0].size(); ++i)
        columnOf.insert(records[0][i].trimmed().toUpper(), i);
    if (!columnOf.contains(QStringLiteral("NAME")))
        return fail(QStringLiteral("the CSV header has no \"name\" column"));

    struct TProperty {
        const char* column;
        QString TShippedLoad::*field;
    };
    static const TProperty properties[] = {
        {"P1", &TShippedLoad::P1},       {"P2", &TShippedLoad::P2},
        {"P3", &TShippedLoad::P3},       {"P4", &TShippedLoad::P4},
        {"P5", &TShippedLoad::P5},       {"P6CO2", &TShippedLoad::P6CO2},
        {"P6CO", &TShippedLoad::P6CO},   {"P6HCL", &TShippedLoad::P6HCL},
        {"PFLAMMABLELOAD", &TShippedLoad::PFLAMMABLELOAD}, {"CCC", &TShippedLoad::CCC},
    };

    for (size_t r = 1; r < records.size(); ++r) {
        const QStringList& rec = records[r];
        if (rec.size() == 1 && rec[0].isEmpty())
            continue; // a blank line
        auto value = [&](const QString& column) {
            const int i = columnOf.value(column, -1);
            return i >= 0 && i < rec.size() ? rec[i].trimmed() : QString();
        };
        TShippedLoad load;
        load.Name = value(QStringLiteral("NAME"));
        if (load.Name.isEmpty())
            return fail(QStringLiteral("CSV record %1 has no name").arg(r + 1));
        for (const TProperty& p : properties) {
            const QString text = value(QString::fromLatin1(p.column));
            long double v = 0;
            if (!text.isEmpty() && !TryParseNumber(text, &v, QLatin1Char('.')))
                return fail(QStringLiteral("CSV record %1 (%2): %3 is not a number: \"%4\"")
                                .arg(r + 1)
                                .arg(load.Name, QString::fromLatin1(p.column), text));
            load.*p.field = text;
        }
        loads->push_back(load);
    }
    return true;
}

QString ShippedLoadsCsv()
{
    QFile f(QStringLiteral(":/tesvorn/refdb/typical_fire_loads.csv"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QString ShippedNumberToStored(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('.'), DecimalSeparator());
    return s;
}

void InsertShippedLoads(TSQLiteDatabase& db, const std::vector<TShippedLoad>& loads, int* loadsInserted,
                        int* valuesInserted)
{
    struct TProperty {
        QString TShippedLoad::*field;
        int code;
    };
    // Category codes of the named values, in the order of the InitialParams columns.
    static const TProperty properties[] = {
        {&TShippedLoad::P1, 1},     {&TShippedLoad::P2, 2},    {&TShippedLoad::P3, 3},
        {&TShippedLoad::P4, 4},     {&TShippedLoad::P5, 5},    {&TShippedLoad::P6CO2, 61},
        {&TShippedLoad::P6CO, 62},  {&TShippedLoad::P6HCL, 63}, {&TShippedLoad::PFLAMMABLELOAD, 6},
        {&TShippedLoad::CCC, 7},
    };
    int nLoads = 0, nValues = 0;
    for (const TShippedLoad& load : loads) {
        TSQLiteParams row{load.Name};
        for (const TProperty& p : properties) {
            const QString& text = load.*p.field;
            row.push_back(text.isEmpty() ? TSQLiteParam{} : TSQLiteParam{ShippedNumberToStored(text)});
        }
        db.ExecSQL(QStringLiteral("insert into InitialParams (name, P1, P2, P3, P4, P5, P6CO2, P6CO, P6HCL, "
                                  "PFLAMMABLELOAD, CCC) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   row);
        ++nLoads;
        for (const TProperty& p : properties) {
            const QString& text = load.*p.field;
            if (text.isEmpty())
                continue;
            db.ExecSQL(QStringLiteral("insert into AllParams (name, value, category) values (?, ?, ?)"),
                       {load.Name, ShippedNumberToStored(text), QString::number(p.code)});
            ++nValues;
        }
    }
    if (loadsInserted)
        *loadsInserted = nLoads;
    if (valuesInserted)
        *valuesInserted = nValues;
}
