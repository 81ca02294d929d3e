// Small word-processing files built in the tests themselves: a body of paragraphs and
// tables written as WordprocessingML, optionally with a page header, zipped as a template.
// Also the way back: the saved main part as a pugixml tree, for checks of runs and tables.
#pragma once

#include "uReportPackage.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace DocxTest {

inline QString Esc(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

// One run: its text and, optionally, its formatting (the inside of w:rPr).
inline QString R(const QString& text, const QString& rPr = QString())
{
    const QString props = rPr.isEmpty() ? QString() : QStringLiteral("<w:rPr>%1</w:rPr>").arg(rPr);
    return QStringLiteral("<w:r>%1<w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(props, Esc(text));
}

// A paragraph of one run, or of the given runs, with an optional style.
inline QString P(const QString& text, const QString& style = QString())
{
    const QString ppr
        = style.isEmpty() ? QString() : QStringLiteral("<w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>").arg(style);
    return QStringLiteral("<w:p>%1%2</w:p>").arg(ppr, text.isEmpty() ? QString() : R(text));
}
inline QString PRuns(const QString& runs, const QString& style = QString())
{
    const QString ppr
        = style.isEmpty() ? QString() : QStringLiteral("<w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>").arg(style);
    return QStringLiteral("<w:p>%1%2</w:p>").arg(ppr, runs);
}

// A table whose rows are lists of cell texts.
inline QString Table(const QList<QStringList>& rows)
{
    QString xml = QStringLiteral("<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>");
    for (qsizetype c = 0; c < (rows.isEmpty() ? 0 : rows.first().size()); ++c)
        xml += QStringLiteral("<w:gridCol w:w=\"1000\"/>");
    xml += QStringLiteral("</w:tblGrid>");
    for (const QStringList& row : rows) {
        xml += QStringLiteral("<w:tr>");
        for (const QString& cell : row)
            xml += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/></w:tcPr>%1</w:tc>")
                       .arg(P(cell));
        xml += QStringLiteral("</w:tr>");
    }
    return xml + QStringLiteral("</w:tbl>");
}

const char* const TemplateType
    = "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
const char* const DocumentType
    = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

// A template (.dotx) with `body` as the content of w:body and, when given, a default page
// header whose content is `header` (paragraphs).
inline QByteArray MakeDocx(
    const QString& body, const QString& header = QString(), const char* mainType = TemplateType)
{
    const QString ns
        = QStringLiteral("xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"");
    QString types
        = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                         "<Default Extension=\"rels\" "
                         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                         "<Override PartName=\"/word/document.xml\" ContentType=\"%1\"/>")
              .arg(QLatin1String(mainType));
    QString rels = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    QString sect = QStringLiteral("<w:sectPr>");
    if (!header.isEmpty()) {
        types += QStringLiteral(
            "<Override PartName=\"/word/header1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>");
        rels += QStringLiteral(
            "<Relationship Id=\"rIdH\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" "
            "Target=\"header1.xml\"/>");
        sect += QStringLiteral("<w:headerReference w:type=\"default\" r:id=\"rIdH\"/>");
    }
    types += QStringLiteral("</Types>");
    rels += QStringLiteral("</Relationships>");
    sect += QStringLiteral("<w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr>");

    TReportPackage package;
    package.Put(QStringLiteral("[Content_Types].xml"), types.toUtf8());
    package.Put(QStringLiteral("_rels/.rels"),
        QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
            "Target=\"word/document.xml\"/></Relationships>"));
    package.Put(QStringLiteral("word/document.xml"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
                       "%1><w:body>%2%3</w:body></w:document>")
            .arg(ns, body, sect)
            .toUtf8());
    package.Put(QStringLiteral("word/_rels/document.xml.rels"), rels.toUtf8());
    if (!header.isEmpty())
        package.Put(QStringLiteral("word/header1.xml"),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:hdr %1>%2</w:hdr>")
                .arg(ns, header)
                .toUtf8());
    QByteArray data;
    QString error;
    EXPECT_TRUE(package.Write(&data, &error)) << error.toStdString();
    return data;
}

// A part of a saved file, parsed; `doc` is empty when the part is missing.
inline bool LoadPart(const QByteArray& file, const QString& name, pugi::xml_document& doc)
{
    TReportPackage package;
    QString error;
    if (!package.Read(file, &error))
        return false;
    const TPackagePart* part = package.Find(name);
    return part
        && doc.load_buffer(part->Data.constData(), static_cast<size_t>(part->Data.size()),
            pugi::parse_default | pugi::parse_ws_pcdata_single);
}

} // namespace DocxTest
