// The report engine's document: an Office Open XML word-processing file (a .dotx template
// or a .docx document) opened in memory, filled by the operations a report needs, and
// saved as a .docx document. The operations give the results a word processor gives when
// it is driven through its find, selection, table and save commands:
//
// - text is matched on what a paragraph shows, however the file divides it into runs, and
//   letters are compared without regard to case, as the word processor's find does;
// - positions count the characters of the document's main text from 0, each paragraph and
//   each table row ending in one mark character, as the word processor's selection does.
//
// Nothing here touches the clipboard, a window or the file system except Open and Save.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TReportDocument {
public:
    TReportDocument();
    ~TReportDocument();
    TReportDocument(const TReportDocument&) = delete;
    TReportDocument& operator=(const TReportDocument&) = delete;

    // Reads a document file. Returns false and sets *error to the reason in Russian (the
    // file cannot be read, is not a ZIP archive, has no main document part, a part is not
    // well-formed XML) when it cannot be used; the document is then empty. The reason does
    // not name the file: callers add the name they know the file by.
    bool Open(const QString& fileName, QString* error);
    // The same for the bytes of a file.
    bool OpenData(const QByteArray& data, QString* error);
    bool IsOpen() const;

    // Replaces every occurrence of `find` by `replacement` in the main text (paragraphs
    // and tables, text boxes included) and in every page header and footer. Occurrences
    // are found left to right without overlap; a replacement is not searched again. The
    // replacement takes the formatting of the run where the occurrence begins; the rest
    // of the occurrence is removed from the runs that follow, which keep their formatting
    // for the text they still hold. An empty replacement erases the text. Tabs and line
    // breaks in the replacement become tab and break marks; other control characters are
    // dropped. Returns the number of occurrences replaced (0 for an empty `find`).
    int ReplaceText(const QString& find, const QString& replacement);

    // Deletes the first block that runs from `startMarker` to the next `endMarker` after
    // it, markers included, with the selection rules of the word processor: the start
    // marker is searched from position 0; when it is missing nothing is deleted; when it
    // stands at position 0 nothing is deleted; when no end marker follows it, only the
    // start marker is deleted. Returns true when something was deleted.
    // A block that spans paragraphs of one container (the body, one table cell) deletes
    // the paragraphs and tables between, and the text before the start marker and after
    // the end marker become one paragraph with the formatting of the first. A block whose
    // ends lie in different containers (one inside a table, one outside) deletes only the
    // text in between and keeps every table, row and cell.
    bool DeleteBlock(const QString& startMarker, const QString& endMarker);

    // Calls DeleteBlock while it deletes something, at most 51 times. Returns the number
    // of deletions.
    int DeleteAllBlocks(const QString& startMarker, const QString& endMarker);

    // Fills the first table of the main text: its row `templateRow` (counted from 1) is
    // removed and inserted again once per entry of `rows`, with its formatting; the
    // cells of inserted row k get the texts of rows[k], in order, each replacing the
    // whole content of its cell with the formatting of the cell's first run. With no rows
    // the template row is only removed (a table left without rows is removed as well).
    // `rowDone` (may be empty) is called after each row is filled. Returns false and sets
    // *error when there is no table, the table has no such row or the row has fewer cells
    // than a data row has texts; the document is then unchanged.
    bool FillTable(int templateRow, const std::vector<QStringList>& rows,
        const std::function<void()>& rowDone, QString* error);

    // Writes the document as a .docx file: a template's main part becomes a document's
    // (the parts of a macro-enabled template's macros are left out). The file is replaced
    // atomically: on failure no partial file is left and an existing file keeps its
    // contents. Returns false and sets *error to the system's reason.
    bool Save(const QString& fileName, QString* error) const;
    // The bytes Save would write.
    bool SaveData(QByteArray* data, QString* error) const;

    // The paragraphs of the main text as they read, in order (cells of tables included;
    // tabs as '\t', line breaks as '\n', pictures and other objects as U+FFFC).
    QStringList Paragraphs() const;
    // The paragraphs of the page headers and footers, part by part.
    QStringList HeaderFooterParagraphs() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> d;
};

// At most this many blocks are deleted by one DeleteAllBlocks call.
constexpr int ReportMaxBlocksPerCall = 51;
