// The report engine's document: see uReportDocument.h.
//
// Every part that holds text (the main document, the page headers and footers) is parsed
// once with pugixml and kept as a tree. For each paragraph an index lists its visible
// characters ("atoms"): a character of a w:t element with its offset there, or an element
// that shows as one character (a tab, a break, a picture). Operations search the folded
// text of the index and then edit the elements the matched atoms point to, so that the
// division into runs never hides a match and the runs around it keep their formatting.
#include "uReportDocument.h"

#include "uReportPackage.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <pugixml.hpp>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

const char* const WordNamespaces[] = {
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "http://purl.oclc.org/ooxml/wordprocessingml/main",
};

const QString ContentTypesPart = QStringLiteral("[Content_Types].xml");
const QString TemplateMainType
    = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");
const QString MacroTemplateMainType
    = QStringLiteral("application/vnd.ms-word.template.macroEnabledTemplate.main+xml");
const QString MacroDocumentMainType
    = QStringLiteral("application/vnd.ms-word.document.macroEnabled.main+xml");
const QString DocumentMainType
    = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");

constexpr char16_t ObjectChar = 0xFFFC;

constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

// A visible character of a paragraph: a character of a text element (Offset >= 0, in
// UTF-16 code units) or an element that shows as one character (Offset < 0).
struct TAtom {
    pugi::xml_node Node;
    int Offset;
};

struct TParagraph {
    pugi::xml_node Node;
    bool InStory = false; // part of the main text, not a text box
    int Gap = 0; // row-end marks of the main text just before this paragraph
    QString Text;
    QString Folded; // Text with every letter case-folded, same length
    std::vector<TAtom> Atoms;
};

// A part with text, parsed. W is the prefix the part uses for the word-processing
// namespace ("w:" almost always).
struct TXmlPart {
    QString Name;
    pugi::xml_document Doc;
    std::string W;
    bool Main = false;
    bool Dirty = false;
    bool Indexed = false;
    // When the index is rebuilt, the entries of paragraphs an operation did not touch are
    // kept (Reuse) unless they are Stale: a block deletion touches two paragraphs of a
    // long document. Reuse is off after an operation that makes new paragraphs.
    bool Reuse = true;
    std::unordered_set<pugi::xml_node_struct*> Stale;
    std::vector<TParagraph> Paras;

    void Touched(pugi::xml_node paragraph)
    {
        Stale.insert(paragraph.internal_object());
        Indexed = false;
    }
    void Rebuilt()
    {
        Reuse = false;
        Indexed = false;
    }
};

QString Fold(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        c = c.toCaseFolded();
    return folded;
}

QString NodeText(pugi::xml_node node)
{
    QString text;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            text += QString::fromUtf8(c.value());
    return text;
}

void SetNodeText(pugi::xml_node node, const QString& text)
{
    while (pugi::xml_node c = node.first_child())
        node.remove_child(c);
    if (!text.isEmpty())
        node.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
    // Leading and trailing blanks of a text element count only when it says so.
    if (!node.attribute("xml:space"))
        node.append_attribute("xml:space") = "preserve";
}

// Keeps what XML 1.0 can hold and the word processor shows: tabs and line breaks stay
// (as '\t' and '\n'), a carriage return becomes a line break, other controls go.
QString CleanText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u == '\r') {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                continue;
            out += QLatin1Char('\n');
        } else if (u == '\t' || u == '\n') {
            out += c;
        } else if (u < 0x20 || u == 0xFFFE || u == 0xFFFF) {
            continue;
        } else if (c.isHighSurrogate()) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate())
                out += c, out += text[++i];
        } else if (!c.isLowSurrogate()) {
            out += c;
        }
    }
    return out;
}

std::string_view Local(const std::string& w, pugi::xml_node node)
{
    const std::string_view name = node.name();
    if (name.size() <= w.size() || name.substr(0, w.size()) != w)
        return {};
    const std::string_view rest = name.substr(w.size());
    return rest.find(':') == std::string_view::npos ? rest : std::string_view();
}

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements inside a paragraph that hold runs.
bool InlineContainer(std::string_view n)
{
    return OneOf(n,
        { "hyperlink", "smartTag", "customXml", "sdt", "sdtContent", "ins", "moveTo", "fldSimple", "dir",
            "bdo" });
}

// Elements inside a paragraph that show nothing (properties, marks, deleted text).
bool InlineInvisible(std::string_view n)
{
    return OneOf(n,
        { "pPr", "del", "moveFrom", "bookmarkStart", "bookmarkEnd", "proofErr", "permStart", "permEnd",
            "commentRangeStart", "commentRangeEnd", "moveFromRangeStart", "moveFromRangeEnd",
            "moveToRangeStart", "moveToRangeEnd", "customXmlInsRangeStart", "customXmlInsRangeEnd",
            "customXmlDelRangeStart", "customXmlDelRangeEnd", "customXmlMoveFromRangeStart",
            "customXmlMoveFromRangeEnd", "customXmlMoveToRangeStart", "customXmlMoveToRangeEnd", "sdtPr",
            "sdtEndPr", "smartTagPr", "customXmlPr" });
}

// Elements inside a run that show nothing.
bool RunInvisible(std::string_view n)
{
    return OneOf(
        n, { "rPr", "instrText", "delText", "delInstrText", "lastRenderedPageBreak", "annotationRef" });
}

// Block-level elements through which the main text continues.
bool StoryContainer(std::string_view n)
{
    return OneOf(n, { "tbl", "tr", "tc", "sdt", "sdtContent", "customXml" });
}

// Containers whose paragraphs may be merged when a block between two of them goes.
bool ParagraphContainer(std::string_view n)
{
    return OneOf(n, { "body", "tc", "sdtContent", "customXml", "txbxContent", "hdr", "ftr" });
}

void AddAtom(TParagraph& p, pugi::xml_node node, int offset, QChar c)
{
    p.Atoms.push_back({ node, offset });
    p.Text += c;
}

void CollectRun(const std::string& w, TParagraph& p, pugi::xml_node run)
{
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view n = Local(w, c);
        if (n == "t") {
            const QString text = NodeText(c);
            for (int i = 0; i < text.size(); ++i)
                AddAtom(p, c, i, text[i]);
        } else if (n == "tab" || n == "ptab") {
            AddAtom(p, c, -1, QLatin1Char('\t'));
        } else if (n == "br" || n == "cr") {
            AddAtom(p, c, -1, QLatin1Char('\n'));
        } else if (n == "noBreakHyphen") {
            AddAtom(p, c, -1, QChar(0x2011));
        } else if (n == "softHyphen") {
            AddAtom(p, c, -1, QChar(0x00AD));
        } else if (!RunInvisible(n)) {
            AddAtom(p, c, -1, QChar(ObjectChar));
        }
    }
}

void CollectInline(const std::string& w, TParagraph& p, pugi::xml_node container)
{
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view n = Local(w, c);
        if (n == "r")
            CollectRun(w, p, c);
        else if (InlineContainer(n))
            CollectInline(w, p, c);
        else if (!n.empty() && InlineInvisible(n))
            continue;
        else
            AddAtom(p, c, -1, QChar(ObjectChar)); // formulas, alternate content, unknown content
    }
}

void BuildParagraph(const std::string& w, TParagraph& p)
{
    p.Text.clear();
    p.Atoms.clear();
    CollectInline(w, p, p.Node);
    p.Folded = Fold(p.Text);
}

using TKept = std::unordered_map<pugi::xml_node_struct*, TParagraph>;

void Visit(TXmlPart& part, pugi::xml_node node, bool inStory, int& gap, TKept& kept)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view n = Local(part.W, c);
        if (n == "p") {
            TParagraph p;
            if (auto it = kept.find(c.internal_object()); it != kept.end()) {
                p = std::move(it->second);
            } else {
                p.Node = c;
                BuildParagraph(part.W, p);
            }
            p.InStory = inStory;
            p.Gap = inStory ? std::exchange(gap, 0) : 0;
            part.Paras.push_back(std::move(p));
            int none = 0;
            Visit(part, c, false, none, kept); // paragraphs of text boxes inside it
        } else if (n == "body") {
            Visit(part, c, true, gap, kept);
        } else {
            Visit(part, c, inStory && StoryContainer(n), gap, kept);
            if (inStory && n == "tr")
                ++gap; // the row-end mark
        }
    }
}

void Index(TXmlPart& part)
{
    if (part.Indexed)
        return;
    TKept kept;
    if (part.Reuse)
        for (TParagraph& p : part.Paras)
            if (!part.Stale.contains(p.Node.internal_object()))
                kept.emplace(p.Node.internal_object(), std::move(p));
    part.Paras.clear();
    part.Stale.clear();
    part.Reuse = true;
    int gap = 0;
    Visit(part, part.Doc, false, gap, kept);
    part.Indexed = true;
}

// Replaces the atoms [from, to) of a paragraph by `text` (already cleaned): the text goes
// where the first atom was, in its run; the other atoms are removed. Elements whose text
// may have become empty are added to `touched` for Tidy. Returns true when an element
// atom was removed (the index of the part is then out of date beyond this paragraph).
bool ReplaceAtoms(const std::string& w, const TParagraph& p, int from, int to, const QString& text,
    std::vector<pugi::xml_node>& touched)
{
    bool removedElement = false;
    bool placed = text.isEmpty();
    auto placeBefore = [&](pugi::xml_node element) {
        // An element atom begins the range: the text goes into a text element before it
        // in the same run, or into a new run when the element is not inside a run.
        pugi::xml_node parent = element.parent();
        pugi::xml_node t;
        if (Local(w, parent) == "r") {
            t = parent.insert_child_before((w + "t").c_str(), element);
        } else {
            pugi::xml_node run = parent.insert_child_before((w + "r").c_str(), element);
            t = run.append_child((w + "t").c_str());
        }
        SetNodeText(t, QString());
        return t;
    };
    auto setWithMarks
        = [&](pugi::xml_node t, const QString& left, const QString& middle, const QString& right) {
              // Tabs and breaks of the middle become their own elements after t, in t's run.
              QStringList segments(QString {});
              QList<QChar> marks;
              for (const QChar c : middle) {
                  if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
                      marks << c;
                      segments << QString();
                  } else {
                      segments.last() += c;
                  }
              }
              if (marks.isEmpty()) {
                  SetNodeText(t, left + middle + right);
                  return;
              }
              SetNodeText(t, left + segments.front());
              pugi::xml_node after = t;
              for (qsizetype k = 0; k < marks.size(); ++k) {
                  after = t.parent().insert_child_after(
                      (w + (marks[k] == QLatin1Char('\t') ? "tab" : "br")).c_str(), after);
                  const QString piece = segments[k + 1] + (k + 1 == marks.size() ? right : QString());
                  if (!piece.isEmpty()) {
                      after = t.parent().insert_child_after((w + "t").c_str(), after);
                      SetNodeText(after, piece);
                  }
              }
          };

    int i = from;
    while (i < to) {
        const TAtom& a = p.Atoms[static_cast<size_t>(i)];
        if (a.Offset >= 0) {
            int j = i;
            while (j < to && p.Atoms[static_cast<size_t>(j)].Node == a.Node
                && p.Atoms[static_cast<size_t>(j)].Offset >= 0)
                ++j;
            const QString s = NodeText(a.Node);
            const int offA = a.Offset, offB = p.Atoms[static_cast<size_t>(j - 1)].Offset + 1;
            if (!placed)
                setWithMarks(a.Node, s.left(offA), text, s.mid(offB));
            else
                SetNodeText(a.Node, s.left(offA) + s.mid(offB));
            placed = true;
            touched.push_back(a.Node);
            i = j;
        } else {
            if (!placed) {
                pugi::xml_node t = placeBefore(a.Node);
                setWithMarks(t, QString(), text, QString());
                touched.push_back(t);
                placed = true;
            }
            pugi::xml_node parent = a.Node.parent();
            parent.remove_child(a.Node);
            touched.push_back(parent);
            removedElement = true;
            ++i;
        }
    }
    return removedElement;
}

// Removes text elements left empty by ReplaceAtoms and runs left with nothing but their
// properties, so that an erased placeholder leaves no empty formatting behind.
void Tidy(const std::string& w, std::vector<pugi::xml_node>& touched)
{
    std::set<pugi::xml_node_struct*> seen;
    std::vector<pugi::xml_node> runs;
    std::set<pugi::xml_node_struct*> seenRuns;
    auto addRun = [&](pugi::xml_node r) {
        if (Local(w, r) == "r" && seenRuns.insert(r.internal_object()).second)
            runs.push_back(r);
    };
    for (pugi::xml_node n : touched) {
        if (!seen.insert(n.internal_object()).second)
            continue;
        if (Local(w, n) == "t") {
            pugi::xml_node run = n.parent();
            if (NodeText(n).isEmpty())
                run.remove_child(n);
            addRun(run);
        } else {
            addRun(n);
        }
    }
    for (pugi::xml_node r : runs) {
        bool content = false;
        for (pugi::xml_node c = r.first_child(); c && !content; c = c.next_sibling())
            content = c.type() == pugi::node_element && Local(w, c) != "rPr";
        if (!content)
            r.parent().remove_child(r);
    }
    touched.clear();
}

std::optional<QString> ParseError(const pugi::xml_parse_result& result, const QString& name)
{
    if (result)
        return std::nullopt;
    return QStringLiteral("часть %1 не является правильным XML (%2, смещение %3)")
        .arg(name, QString::fromUtf8(result.description()))
        .arg(static_cast<qlonglong>(result.offset));
}

std::string WordPrefix(pugi::xml_node root)
{
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        for (const char* ns : WordNamespaces) {
            if (std::string_view(a.value()) != ns)
                continue;
            if (name == "xmlns")
                return std::string();
            if (name.substr(0, 6) == "xmlns:")
                return std::string(name.substr(6)) + ":";
        }
    }
    return "w:";
}

// The part a relationship points to, from the folder of the part that holds it.
QString ResolveTarget(const QString& sourcePart, const QString& target)
{
    QString t = QUrl::fromPercentEncoding(target.toUtf8());
    QStringList segments;
    if (!t.startsWith(QLatin1Char('/'))) {
        segments = sourcePart.split(QLatin1Char('/'));
        segments.removeLast();
    }
    for (const QString& s : t.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (s == QLatin1String("..")) {
            if (!segments.isEmpty())
                segments.removeLast();
        } else if (s != QLatin1String("."))
            segments << s;
    }
    return segments.join(QLatin1Char('/'));
}

QString RelsPartOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct TRelation {
    QString Id, Type, Target; // Target resolved to a part name; empty for an external target
};

std::vector<TRelation> Relations(const TReportPackage& package, const QString& part)
{
    std::vector<TRelation> list;
    const TPackagePart* rels = package.Find(RelsPartOf(part));
    if (!rels)
        return list;
    pugi::xml_document doc;
    if (!doc.load_buffer(rels->Data.constData(), static_cast<size_t>(rels->Data.size()), ParseFlags))
        return list;
    for (pugi::xml_node r : doc.document_element().children()) {
        if (std::string_view(r.name()).ends_with("Relationship") == false)
            continue;
        const bool external = std::string_view(r.attribute("TargetMode").value()) == "External";
        list.push_back({ QString::fromUtf8(r.attribute("Id").value()),
            QString::fromUtf8(r.attribute("Type").value()),
            external ? QString() : ResolveTarget(part, QString::fromUtf8(r.attribute("Target").value())) });
    }
    return list;
}

struct TByteWriter : pugi::xml_writer {
    QByteArray* Out;
    explicit TByteWriter(QByteArray* out)
        : Out(out)
    {
    }
    void write(const void* data, size_t size) override
    {
        Out->append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

QByteArray Serialize(const pugi::xml_document& doc)
{
    QByteArray bytes;
    TByteWriter writer(&bytes);
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return bytes;
}

// The first element child of `node` with the local name `n`.
pugi::xml_node Child(const std::string& w, pugi::xml_node node, std::string_view n)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Local(w, c) == n)
            return c;
    return {};
}

std::vector<pugi::xml_node> Children(const std::string& w, pugi::xml_node node, std::string_view n)
{
    std::vector<pugi::xml_node> list;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Local(w, c) == n)
            list.push_back(c);
    return list;
}

// The first table of the main text, not counting tables nested in tables.
pugi::xml_node FirstTable(const std::string& w, pugi::xml_node container)
{
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view n = Local(w, c);
        if (n == "tbl")
            return c;
        if (OneOf(n, { "sdt", "sdtContent", "customXml" }))
            if (pugi::xml_node t = FirstTable(w, c))
                return t;
    }
    return {};
}

// The first run of a paragraph, through hyperlinks and other inline containers.
pugi::xml_node FirstRun(const std::string& w, pugi::xml_node container)
{
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view n = Local(w, c);
        if (n == "r")
            return c;
        if (InlineContainer(n))
            if (pugi::xml_node r = FirstRun(w, c))
                return r;
    }
    return {};
}

// The content of the cell becomes `text` in one run, as typing over the selected cell
// gives: the formatting of the cell's first run (or of its paragraph mark) is kept.
void SetCellText(const std::string& w, pugi::xml_node cell, const QString& text)
{
    pugi::xml_node para = Child(w, cell, "p");
    if (!para)
        para = cell.append_child((w + "p").c_str());
    std::vector<pugi::xml_node> drop;
    for (pugi::xml_node c = cell.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && c != para && Local(w, c) != "tcPr")
            drop.push_back(c);
    for (pugi::xml_node c : drop)
        cell.remove_child(c);

    pugi::xml_document formatting;
    pugi::xml_node rPr;
    if (pugi::xml_node run = FirstRun(w, para); run && Child(w, run, "rPr")) {
        rPr = formatting.append_copy(Child(w, run, "rPr"));
    } else if (pugi::xml_node mark = Child(w, Child(w, para, "pPr"), "rPr")) {
        rPr = formatting.append_copy(mark);
        // The mark's own revision records do not belong to a run's formatting.
        for (const char* n : { "ins", "del", "moveFrom", "moveTo", "rPrChange" })
            while (pugi::xml_node x = Child(w, rPr, n))
                rPr.remove_child(x);
    }
    drop.clear();
    for (pugi::xml_node c = para.first_child(); c; c = c.next_sibling())
        if (!(c.type() == pugi::node_element && Local(w, c) == "pPr"))
            drop.push_back(c);
    for (pugi::xml_node c : drop)
        para.remove_child(c);
    const QString clean = CleanText(text);
    if (clean.isEmpty())
        return;
    pugi::xml_node run = para.append_child((w + "r").c_str());
    if (rPr)
        run.append_copy(rPr);
    // One run; tabs and breaks as their marks.
    QString piece;
    auto flush = [&] {
        if (!piece.isEmpty())
            SetNodeText(run.append_child((w + "t").c_str()), piece);
        piece.clear();
    };
    for (const QChar c : clean) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            flush();
            run.append_child((w + (c == QLatin1Char('\t') ? "tab" : "br")).c_str());
        } else {
            piece += c;
        }
    }
    flush();
}

// Identifiers a word processor gives each paragraph and row; a copy must not repeat them.
void DropParagraphIds(pugi::xml_node node)
{
    std::vector<pugi::xml_attribute> drop;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view n = a.name();
        if (n.ends_with(":paraId") || n.ends_with(":textId"))
            drop.push_back(a);
    }
    for (pugi::xml_attribute a : drop)
        node.remove_attribute(a);
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            DropParagraphIds(c);
}

} // namespace

struct TReportDocument::TImpl {
    TReportPackage Package;
    QString MainName;
    std::vector<std::unique_ptr<TXmlPart>> Parts; // the main part first, then headers and footers

    TXmlPart& Main() { return *Parts.front(); }
    const TXmlPart& Main() const { return *Parts.front(); }

    struct THit {
        int Para = -1;
        int From = 0, To = 0; // atoms of the paragraph
        qint64 Start = 0, End = 0; // positions in the main text
    };

    // The first occurrence in the main text that begins at or after `from`.
    std::optional<THit> FindInStory(const QString& folded, qint64 from)
    {
        TXmlPart& part = Main();
        Index(part);
        qint64 pos = 0;
        for (size_t i = 0; i < part.Paras.size(); ++i) {
            const TParagraph& p = part.Paras[i];
            if (!p.InStory)
                continue;
            pos += p.Gap;
            const qint64 len = p.Text.size();
            if (pos + len >= from) {
                const qsizetype at
                    = p.Folded.indexOf(folded, static_cast<qsizetype>(std::max<qint64>(0, from - pos)));
                if (at >= 0)
                    return THit { static_cast<int>(i), static_cast<int>(at),
                        static_cast<int>(at + folded.size()), pos + at, pos + at + folded.size() };
            }
            pos += len + 1; // the paragraph or cell mark
        }
        return std::nullopt;
    }

    // Deletes from atom `from` of paragraph `a` to atom `to` (exclusive) of paragraph `b`.
    void DeleteRange(int a, int from, int b, int to)
    {
        TXmlPart& part = Main();
        const std::string& w = part.W;
        std::vector<pugi::xml_node> touched;
        TParagraph& pa = part.Paras[static_cast<size_t>(a)];
        part.Touched(pa.Node);
        if (a == b) {
            ReplaceAtoms(w, pa, from, to, QString(), touched);
        } else {
            TParagraph& pb = part.Paras[static_cast<size_t>(b)];
            ReplaceAtoms(w, pa, from, static_cast<int>(pa.Atoms.size()), QString(), touched);
            ReplaceAtoms(w, pb, 0, to, QString(), touched);
            pugi::xml_node parent = pa.Node.parent();
            if (parent == pb.Node.parent() && ParagraphContainer(Local(w, parent))) {
                // Everything between the two paragraphs goes; what follows the end marker
                // joins the paragraph of the start marker.
                while (pa.Node.next_sibling() != pb.Node)
                    parent.remove_child(pa.Node.next_sibling());
                Tidy(w, touched);
                std::vector<pugi::xml_node> moving;
                for (pugi::xml_node c = pb.Node.first_child(); c; c = c.next_sibling())
                    if (!(c.type() == pugi::node_element && Local(w, c) == "pPr"))
                        moving.push_back(c);
                for (pugi::xml_node c : moving)
                    pa.Node.append_move(c);
                parent.remove_child(pb.Node);
            } else {
                // Ends in different containers: tables, rows and cells stay; the text
                // between the markers goes.
                for (int i = a + 1; i < b; ++i) {
                    TParagraph& p = part.Paras[static_cast<size_t>(i)];
                    if (p.InStory) {
                        ReplaceAtoms(w, p, 0, static_cast<int>(p.Atoms.size()), QString(), touched);
                        part.Touched(p.Node);
                    }
                }
                part.Touched(pb.Node);
            }
        }
        Tidy(w, touched);
        part.Dirty = true;
    }
};

TReportDocument::TReportDocument()
    : d(std::make_unique<TImpl>())
{
}
TReportDocument::~TReportDocument() = default;

bool TReportDocument::IsOpen() const { return !d->Parts.empty(); }

bool TReportDocument::Open(const QString& fileName, QString* error)
{
    d = std::make_unique<TImpl>();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("не удалось открыть файл (%1)").arg(file.errorString());
        return false;
    }
    if (file.size() > ReportPackageMaxTotalSize) {
        *error = QStringLiteral("файл слишком велик для документа");
        return false;
    }
    return OpenData(file.readAll(), error);
}

bool TReportDocument::OpenData(const QByteArray& data, QString* error)
{
    auto impl = std::make_unique<TImpl>();
    d = std::make_unique<TImpl>();
    if (!impl->Package.Read(data, error))
        return false;
    if (!impl->Package.Find(ContentTypesPart)) {
        *error = QStringLiteral("в файле нет части %1: это не документ Word").arg(ContentTypesPart);
        return false;
    }
    // The main part is the package's office-document relationship.
    for (const TRelation& r : Relations(impl->Package, QString()))
        if (r.Type.endsWith(QLatin1String("/officeDocument")) && !r.Target.isEmpty())
            impl->MainName = r.Target;
    if (impl->MainName.isEmpty())
        impl->MainName = QStringLiteral("word/document.xml");
    if (!impl->Package.Find(impl->MainName)) {
        *error = QStringLiteral("в файле нет основной части документа (%1)").arg(impl->MainName);
        return false;
    }

    auto parse = [&](const QString& name, bool main) -> bool {
        auto part = std::make_unique<TXmlPart>();
        part->Name = name;
        part->Main = main;
        const QByteArray& bytes = impl->Package.Find(name)->Data;
        if (auto why = ParseError(
                part->Doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()), ParseFlags),
                name)) {
            *error = *why;
            return false;
        }
        part->W = WordPrefix(part->Doc.document_element());
        impl->Parts.push_back(std::move(part));
        return true;
    };
    // Every other XML part must be well-formed too: a report made from a template with a
    // broken style or settings part would be a document no word processor opens.
    for (const TPackagePart& part : impl->Package.Parts()) {
        if (!(part.Name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)
                || part.Name.endsWith(QLatin1String(".rels"), Qt::CaseInsensitive)))
            continue;
        pugi::xml_document check;
        if (auto why = ParseError(
                check.load_buffer(part.Data.constData(), static_cast<size_t>(part.Data.size()), ParseFlags),
                part.Name)) {
            *error = *why;
            return false;
        }
    }
    if (!parse(impl->MainName, true))
        return false;
    {
        TXmlPart& main = impl->Main();
        const pugi::xml_node root = main.Doc.document_element();
        if (Local(main.W, root) != "document" || !Child(main.W, root, "body")) {
            *error
                = QStringLiteral("в основной части документа (%1) нет текста документа").arg(impl->MainName);
            return false;
        }
    }
    for (const TRelation& r : Relations(impl->Package, impl->MainName)) {
        if (r.Target.isEmpty()
            || !(r.Type.endsWith(QLatin1String("/header")) || r.Type.endsWith(QLatin1String("/footer"))))
            continue;
        if (!impl->Package.Find(r.Target))
            continue; // a dangling reference: the word processor shows no header either
        bool known = false;
        for (const auto& p : impl->Parts)
            known = known || p->Name == r.Target;
        if (!known && !parse(r.Target, false))
            return false;
    }
    d = std::move(impl);
    return true;
}

int TReportDocument::ReplaceText(const QString& find, const QString& replacement)
{
    if (find.isEmpty() || !IsOpen())
        return 0;
    const QString folded = Fold(find);
    const QString text = CleanText(replacement);
    int count = 0;
    for (auto& partPtr : d->Parts) {
        TXmlPart& part = *partPtr;
        Index(part);
        // Last paragraph first: an edit that removes an element can only take paragraphs
        // nested in it (text boxes), which come after it in the index and are done.
        for (auto p = part.Paras.rbegin(); p != part.Paras.rend(); ++p) {
            std::vector<qsizetype> hits;
            for (qsizetype at = p->Folded.indexOf(folded); at >= 0;
                 at = p->Folded.indexOf(folded, at + folded.size()))
                hits.push_back(at);
            if (hits.empty())
                continue;
            std::vector<pugi::xml_node> touched;
            bool removed = false;
            for (auto it = hits.rbegin(); it != hits.rend(); ++it)
                removed |= ReplaceAtoms(
                    part.W, *p, static_cast<int>(*it), static_cast<int>(*it + folded.size()), text, touched);
            Tidy(part.W, touched);
            count += static_cast<int>(hits.size());
            part.Dirty = true;
            if (removed)
                part.Touched(p->Node); // the paragraphs of a text box it held may be gone
            else
                BuildParagraph(part.W, *p);
        }
    }
    return count;
}

bool TReportDocument::DeleteBlock(const QString& startMarker, const QString& endMarker)
{
    if (!IsOpen() || startMarker.isEmpty())
        return false;
    // The selection starts at 0. Find moves it onto the start marker, or leaves it at 0.
    const auto start = d->FindInStory(Fold(startMarker), 0);
    const qint64 s = start ? start->Start : 0;
    const qint64 collapsed = start ? start->End : 0;
    // Collapsed after the start marker, the search for the end marker runs forward.
    const auto end = endMarker.isEmpty() ? std::nullopt : d->FindInStory(Fold(endMarker), collapsed);
    const qint64 e = end ? end->End : collapsed;
    if (!(s < e && s > 0))
        return false;
    if (end)
        d->DeleteRange(start->Para, start->From, end->Para, end->To);
    else
        d->DeleteRange(start->Para, start->From, start->Para, start->To);
    return true;
}

int TReportDocument::DeleteAllBlocks(const QString& startMarker, const QString& endMarker)
{
    int deleted = 0;
    while (deleted < ReportMaxBlocksPerCall && DeleteBlock(startMarker, endMarker))
        ++deleted;
    return deleted;
}

bool TReportDocument::FillTable(int templateRow, const std::vector<QStringList>& rows,
    const std::function<void()>& rowDone, QString* error)
{
    if (!IsOpen()) {
        *error = QStringLiteral("документ не открыт");
        return false;
    }
    TXmlPart& part = d->Main();
    const std::string& w = part.W;
    pugi::xml_node table = FirstTable(w, Child(w, part.Doc.document_element(), "body"));
    if (!table) {
        *error = QStringLiteral("в документе нет таблицы результатов");
        return false;
    }
    const std::vector<pugi::xml_node> tableRows = Children(w, table, "tr");
    if (templateRow < 1 || templateRow > static_cast<int>(tableRows.size())) {
        *error = QStringLiteral("в таблице результатов нет строки %1 (строк в таблице: %2)")
                     .arg(templateRow)
                     .arg(tableRows.size());
        return false;
    }
    const pugi::xml_node model = tableRows[static_cast<size_t>(templateRow - 1)];
    const size_t cells = Children(w, model, "tc").size();
    for (const QStringList& row : rows)
        if (static_cast<size_t>(row.size()) > cells) {
            *error = QStringLiteral("в строке %1 таблицы результатов %2 ячеек вместо %3")
                         .arg(templateRow)
                         .arg(cells)
                         .arg(row.size());
            return false;
        }

    part.Dirty = true;
    part.Rebuilt();
    std::vector<pugi::xml_node> copies;
    for (size_t k = 0; k < rows.size(); ++k) {
        pugi::xml_node copy = table.insert_copy_before(model, model);
        DropParagraphIds(copy);
        copies.push_back(copy);
    }
    table.remove_child(model);
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::vector<pugi::xml_node> rowCells = Children(w, copies[k], "tc");
        for (qsizetype c = 0; c < rows[k].size(); ++c)
            SetCellText(w, rowCells[static_cast<size_t>(c)], rows[k][c]);
        if (rowDone)
            rowDone();
    }
    // The word processor removes a table whose last row goes.
    if (Children(w, table, "tr").empty())
        table.parent().remove_child(table);
    return true;
}

bool TReportDocument::SaveData(QByteArray* data, QString* error) const
{
    if (!IsOpen()) {
        *error = QStringLiteral("документ не открыт");
        return false;
    }
    TReportPackage package = d->Package;
    for (const auto& part : d->Parts)
        if (part->Dirty)
            package.Put(part->Name, Serialize(part->Doc));

    // The main part's content type says "document" instead of "template"; a macro-enabled
    // template's macros stay behind, as they do when a word processor makes a document
    // from it.
    pugi::xml_document types;
    const QByteArray& typeBytes = package.Find(ContentTypesPart)->Data;
    if (auto why = ParseError(
            types.load_buffer(typeBytes.constData(), static_cast<size_t>(typeBytes.size()), ParseFlags),
            ContentTypesPart)) {
        *error = *why;
        return false;
    }
    bool macros = false;
    for (pugi::xml_node entry : types.document_element().children()) {
        pugi::xml_attribute type = entry.attribute("ContentType");
        const QString value = QString::fromUtf8(type.value());
        if (value == TemplateMainType) {
            type.set_value(DocumentMainType.toUtf8().constData());
        } else if (value == MacroTemplateMainType || value == MacroDocumentMainType) {
            type.set_value(DocumentMainType.toUtf8().constData());
            macros = true;
        }
    }
    if (macros) {
        QStringList dropped;
        for (const TRelation& r : Relations(package, d->MainName))
            if (r.Type.endsWith(QLatin1String("/vbaProject")) && !r.Target.isEmpty()) {
                for (const TRelation& inner : Relations(package, r.Target))
                    if (!inner.Target.isEmpty())
                        dropped << inner.Target;
                dropped << r.Target << RelsPartOf(r.Target);
            }
        if (TPackagePart* rels = package.Find(RelsPartOf(d->MainName))) {
            pugi::xml_document doc;
            if (doc.load_buffer(rels->Data.constData(), static_cast<size_t>(rels->Data.size()), ParseFlags)) {
                std::vector<pugi::xml_node> drop;
                for (pugi::xml_node r : doc.document_element().children())
                    if (std::string_view(r.attribute("Type").value()).ends_with("/vbaProject"))
                        drop.push_back(r);
                for (pugi::xml_node r : drop)
                    doc.document_element().remove_child(r);
                rels->Data = Serialize(doc);
            }
        }
        for (const QString& name : dropped)
            package.Remove(name);
        std::vector<pugi::xml_node> drop;
        for (pugi::xml_node entry : types.document_element().children()) {
            const QString partName = QString::fromUtf8(entry.attribute("PartName").value());
            if (!partName.isEmpty() && dropped.contains(partName.mid(1)))
                drop.push_back(entry);
        }
        for (pugi::xml_node n : drop)
            types.document_element().remove_child(n);
    }
    package.Put(ContentTypesPart, Serialize(types));
    return package.Write(data, error);
}

bool TReportDocument::Save(const QString& fileName, QString* error) const
{
    QByteArray bytes;
    if (!SaveData(&bytes, error))
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QStringList TReportDocument::Paragraphs() const
{
    QStringList list;
    if (!IsOpen())
        return list;
    TXmlPart& main = *d->Parts.front();
    Index(main);
    for (const TParagraph& p : main.Paras)
        if (p.InStory)
            list << p.Text;
    return list;
}

QStringList TReportDocument::HeaderFooterParagraphs() const
{
    QStringList list;
    for (size_t i = 1; i < d->Parts.size(); ++i) {
        TXmlPart& part = *d->Parts[i];
        Index(part);
        for (const TParagraph& p : part.Paras)
            list << p.Text;
    }
    return list;
}
