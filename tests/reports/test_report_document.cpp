// Tests of the report engine's document operations on small files built here: matching
// across runs, block deletion with the word processor's selection rules, table filling,
// the report number format, saving, and files that are not documents.
#include "DocxTestFiles.h"
#include "LocaleGuard.h"

#include "uReportDocument.h"
#include "uReportNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

using namespace DocxTest;

namespace {

TReportDocument& Open(TReportDocument& doc, const QByteArray& data)
{
    QString error;
    EXPECT_TRUE(doc.OpenData(data, &error)) << error.toStdString();
    return doc;
}

QByteArray Saved(const TReportDocument& doc)
{
    QByteArray data;
    QString error;
    EXPECT_TRUE(doc.SaveData(&data, &error)) << error.toStdString();
    return data;
}

// The paragraphs of the main text after a save and a fresh open: what a reader sees.
QStringList Reread(const TReportDocument& doc)
{
    TReportDocument again;
    Open(again, Saved(doc));
    return again.Paragraphs();
}

struct TRunView {
    std::string text;
    bool bold = false, italic = false;
};

// The runs of the n-th body paragraph of a saved file: text and two formatting flags.
std::vector<TRunView> Runs(const QByteArray& file, int n)
{
    pugi::xml_document doc;
    EXPECT_TRUE(LoadPart(file, QStringLiteral("word/document.xml"), doc));
    std::vector<TRunView> runs;
    int i = 0;
    for (pugi::xml_node p : doc.child("w:document").child("w:body").children("w:p")) {
        if (i++ != n)
            continue;
        for (pugi::xml_node r : p.children("w:r")) {
            TRunView v;
            for (pugi::xml_node t : r.children("w:t"))
                v.text += t.text().get();
            v.bold = bool(r.child("w:rPr").child("w:b"));
            v.italic = bool(r.child("w:rPr").child("w:i"));
            runs.push_back(v);
        }
    }
    return runs;
}

} // namespace

// Replacement on the visible text of a paragraph.

TEST(ReportDocumentReplace, PlaceholderSplitOverThreeRunsTakesTheFirstRunsFormatting)
{
    // Split by a spelling mark, a revision id and an italic tail, as a word processor does.
    const QString runs = R(QStringLiteral("Помещение: ")) + R(QStringLiteral("$zo"), QStringLiteral("<w:b/>"))
        + QStringLiteral("<w:proofErr w:type=\"spellStart\"/>")
        + QStringLiteral("<w:r w:rsidR=\"00AB12CD\"><w:rPr><w:b/></w:rPr><w:t>nen</w:t></w:r>")
        + QStringLiteral("<w:proofErr w:type=\"spellEnd\"/>")
        + R(QStringLiteral("ame конец"), QStringLiteral("<w:i/>"));
    TReportDocument doc;
    Open(doc, MakeDocx(PRuns(runs)));
    EXPECT_EQ(doc.ReplaceText(QStringLiteral("$zonename"), QStringLiteral("Склад №1")), 1);

    EXPECT_EQ(doc.Paragraphs(), QStringList { QStringLiteral("Помещение: Склад №1 конец") });
    const auto view = Runs(Saved(doc), 0);
    // The middle run is left empty and goes; the tail keeps its italic for " конец".
    ASSERT_EQ(view.size(), 3u);
    EXPECT_EQ(view[0].text, "Помещение: ");
    EXPECT_EQ(view[1].text, "Склад №1");
    EXPECT_TRUE(view[1].bold);
    EXPECT_EQ(view[2].text, " конец");
    EXPECT_TRUE(view[2].italic);
    EXPECT_FALSE(view[2].bold);
}

TEST(ReportDocumentReplace, LettersMatchWithoutRegardToCaseAndReplacementsAreNotSearchedAgain)
{
    TReportDocument doc;
    Open(doc,
        MakeDocx(
            P(QStringLiteral("$A и $a, затем $BOSClassText")) + P(QStringLiteral("$Значение $ЗНАЧЕНИЕ"))));
    EXPECT_EQ(doc.ReplaceText(QStringLiteral("$a"), QStringLiteral("$a$a")), 2);
    EXPECT_EQ(doc.ReplaceText(QStringLiteral("$bosclasstext"), QStringLiteral("A3")), 1);
    EXPECT_EQ(doc.ReplaceText(QStringLiteral("$значение"), QString()), 2);
    EXPECT_EQ(doc.ReplaceText(QString(), QStringLiteral("x")), 0);
    EXPECT_EQ(Reread(doc), (QStringList { QStringLiteral("$a$a и $a$a, затем A3"), QStringLiteral(" ") }));
}

TEST(ReportDocumentReplace, PageHeadersAndFootersAreReplacedToo)
{
    TReportDocument doc;
    Open(doc,
        MakeDocx(P(QStringLiteral("Текст $zonename")),
            PRuns(
                R(QStringLiteral("Помещение $zone")) + R(QStringLiteral("name"), QStringLiteral("<w:b/>")))));
    EXPECT_EQ(doc.ReplaceText(QStringLiteral("$zonename"), QStringLiteral("Архив")), 2);
    TReportDocument again;
    Open(again, Saved(doc));
    EXPECT_EQ(again.Paragraphs(), QStringList { QStringLiteral("Текст Архив") });
    EXPECT_EQ(again.HeaderFooterParagraphs(), QStringList { QStringLiteral("Помещение Архив") });
}

TEST(ReportDocumentReplace, TabsAndBreaksOfAReplacementBecomeMarksAndControlsAreDropped)
{
    TReportDocument doc;
    Open(doc, MakeDocx(P(QStringLiteral("[$x]"))));
    doc.ReplaceText(QStringLiteral("$x"), QStringLiteral("a\tb\r\nc\x01"));
    EXPECT_EQ(Reread(doc), QStringList { QStringLiteral("[a\tb\nc]") });
}

// Block deletion with the selection rules of the word processor.

TEST(ReportDocumentBlocks, BlockOverParagraphsAndATableMergesTheTextAroundItIntoTheFirstParagraph)
{
    TReportDocument doc;
    Open(doc,
        MakeDocx(P(QStringLiteral("Заголовок"))
            + P(QStringLiteral("до <b>начало"), QStringLiteral("Heading1")) + P(QStringLiteral("середина"))
            + Table({ { QStringLiteral("ячейка") } }) + P(QStringLiteral("конец</b> после"))
            + P(QStringLiteral("хвост"))));
    EXPECT_TRUE(doc.DeleteBlock(QStringLiteral("<b>"), QStringLiteral("</b>")));
    EXPECT_EQ(Reread(doc),
        (QStringList { QStringLiteral("Заголовок"), QStringLiteral("до  после"), QStringLiteral("хвост") }));

    pugi::xml_document xml;
    ASSERT_TRUE(LoadPart(Saved(doc), QStringLiteral("word/document.xml"), xml));
    const pugi::xml_node body = xml.child("w:document").child("w:body");
    EXPECT_FALSE(body.child("w:tbl"));
    pugi::xml_node merged = body.child("w:p").next_sibling("w:p");
    EXPECT_STREQ(merged.child("w:pPr").child("w:pStyle").attribute("w:val").value(), "Heading1");
}

TEST(ReportDocumentBlocks, BlockInsideOneParagraphAndBlocksWhoseEndsLieInDifferentContainers)
{
    TReportDocument doc;
    Open(doc,
        MakeDocx(P(QStringLiteral("Начало")) + P(QStringLiteral("a<x>b</x>c"))
            + P(QStringLiteral("перед <y>текст"))
            + Table({ { QStringLiteral("в ячейке</y> остаток"), QStringLiteral("вторая") } })
            + P(QStringLiteral("после"))));
    EXPECT_TRUE(doc.DeleteBlock(QStringLiteral("<x>"), QStringLiteral("</x>")));
    // From a body paragraph into a cell: the table and its cells stay, the text goes.
    EXPECT_TRUE(doc.DeleteBlock(QStringLiteral("<y>"), QStringLiteral("</y>")));
    EXPECT_EQ(Reread(doc),
        (QStringList { QStringLiteral("Начало"), QStringLiteral("ac"), QStringLiteral("перед "),
            QStringLiteral(" остаток"), QStringLiteral("вторая"), QStringLiteral("после") }));
}

TEST(ReportDocumentBlocks, AStartMarkerAtPositionZeroIsNeverDeletedAndHoldsBackLaterBlocks)
{
    TReportDocument doc;
    Open(doc, MakeDocx(P(QStringLiteral("<v>первый</v>")) + P(QStringLiteral("x <v>второй</v> y"))));
    EXPECT_FALSE(doc.DeleteBlock(QStringLiteral("<v>"), QStringLiteral("</v>")));
    EXPECT_EQ(doc.DeleteAllBlocks(QStringLiteral("<v>"), QStringLiteral("</v>")), 0);
    EXPECT_EQ(doc.Paragraphs().size(), 2);

    // One character before it is enough: position 1 is not 0. Here the first block is the
    // first text of a table cell, which is still position 0 of the document.
    TReportDocument inTable;
    Open(inTable, MakeDocx(Table({ { QStringLiteral("<v>a</v>") } }) + P(QStringLiteral("b"))));
    EXPECT_FALSE(inTable.DeleteBlock(QStringLiteral("<v>"), QStringLiteral("</v>")));
    TReportDocument shifted;
    Open(shifted, MakeDocx(P(QString()) + P(QStringLiteral("<v>a</v>b"))));
    EXPECT_TRUE(shifted.DeleteBlock(QStringLiteral("<v>"), QStringLiteral("</v>")));
    EXPECT_EQ(shifted.Paragraphs(), (QStringList { QString(), QStringLiteral("b") }));
}

TEST(ReportDocumentBlocks, MissingMarkers)
{
    // No end marker after the start marker (one before it does not count): only the start
    // marker goes, and that counts as a deletion.
    TReportDocument doc;
    Open(doc, MakeDocx(P(QStringLiteral("x </v> a <v>b c"))));
    EXPECT_TRUE(doc.DeleteBlock(QStringLiteral("<v>"), QStringLiteral("</v>")));
    EXPECT_EQ(doc.Paragraphs(), QStringList { QStringLiteral("x </v> a b c") });
    // No start marker: nothing goes, although an end marker is there.
    EXPECT_FALSE(doc.DeleteBlock(QStringLiteral("<v>"), QStringLiteral("</v>")));
    EXPECT_EQ(doc.Paragraphs(), QStringList { QStringLiteral("x </v> a b c") });
}

TEST(ReportDocumentBlocks, OneCallDeletesAtMost51IdenticalBlocks)
{
    QString body = P(QStringLiteral("Отчет"));
    for (int i = 1; i <= 52; ++i)
        body += P(QStringLiteral("<v>блок %1</v>").arg(i));
    TReportDocument doc;
    Open(doc, MakeDocx(body));
    EXPECT_EQ(doc.DeleteAllBlocks(QStringLiteral("<v>"), QStringLiteral("</v>")), ReportMaxBlocksPerCall);
    const QStringList left = Reread(doc);
    EXPECT_TRUE(left.contains(QStringLiteral("<v>блок 52</v>")));
    EXPECT_EQ(left.join(QLatin1Char('\n')).count(QStringLiteral("<v>")), 1);
    EXPECT_EQ(doc.DeleteAllBlocks(QStringLiteral("<v>"), QStringLiteral("</v>")), 1);
}

// Table filling.

namespace {

QByteArray TableDocument()
{
    // Head row, template row (first cell bold), closing row; a second table after it.
    const QString model
        = QStringLiteral("<w:tr><w:tc>%1</w:tc><w:tc>%2</w:tc></w:tr>")
              .arg(PRuns(R(QStringLiteral("имя"), QStringLiteral("<w:b/>"))), P(QStringLiteral("0")));
    const QString table = QStringLiteral(
        "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/></w:tblGrid>"
        "<w:tr w14:paraId=\"1\" xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\">"
        "<w:tc>%1</w:tc><w:tc>%2</w:tc></w:tr>%3"
        "<w:tr><w:tc>%4</w:tc><w:tc>%5</w:tc></w:tr></w:tbl>")
                              .arg(P(QStringLiteral("Название")), P(QStringLiteral("Число")), model,
                                  P(QStringLiteral("Итого")), P(QStringLiteral("—")));
    return MakeDocx(
        P(QStringLiteral("Таблица")) + table + P(QString()) + Table({ { QStringLiteral("другая") } }));
}

std::vector<std::vector<TRunView>> FirstTableCells(const QByteArray& file)
{
    pugi::xml_document doc;
    EXPECT_TRUE(LoadPart(file, QStringLiteral("word/document.xml"), doc));
    std::vector<std::vector<TRunView>> rows;
    for (pugi::xml_node tr : doc.child("w:document").child("w:body").child("w:tbl").children("w:tr")) {
        std::vector<TRunView> cells;
        for (pugi::xml_node tc : tr.children("w:tc")) {
            TRunView v;
            pugi::xml_node r = tc.child("w:p").child("w:r");
            v.text = r.child("w:t").text().get();
            v.bold = bool(r.child("w:rPr").child("w:b"));
            cells.push_back(v);
        }
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

TEST(ReportDocumentTable, TemplateRowRepeatedOncePerDataRowWithItsFormatting)
{
    for (int count : { 0, 1, 5 }) {
        SCOPED_TRACE(count);
        TReportDocument doc;
        Open(doc, TableDocument());
        std::vector<QStringList> rows;
        for (int k = 1; k <= count; ++k)
            rows.push_back({ QStringLiteral("Материал %1").arg(k), QString::number(k * 10) });
        int done = 0;
        QString error;
        ASSERT_TRUE(doc.FillTable(
            2, rows, [&done] { ++done; }, &error))
            << error.toStdString();
        EXPECT_EQ(done, count);

        const auto cells = FirstTableCells(Saved(doc));
        ASSERT_EQ(cells.size(), static_cast<size_t>(count + 2));
        EXPECT_EQ(cells.front()[0].text, "Название");
        EXPECT_EQ(cells.back()[0].text, "Итого");
        for (int k = 1; k <= count; ++k) {
            EXPECT_EQ(
                cells[static_cast<size_t>(k)][0].text, QStringLiteral("Материал %1").arg(k).toStdString());
            EXPECT_TRUE(cells[static_cast<size_t>(k)][0].bold);
            EXPECT_EQ(cells[static_cast<size_t>(k)][1].text, std::to_string(k * 10));
        }
        // Only the first table is filled.
        EXPECT_TRUE(Reread(doc).contains(QStringLiteral("другая")));
    }
}

TEST(ReportDocumentTable, MissingTableRowOrCellsAreRefusedWithoutChange)
{
    QString error;
    TReportDocument noTable;
    Open(noTable, MakeDocx(P(QStringLiteral("Без таблицы"))));
    EXPECT_FALSE(noTable.FillTable(2, {}, {}, &error));
    EXPECT_FALSE(error.isEmpty());

    TReportDocument doc;
    Open(doc, TableDocument());
    const QStringList before = doc.Paragraphs();
    EXPECT_FALSE(doc.FillTable(4, { { QStringLiteral("a") } }, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("4"))) << error.toStdString();
    EXPECT_FALSE(
        doc.FillTable(2, { { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") } }, {}, &error));
    EXPECT_EQ(doc.Paragraphs(), before);

    // The only row of a table removed: the table goes with it.
    TReportDocument single;
    Open(single,
        MakeDocx(P(QStringLiteral("x")) + Table({ { QStringLiteral("a") } }) + P(QStringLiteral("y"))));
    ASSERT_TRUE(single.FillTable(1, {}, {}, &error));
    EXPECT_EQ(Reread(single), (QStringList { QStringLiteral("x"), QStringLiteral("y") }));
}

// The number format of the reports.

TEST(ReportNumbers, RoundToStrRoundsTiesToEvenWithTheUsersSeparator)
{
    EXPECT_EQ(RoundToStr(1, 2.5L), QStringLiteral("2"));
    EXPECT_EQ(RoundToStr(1, 3.5L), QStringLiteral("4"));
    EXPECT_EQ(RoundToStr(1, 1.5L), QStringLiteral("2"));
    EXPECT_EQ(RoundToStr(1, -2.5L), QStringLiteral("-2"));
    EXPECT_EQ(RoundToStr(10, 0.25L), QStringLiteral("0,2"));
    EXPECT_EQ(RoundToStr(100, 3.0L), QStringLiteral("3"));
    EXPECT_EQ(RoundToStr(10000, 0.01084L), QStringLiteral("0,0108"));
    EXPECT_EQ(RoundToStr(100, 416.2637L), QStringLiteral("416,26"));
    EXPECT_EQ(PlainStr(0.0145L), QStringLiteral("0,0145"));
    // Far outside the 64-bit range the integer saturates instead of overflowing.
    EXPECT_EQ(RoundToStr(10000, 1e30L), RoundToStr(1, 9223372036854775807.0L / 10000));
    LocaleGuard english(LocaleGuard::English());
    EXPECT_EQ(RoundToStr(10, 0.25L), QStringLiteral("0.2"));
}

// Saving.

TEST(ReportDocumentSave, TemplateBecomesADocumentThatReadsBack)
{
    TReportDocument doc;
    Open(doc, MakeDocx(P(QStringLiteral("$x"))));
    doc.ReplaceText(QStringLiteral("$x"), QStringLiteral("готово"));
    const QByteArray file = Saved(doc);
    pugi::xml_document types;
    ASSERT_TRUE(LoadPart(file, QStringLiteral("[Content_Types].xml"), types));
    bool found = false;
    for (pugi::xml_node o : types.child("Types").children("Override"))
        if (std::string(o.attribute("PartName").value()) == "/word/document.xml") {
            EXPECT_STREQ(o.attribute("ContentType").value(), DocumentType);
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(Reread(doc), QStringList { QStringLiteral("готово") });
}

TEST(ReportDocumentSave, FailedSaveLeavesNoFileAndKeepsAnExistingOne)
{
    TReportDocument doc;
    Open(doc, MakeDocx(P(QStringLiteral("текст"))));
    QString error;

    // A folder nobody may write to: /proc refuses even the superuser, who ignores modes.
    QTemporaryDir tmp;
    QString readOnly = QStringLiteral("/proc");
    if (geteuid() != 0) {
        readOnly = tmp.filePath(QStringLiteral("ro"));
        ASSERT_TRUE(QDir().mkdir(readOnly));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QString target = QDir(readOnly).filePath(QStringLiteral("отчет.docx"));
    EXPECT_FALSE(doc.Save(target, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target));

    // An existing file in such a folder keeps its contents.
    QString existing;
    QByteArray before;
    if (geteuid() == 0) {
        existing = QStringLiteral("/proc/version");
    } else {
        existing = tmp.filePath(QStringLiteral("keep/old.docx"));
        QDir().mkpath(QFileInfo(existing).path());
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        QFile::setPermissions(QFileInfo(existing).path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        before = f.readAll();
    }
    EXPECT_FALSE(doc.Save(existing, &error));
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    // A save that fails after writing (the name is taken by a folder) leaves nothing behind.
    const QString folderName = tmp.filePath(QStringLiteral("занято.docx"));
    ASSERT_TRUE(QDir().mkdir(folderName));
    EXPECT_FALSE(doc.Save(folderName, &error));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList());
    if (geteuid() != 0) {
        QFile::setPermissions(
            readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(QFileInfo(existing).path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

// Files that are not documents.

TEST(ReportDocumentOpen, DamagedFilesAreRefusedWithAReason)
{
    const QByteArray good = MakeDocx(P(QStringLiteral("текст")));
    QString error;
    TReportDocument doc;

    EXPECT_FALSE(doc.OpenData("not a zip at all", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_FALSE(doc.OpenData(good.left(good.size() / 2), &error));

    // Every single-byte change of the archive either reads back whole or is refused;
    // none crashes.
    for (qsizetype i = 0; i < good.size(); i += 7) {
        QByteArray flipped = good;
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
        TReportDocument any;
        QString why;
        if (any.OpenData(flipped, &why)) {
            any.ReplaceText(QStringLiteral("текст"), QStringLiteral("t"));
            QByteArray out;
            any.SaveData(&out, &why);
        } else {
            EXPECT_FALSE(why.isEmpty());
        }
    }

    TReportPackage package;
    ASSERT_TRUE(package.Read(good, &error));
    package.Put(QStringLiteral("word/document.xml"), "<w:document><w:body><w:p></w:body>");
    QByteArray broken;
    ASSERT_TRUE(package.Write(&broken, &error));
    EXPECT_FALSE(doc.OpenData(broken, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("word/document.xml"))) << error.toStdString();

    // A part the engine does not edit is checked all the same.
    ASSERT_TRUE(package.Read(good, &error));
    package.Put(QStringLiteral("word/styles.xml"), "<w:styles><w:style></w:styles>");
    ASSERT_TRUE(package.Write(&broken, &error));
    EXPECT_FALSE(doc.OpenData(broken, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("word/styles.xml"))) << error.toStdString();

    package.Remove(QStringLiteral("[Content_Types].xml"));
    ASSERT_TRUE(package.Write(&broken, &error));
    EXPECT_FALSE(doc.OpenData(broken, &error));
}
