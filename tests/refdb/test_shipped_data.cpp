// The shipped typical fire loads: RFC 4180 reading (the names hold commas, semicolons and
// quotes), refusal of faulty data, and the embedded file itself.
#include <LocaleGuard.h>
#include <uShippedData.h>

#include <QSet>
#include <gtest/gtest.h>

namespace {
std::vector<QStringList> Csv(const QString& text)
{
    std::vector<QStringList> records;
    QString error;
    EXPECT_TRUE(ParseCsv(text, &records, &error)) << error.toStdString();
    return records;
}

QString CsvError(const QString& text)
{
    std::vector<QStringList> records;
    QString error;
    EXPECT_FALSE(ParseCsv(text, &records, &error));
    EXPECT_TRUE(records.empty());
    return error;
}
} // namespace

// --- RFC 4180 -------------------------------------------------------------------------

TEST(CsvReading, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks)
{
    const auto r = Csv("name,P1\r\n\"Мебель, \"\"офис\"\"; 0,75\",14002\r\n\"две\nстроки\",\r\n");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], QStringList({"name", "P1"}));
    EXPECT_EQ(r[1], QStringList({QStringLiteral("Мебель, \"офис\"; 0,75"), "14002"}));
    EXPECT_EQ(r[2], QStringList({QStringLiteral("две\nстроки"), ""}));
}

TEST(CsvReading, EmptyFieldsAndTheLastLine)
{
    EXPECT_EQ(Csv("a,,\"\"").at(0), QStringList({"a", "", ""})); // no final line break
    EXPECT_EQ(Csv("a\n\nb\n").size(), 3u);                       // a blank line is a record
    EXPECT_TRUE(Csv("").empty());
    EXPECT_EQ(Csv(",\n").at(0), QStringList({"", ""}));
}

TEST(CsvReading, MalformedQuotingIsRefusedWithItsLine)
{
    EXPECT_EQ(CsvError("a,b\n\"open,c\nd"), "CSV line 2: a quoted field is not closed");
    EXPECT_EQ(CsvError("a\n\"x\"y,b"), "CSV line 2: text after a closing quote");
    EXPECT_EQ(CsvError("ab\"c\",d"), "CSV line 1: a quote inside an unquoted field");
}

// --- Loads from CSV -----------------------------------------------------------------

TEST(ShippedLoads, ColumnsAreFoundByNameInAnyOrder)
{
    std::vector<TShippedLoad> loads;
    QString error;
    ASSERT_TRUE(ParseShippedLoads(QStringLiteral("\xFEFF" "source,ccc,Name,p2\n"
                                                 "http://x,0.9,\"Книги; \"\"архив\"\"\",0.0103\n"),
                                  &loads, &error))
        << error.toStdString();
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].Name, QStringLiteral("Книги; \"архив\""));
    EXPECT_EQ(loads[0].P2, "0.0103");
    EXPECT_EQ(loads[0].CCC, "0.9");
    EXPECT_EQ(loads[0].P1, "");
}

TEST(ShippedLoads, FaultyRowsAreRefused)
{
    std::vector<TShippedLoad> loads;
    QString error;
    EXPECT_FALSE(ParseShippedLoads("name,P1\n\"Дерево\",\"13,8\"\n", &loads, &error));
    EXPECT_TRUE(error.contains("P1 is not a number")) << error.toStdString();
    EXPECT_FALSE(ParseShippedLoads("name,P1\n,13\n", &loads, &error));
    EXPECT_TRUE(error.contains("has no name"));
    EXPECT_FALSE(ParseShippedLoads("title,P1\nx,1\n", &loads, &error));
    EXPECT_TRUE(loads.empty());
}

TEST(ShippedLoads, NumbersAreStoredWithTheUserSeparator)
{
    EXPECT_EQ(ShippedNumberToStored("-1.154"), "-1,154");
    LocaleGuard english(LocaleGuard::English());
    EXPECT_EQ(ShippedNumberToStored("-1.154"), "-1.154");
}

// --- The embedded file ------------------------------------------------------------------

TEST(ShippedLoads, EmbeddedFileHoldsSixtyNineDistinctNamedLoads)
{
    const QString csv = ShippedLoadsCsv();
    ASSERT_FALSE(csv.isEmpty());
    std::vector<TShippedLoad> loads;
    QString error;
    ASSERT_TRUE(ParseShippedLoads(csv, &loads, &error)) << error.toStdString();
    ASSERT_EQ(loads.size(), 69u);
    QSet<QString> names;
    for (const TShippedLoad& l : loads) {
        names.insert(l.Name);
        // Every load gives at least the heat of combustion and the flame speed, which
        // the detection-time calculation needs.
        EXPECT_FALSE(l.P1.isEmpty()) << l.Name.toStdString();
        EXPECT_FALSE(l.P2.isEmpty()) << l.Name.toStdString();
    }
    // The dialog reads a load by name and refuses duplicated names.
    EXPECT_EQ(names.size(), 69);
    EXPECT_EQ(loads[0].Name,
              QStringLiteral("Автомобиль; 0,3 * (резина, бензин) + 0,15 * (ППУ, искожа ПВХ) + 0,1 * эмаль"));
    EXPECT_EQ(loads[0].P5, "-2.64");
}
