// The plan renderer: draws the whole plan (background, zones, doors and windows,
// sensors, water sources, the scale bar) into the project's own image and copies it into
// the caller's picture. The desktop window, the command-line renderer and the tests all
// go through TFireProject::PaintRooms, so they see the same pixels.
//
// A plan may hold thousands of sensors and is redrawn on every mouse move while the user
// drags, so the sensor circles and labels, which never change between repaints, are
// rasterised once into small stamps (pixel runs) and then copied into the picture; a
// stamp is made by drawing the same primitive with the same canvas, so the pixels are
// exactly those a direct drawing would give.
//
// A zoomed view (TPlanView) draws only the part of the plan it shows, at the zoom: the
// same primitives through a canvas that maps plan pixels to the picture, stamps made at
// that zoom, and sensors outside the view left out.
#include "uFireClasses.h"
#include "uGeometry.h"
#include "uNumberText.h"
#include "uPlanCanvas.h"
#include "uZoneResults.h"

#include <QFontMetrics>
#include <QHash>
#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstring>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <QtGlobal>
#include <vector>

namespace {

const QColor clRed(255, 0, 0);
const QColor clBlack(0, 0, 0);
const QColor clWhite(255, 255, 255);
const QColor clBlue(0, 0, 255);
const QColor clGray(128, 128, 128);
const QColor clLightBlue(215, 228, 242);

QColor SensorColor(TSensorType t)
{
    switch (t) {
    case TSensorType::stTemperature: return QColor(255, 0, 0);
    case TSensorType::stSmoke: return QColor(0, 128, 0);
    case TSensorType::stOxygen: return QColor(166, 202, 240);
    case TSensorType::stToxic: return QColor(255, 255, 0);
    case TSensorType::stUnofficial: return QColor(192, 192, 192);
    }
    return QColor(192, 192, 192);
}

QColor FromTColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A rasterised primitive: horizontal runs of one colour each, relative to an anchor
// point, held in one array so that drawing a stamp touches little memory.
struct TStamp {
    struct Run {
        int16_t dx, dy, len;
        QRgb colour;
    };
    std::vector<Run> runs;
    int textWidth = 0;
    int minX = 0, minY = 0, maxX = -1, maxY = -1; // bounds of the runs around the anchor
};

constexpr int StampPad = 4;

// Rasterises `draw` into a stamp at a zoom of `percent`. The box is the area in plan
// pixels the drawing may cover around the anchor. At 100 % `draw` paints with its anchor
// at the picture position it is given; zoomed, at plan (0, 0), which the canvas maps to
// the anchor.
template <class F> TStamp MakeStamp(int32_t percent, int left, int top, int right, int bottom, F draw)
{
    TPlanView zoom;
    zoom.Percent = percent;
    if (percent != 100) {
        left = int(zoom.Zoomed(left)) - 1;
        top = int(zoom.Zoomed(top)) - 1;
        right = int(zoom.Zoomed(right)) + 1;
        bottom = int(zoom.Zoomed(bottom)) + 1;
    }
    QImage scratch(right - left + 2 * StampPad, bottom - top + 2 * StampPad, QImage::Format_ARGB32);
    scratch.fill(0);
    const int ax = StampPad - left, ay = StampPad - top;
    if (percent == 100) {
        TPlanCanvas c(scratch);
        draw(c, ax, ay);
    } else {
        zoom.Origin = QPoint(-ax, -ay);
        zoom.Size = scratch.size();
        TPlanCanvas c(scratch, zoom);
        draw(c, 0, 0);
    }
    TStamp s;
    for (int y = 0; y < scratch.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        int x = 0;
        while (x < scratch.width()) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            const QRgb colour = line[x] | 0xFF000000u;
            while (x < scratch.width() && qAlpha(line[x]) != 0 && (line[x] | 0xFF000000u) == colour)
                ++x;
            s.runs.push_back({int16_t(start - ax), int16_t(y - ay), int16_t(x - start), colour});
            s.minX = std::min(s.minX, start - ax);
            s.maxX = std::max(s.maxX, x - 1 - ax);
            s.minY = std::min(s.minY, y - ay);
            s.maxY = std::max(s.maxY, y - ay);
        }
    }
    return s;
}

// Sets len pixels to one colour. Runs are short, so four pixels go per store and the
// tail is one overlapping store instead of a loop.
inline void FillPixels(QRgb* d, int len, QRgb c)
{
#ifdef __SSE2__
    if (len >= 4) {
        const __m128i v = _mm_set1_epi32(int(c));
        int k = 0;
        for (; k + 4 <= len; k += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + k), v);
        if (k < len)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + len - 4), v);
        return;
    }
#endif
    for (int k = 0; k < len; ++k)
        d[k] = c;
}

// Copies the runs [first, last) of a stamp whose runs lie within minX..maxX, minY..maxY
// around its anchor into an RGB32 picture with the anchor at (x, y), clipped to the picture.
void PutRuns(uchar* bits, qsizetype bpl, int w, int h, const TStamp::Run* first, const TStamp::Run* last,
             int minX, int minY, int maxX, int maxY, int x, int y)
{
    if (x + maxX < 0 || y + maxY < 0 || x + minX >= w || y + minY >= h)
        return; // wholly outside the picture
    if (x + minX >= 0 && y + minY >= 0 && x + maxX < w && y + maxY < h) {
        // Wholly inside the picture: no clipping per run.
        uchar* origin = bits + y * bpl + qsizetype(x) * 4;
        for (const TStamp::Run* r = first; r != last; ++r)
            FillPixels(reinterpret_cast<QRgb*>(origin + r->dy * bpl) + r->dx, r->len, r->colour);
        return;
    }
    for (const TStamp::Run* rp = first; rp != last; ++rp) {
        const TStamp::Run& r = *rp;
        const int yy = y + r.dy;
        if (yy < 0 || yy >= h)
            continue;
        int xx = x + r.dx, len = r.len;
        if (xx < 0) {
            len += xx;
            xx = 0;
        }
        if (xx + len > w)
            len = w - xx;
        if (len <= 0)
            continue;
        FillPixels(reinterpret_cast<QRgb*>(bits + yy * bpl) + xx, len, r.colour);
    }
}

void PutStamp(uchar* bits, qsizetype bpl, int w, int h, const TStamp& s, int x, int y)
{
    PutRuns(bits, bpl, w, h, s.runs.data(), s.runs.data() + s.runs.size(), s.minX, s.minY, s.maxX, s.maxY, x, y);
}

// The stamps of sensor circles and texts, shared by every project drawn on this thread.
// Texts are cached per style (colour, size, background) and text; a cache is emptied
// when it grows past a bound so a long session cannot exhaust memory.
struct TTextStyle {
    QRgb colour = 0;
    int size = 0;
    int32_t percent = 100; // the zoom the stamps are made at
    QRgb background = 0; // meaningful only when opaque
    bool opaque = false;
    std::unordered_map<QString, TStamp> stamps; // nodes stay put: references remain valid
    // Shortcut by the text's storage: a sensor's name keeps its storage while unchanged,
    // and `kept` holds a reference to every storage in the index, so the same address and
    // length mean the same text. Open addressing in one array: one memory access per hit.
    struct Quick {
        const void* data = nullptr;
        qsizetype size = 0;
        const TStamp* stamp = nullptr;
    };
    std::vector<Quick> quick = std::vector<Quick>(1024);
    size_t quickCount = 0;
    std::vector<QString> kept;

    static size_t Slot(const void* data, size_t mask)
    {
        return (size_t(reinterpret_cast<quintptr>(data)) * 0x9E3779B97F4A7C15ull >> 20) & mask;
    }
    const TStamp* FindQuick(const QString& text) const
    {
        const size_t mask = quick.size() - 1;
        for (size_t i = Slot(text.constData(), mask);; i = (i + 1) & mask) {
            const Quick& q = quick[i];
            if (!q.data)
                return nullptr;
            if (q.data == text.constData() && q.size == text.size())
                return q.stamp;
        }
    }
    void AddQuick(const QString& text, const TStamp* stamp)
    {
        if ((quickCount + 1) * 2 > quick.size()) {
            std::vector<Quick> old(quick.size() * 2);
            old.swap(quick);
            quickCount = 0;
            for (const Quick& q : old)
                if (q.data)
                    Insert(q);
        }
        kept.push_back(text);
        Insert({kept.back().constData(), text.size(), stamp});
    }
    void Insert(const Quick& q)
    {
        const size_t mask = quick.size() - 1;
        size_t i = Slot(q.data, mask);
        while (quick[i].data && !(quick[i].data == q.data && quick[i].size == q.size))
            i = (i + 1) & mask;
        if (!quick[i].data)
            ++quickCount;
        quick[i] = q;
    }
    void Clear()
    {
        quick.assign(1024, Quick());
        quickCount = 0;
        kept.clear();
        stamps.clear();
    }
};

struct TStampCache {
    std::unordered_map<quint64, TStamp> circles; // nodes stay put: references remain valid
    std::vector<std::unique_ptr<TTextStyle>> styles;
};

thread_local TStampCache Stamps;

const TStamp& CircleStamp(TSensorType type, int size, int32_t percent)
{
    const quint64 key
        = (quint64(static_cast<uint8_t>(type)) << 48) | (quint64(quint16(percent)) << 32) | quint32(size);
    auto it = Stamps.circles.find(key);
    if (it != Stamps.circles.end())
        return it->second;
    const int s = size;
    TStamp st = MakeStamp(percent, -s - 1, -s - 1, s + 1, s + 1, [&](TPlanCanvas& c, int x, int y) {
        c.PenColor = clBlack;
        c.BrushColor = SensorColor(type);
        c.Ellipse(x - s, y - s, x + s, y + s);
    });
    return Stamps.circles.emplace(key, std::move(st)).first->second;
}

// A text stamp anchored at the top-left corner of the text cell, as the canvas's
// TextOut would draw it with the given font and brush.
TTextStyle* TextStyleFor(const QColor& colour, int fontSize, bool opaque, const QColor& bg, int32_t percent)
{
    const QRgb c = colour.rgb(), b = bg.rgb();
    for (const auto& st : Stamps.styles)
        if (st->colour == c && st->size == fontSize && st->percent == percent && st->opaque == opaque
            && (!opaque || st->background == b))
            return st.get();
    Stamps.styles.push_back(std::make_unique<TTextStyle>());
    TTextStyle* st = Stamps.styles.back().get();
    st->colour = c;
    st->size = fontSize;
    st->percent = percent;
    st->background = b;
    st->opaque = opaque;
    return st;
}

// A text stamp anchored at the top-left corner of the text cell, as the canvas's
// TextOut would draw it in the style's font colour, size and brush.
const TStamp& TextStamp(TTextStyle* style, const QString& text)
{
    if (const TStamp* hit = style->FindQuick(text))
        return *hit;
    const TStamp* found = nullptr;
    auto it = style->stamps.find(text);
    if (it != style->stamps.end()) {
        found = &it->second;
    } else {
        const QFontMetrics& fm = PlanFontMetrics(style->size);
        const int tw = fm.horizontalAdvance(text);
        const int th = fm.height();
        const QColor colour = QColor::fromRgb(style->colour), bg = QColor::fromRgb(style->background);
        // The width kept is the plan's (the label is centred in plan pixels).
        TStamp st = MakeStamp(style->percent, -th, -th, tw + th, 2 * th, [&](TPlanCanvas& c, int x, int y) {
            c.FontSize = style->size;
            c.FontColor = colour;
            c.BrushStyle = style->opaque ? TBrushStyle::Solid : TBrushStyle::Clear;
            c.BrushColor = bg;
            c.TextOut(x, y, text);
        });
        st.textWidth = tw;
        found = &style->stamps.emplace(text, std::move(st)).first->second;
    }
    style->AddQuick(text, found);
    return *found;
}

const TStamp& TextStamp(
    const QString& text, const QColor& colour, int fontSize, bool opaque, const QColor& bg, int32_t percent)
{
    return TextStamp(TextStyleFor(colour, fontSize, opaque, bg, percent), text);
}

// Empties the stamp caches when they have grown past their bounds; called before a
// repaint, never during one, since a repaint holds references into them.
void TrimStampCaches()
{
    if (Stamps.circles.size() > 256)
        Stamps.circles.clear();
    if (Stamps.styles.size() > 32)
        Stamps.styles.clear();
    for (auto& st : Stamps.styles)
        if (st->stamps.size() > 50000 || st->kept.size() > 50000)
            st->Clear();
}

// The sensor labels of the last repaint in the order they were drawn, each with a copy
// of its stamp's runs in one array in the same order. Finding a label's stamp in the
// text caches costs several scattered memory reads per sensor, which on a plan with
// thousands of sensors took more time than putting the pixels; here the next repaint
// of an unchanged plan reads the labels and their runs front to back. Each entry keeps a
// reference to its text, so an entry whose text has the same address and length as the
// label holds that very text; any other label (another text, another colour, sensors
// added, removed or reordered) is looked up in the caches and the sequence is rebuilt
// from that position on. One sequence per thread: drawing another project replaces it.
struct TLabelSequence {
    struct Entry {
        QString text;
        QRgb colour = 0;
        int textWidth = 0;
        int minX = 0, minY = 0, maxX = -1, maxY = -1;
        size_t firstRun = 0, runCount = 0;
    };
    std::vector<Entry> entries;
    std::vector<TStamp::Run> runs;
    size_t next = 0; // the entry the next label of the current repaint is checked against
    int32_t percent = 100; // the zoom the recorded runs are made at

    // Starts a repaint at a zoom of `zoom`; the record of another zoom is dropped.
    void Begin(int32_t zoom)
    {
        next = 0;
        if (zoom != percent) {
            entries.clear();
            runs.clear();
            percent = zoom;
        }
    }
    // The entry for the next label: the recorded one when it holds the same text in the
    // same colour, otherwise a new one made from `stamp()` in its place.
    template <class F>
    const Entry& Take(const QString& label, QRgb colour, F stamp)
    {
        if (next < entries.size()) {
            Entry& e = entries[next];
            if (e.colour == colour && e.text.size() == label.size()
                && (e.text.constData() == label.constData() || e.text == label)) {
                // The same text in another string (a project loaded again, a name set
                // anew): hold this one, so that the next repaint needs no comparison.
                if (e.text.constData() != label.constData())
                    e.text = label;
                ++next;
                return e;
            }
            runs.resize(e.firstRun);
            entries.resize(next);
        }
        const TStamp& st = stamp();
        Entry e;
        e.text = label;
        e.colour = colour;
        e.textWidth = st.textWidth;
        e.minX = st.minX, e.minY = st.minY, e.maxX = st.maxX, e.maxY = st.maxY;
        e.firstRun = runs.size();
        e.runCount = st.runs.size();
        runs.insert(runs.end(), st.runs.begin(), st.runs.end());
        entries.push_back(std::move(e));
        ++next;
        return entries.back();
    }
    // Drops what the repaint did not reach, so that the texts of removed sensors are let go.
    void End()
    {
        if (next < entries.size()) {
            runs.resize(entries[next].firstRun);
            entries.resize(next);
        }
    }
};

thread_local TLabelSequence Labels;

// The sensor's label: its name, followed by the remaining time when there is one.
QString SensorLabel(const TSensor& s)
{
    QString label = s.Name();
    if (s.TimeLeft() > 0) {
        if (s.TimeLeft() <= 180)
            label += QLatin1Char('(') + QString::number(s.TimeLeft()) + QLatin1Char(')');
        else
            label += QStringLiteral("(>180)");
    }
    return label;
}

// The door or window drawing of PaintDoor on a canvas.
void DrawDoor(TPlanCanvas& c, TDoor* door, const QColor& lighting, const QColor& pen)
{
    c.PenWidth = 1;
    c.PenStyle = TPenStyle::Solid;
    c.PenColor = pen;
    c.BrushColor = lighting;
    c.BrushStyle = TBrushStyle::Solid;
    door->RecalcRect();
    const TRect r = door->Rect();
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, w = door->Width();
    auto line = [&](int x1, int y1, int x2, int y2) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    auto opening = [&](int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        c.PenColor = lighting;
        line(x1, y1, x2, y2);
        line(x3, y3, x4, y4);
        c.PenColor = pen;
    };
    switch (door->Wall()) {
    case TWallType::wtLeft:
        if (door->IsWindow()) {
            c.Rectangle(R - 10, T, R, B);
            line(R - 6, T, R - 6, B);
        } else {
            c.Pie(L, T - w, R + w, B, L, T, R, B);
            opening(R, T, R, B - 1, R - 1, T, R - 1, B - 1);
        }
        break;
    case TWallType::wtRight:
        if (door->IsWindow()) {
            c.Rectangle(L + 10, T, L, B);
            line(L + 5, T, L + 5, B);
        } else {
            c.Pie(L - w, T, R, B + w, R, B, L, T);
            opening(L, T + 1, L, B - 1, L - 1, T + 1, L - 1, B - 1);
        }
        break;
    case TWallType::wtTop:
        if (door->IsWindow()) {
            c.Rectangle(L, B - 10, R, B);
            line(L, B - 6, R, B - 6);
        } else {
            c.Pie(L - w, T, R, B + w, R, B, L, T);
            opening(L, B, R - 1, B, L, B - 1, R - 1, B - 1);
        }
        break;
    case TWallType::wtBottom:
        if (door->IsWindow()) {
            c.Rectangle(L, T + 10, R, T);
            line(L, T + 5, R, T + 5);
        } else {
            c.Pie(L, T - w, R + w, B, L, T, R, B);
            opening(L + 1, T, R - 1, T, L + 1, T - 1, R - 1, T - 1);
        }
        break;
    case TWallType::wtNone:
        break;
    }
    c.BrushColor = clWhite;
    c.PenColor = clWhite;
}

// The dotted distance display of the selected sensor: its range circle and the four
// lines to the walls, each labelled with the wall distance when there is room for it.
void DrawSensorDistances(TPlanCanvas& c, const TFireProject& p, const TRoom& room, const TSensor& s)
{
    const TRect R = room.Rect();
    const TPoint P = s.Pos();
    const int sz = s.SensorSize;
    const int x = R.Left + P.X, y = R.Top + P.Y;
    // A range wider than any plan (a spacing of metres at a scale of nanometres per pixel
    // saturates at the 32-bit limit) is drawn as the widest one, so that x ± r stays in
    // 32 bits.
    const int r = std::clamp(s.Range(), -PlanLimits::Coordinate, PlanLimits::Coordinate);
    const int f = c.FontSize;
    c.Ellipse(x - r, y - r, x + r, y + r);
    auto line = [&](int x1, int y1, int x2, int y2) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    line(x, y - sz, x, R.Top);
    line(x, y + sz, x, R.Bottom);
    line(x - sz, y, R.Left, y);
    line(x + sz, y, R.Right, y);
    auto text = [&](int d) { return FormatGeneral(p.ScaledValue(d)); };
    int d = P.Y;
    if (d > 3 * sz) {
        const QString t = text(d);
        c.TextOut(x - c.TextWidth(t) / 2, R.Top + (d - sz) / 2 - f / 2, t);
    }
    d = R.Bottom - R.Top - P.Y;
    if (d > 3 * sz) {
        const QString t = text(d);
        c.TextOut(x - c.TextWidth(t) / 2, R.Bottom - (sz + d) / 2 + f / 2, t);
    }
    d = P.X;
    if (d > 3 * sz) {
        const QString t = text(d);
        c.TextOutRotated(90, R.Left + (d - sz) / 2 - f / 2, y + c.TextWidth(t) / 2, t);
    }
    d = R.Right - R.Left - P.X;
    if (d > 3 * sz) {
        const QString t = text(d);
        c.TextOutRotated(-90, R.Right - (d - sz) / 2 + f / 2, y - c.TextWidth(t) / 2, t);
    }
}

// The dotted line from a selected water source to the bounding rectangle of the zones,
// with its length.
void DrawWaterSourceDistance(TPlanCanvas& c, const TFireProject& p, const TWaterSource& ws)
{
    const TRect a = p.GetAllRoomsRect();
    const int X = ws.X(), Y = ws.Y();
    int tx, ty, lx, ly;
    long long d;
    const bool between = a.Left < X && X < a.Right;
    const bool beside = a.Top < Y && Y < a.Bottom;
    if (between && Y > a.Bottom) {
        tx = X, ty = a.Bottom, d = Y - a.Bottom;
        lx = X + 2, ly = int(Y - d / 2);
    } else if (X < a.Left && Y > a.Bottom) {
        tx = a.Left, ty = a.Bottom, d = RoundedDistance(X, Y, tx, ty);
        lx = X + (a.Left - X) / 2 + 2, ly = Y - (Y - a.Bottom) / 2;
    } else if (X > a.Right && Y > a.Bottom) {
        tx = a.Right, ty = a.Bottom, d = RoundedDistance(X, Y, tx, ty);
        lx = X - (X - a.Right) / 2, ly = Y - (Y - a.Bottom) / 2 - 2;
    } else if (between && Y < a.Top) {
        tx = X, ty = a.Top, d = a.Top - Y;
        lx = X + 2, ly = int(Y + d / 2);
    } else if (X < a.Left && Y < a.Top) {
        tx = a.Left, ty = a.Top, d = RoundedDistance(X, Y, tx, ty);
        lx = X + (a.Left - X) / 2 + 2, ly = Y - (Y - a.Top) / 2;
    } else if (X > a.Right && Y < a.Top) {
        tx = a.Right, ty = a.Top, d = RoundedDistance(X, Y, tx, ty);
        lx = X - (X - a.Right) / 2 + 2, ly = Y - (Y - a.Top) / 2 + 2;
    } else if (beside && X < a.Left) {
        tx = a.Left, ty = Y, d = a.Left - X;
        lx = int(X + d / 2 + 2), ly = Y + 2;
    } else if (beside && X > a.Right) {
        tx = a.Right, ty = Y, d = X - a.Right;
        lx = int(X - d / 2 + 2), ly = Y + 2;
    } else {
        return; // inside the zones' rectangle or on its edge lines: nothing to measure
    }
    c.MoveTo(X, Y);
    c.LineTo(tx, ty);
    c.TextOut(lx, ly, FormatGeneral(p.ScaledValue(static_cast<long double>(d))));
}

// Makes `img` a w x h RGB32 picture that nobody else shares, keeping its memory when it
// already fits. When the caller's picture is still the one the last repaint handed over
// and nobody else holds it, the repaint draws into that memory again (the caller's
// picture is replaced at the end anyway): using one picture over and over instead of
// two in turn keeps the processor's caches for the plan instead of a second full-size
// picture, which shows on large plans.
void PrepareImage(QImage& img, QImage& buffer, int w, int h)
{
    if (!img.isNull() && buffer.constBits() == img.constBits()) {
        img = QImage();
        if (buffer.isDetached() && buffer.width() == w && buffer.height() == h
            && buffer.format() == QImage::Format_RGB32)
            std::swap(img, buffer);
    }
    if (img.width() != w || img.height() != h || img.format() != QImage::Format_RGB32 || !img.isDetached())
        img = QImage(w, h, QImage::Format_RGB32);
}

// Hands the finished picture to the caller without copying its pixels. A caller's
// picture of the same size that nobody else shares is swapped in and becomes the next
// scratch image (every repaint covers the whole of it); otherwise the caller shares the
// picture, and the next repaint draws into fresh memory unless that same picture comes
// back with no other holder (PrepareImage), so what the caller keeps never changes under it.
void HandOver(QImage& image, QImage& buffer)
{
    if (image.isNull()) {
        buffer = QImage();
        return;
    }
    if (buffer.size() == image.size() && buffer.format() == image.format() && buffer.isDetached())
        std::swap(buffer, image);
    else
        buffer = image;
}

} // namespace

bool TFireProject::PaintDoor(QPainter& canvas, TDoor* Door, const QColor& LightingColor, const QColor& PenColor)
{
    if (!Door)
        return false;
    TPlanCanvas c(canvas);
    DrawDoor(c, Door, LightingColor, PenColor);
    canvas.setPen(clWhite);
    canvas.setBrush(clWhite);
    return true;
}

void TFireProject::PaintRooms(QImage& buffer) { PaintRooms(buffer, TPlanView()); }

namespace {

// Picture coordinates of plan values, held far inside the integer range (a view may lie
// anywhere on a plan of the largest size at the largest zoom).
int PictureCoordinate(int64_t v)
{
    constexpr int64_t Limit = int64_t(1) << 30;
    return static_cast<int>(std::clamp(v, -Limit, Limit));
}

} // namespace

void TFireProject::PaintRooms(QImage& buffer, const TPlanView& view)
{
    TrimStampCaches();
    const bool mapped = !view.Identity();
    const int32_t percent = view.Percent;
    const QRect area = view.PlanArea(); // the plan pixels the picture shows
    auto pictureX = [&](int64_t x) { return mapped ? PictureCoordinate(view.ToPictureX(x)) : int(x); };
    auto pictureY = [&](int64_t y) { return mapped ? PictureCoordinate(view.ToPictureY(y)) : int(y); };

    // 1-2. Background picture, or a white canvas of the plan size.
    const QImage* bg = (FBackgroundImage && ShowBackgroundImage && !FBackgroundImage->isNull())
                           ? FBackgroundImage.get() : nullptr;
    if (!view.WholePlan()) {
        // A view: the picture is the part it names, the background zoomed into it pixel by
        // pixel (a photograph cannot be drawn sharper than it is).
        if (view.Size.isEmpty()) {
            image = QImage();
            buffer = QImage();
            NeedRepaint = false;
            return;
        }
        PrepareImage(image, buffer, view.Size.width(), view.Size.height());
        image.fill(clWhite);
        if (bg) {
            QPainter bp(&image);
            bp.setCompositionMode(QPainter::CompositionMode_Source);
            const QRectF plan(0, 0, bg->width(), bg->height());
            const double scale = percent / 100.0;
            const QRectF shown = QRectF(view.Origin.x() / scale, view.Origin.y() / scale,
                view.Size.width() / scale, view.Size.height() / scale)
                                     .intersected(plan);
            if (!shown.isEmpty())
                bp.drawImage(
                    QRectF(shown.left() * scale - view.Origin.x(), shown.top() * scale - view.Origin.y(),
                        shown.width() * scale, shown.height() * scale),
                    *bg, shown);
        }
    } else if (bg) {
        PrepareImage(image, buffer, bg->width(), bg->height());
        if (bg->format() == QImage::Format_RGB32 && bg->bytesPerLine() == image.bytesPerLine()) {
            std::memcpy(image.bits(), bg->constBits(), size_t(std::min(bg->sizeInBytes(), image.sizeInBytes())));
        } else {
            QPainter bp(&image);
            bp.setCompositionMode(QPainter::CompositionMode_Source);
            bp.drawImage(0, 0, bg->convertToFormat(QImage::Format_RGB32));
        }
    } else {
        if (Width <= 0 || Height <= 0) {
            image = QImage();
            buffer = QImage();
            NeedRepaint = false;
            return;
        }
        PrepareImage(image, buffer, Width, Height);
        image.fill(clWhite);
    }

    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const int iw = image.width(), ih = image.height();
    {
        TPlanCanvas c(image);
        if (mapped)
            c.SetView(view);
        c.BrushColor = clWhite;
        // 3.
        c.FontSize = 7;

        // 4. Zones. On the white canvas a zone filled white needs no fill where nothing
        // has been drawn yet; `drawn` collects what earlier zones and their labels covered,
        // so the picture is the same as with every fill done.
        std::vector<QRect> drawn;
        auto covered = [&](const QRect& area) {
            for (const QRect& d : drawn)
                if (d.intersects(area))
                    return true;
            return false;
        };
        for (const auto& up : Rooms) {
            const TRoom& room = *up;
            const TRect r = room.Rect();
            c.PenColor = room.Selected ? clRed : clBlack;
            c.PenStyle = TPenStyle::Solid;
            c.PenWidth = 1;
            c.FontColor = c.PenColor;
            if (PaintParams.TransparentRooms) {
                c.BrushStyle = TBrushStyle::FDiagonal;
                c.BrushColor = c.PenColor;
            }
            if (PaintParams.ColoredRooms)
                c.BrushColor = FromTColor(room.Color);
            // Two rectangles give a border two pixels thick whose outer line lies on
            // the zone's rectangle.
            const QRect outer = QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom)).normalized();
            const bool plainWhite = !bg && c.BrushStyle == TBrushStyle::Solid && c.BrushColor == clWhite;
            if (plainWhite && !covered(outer.adjusted(1, 1, -1, -1))) {
                c.BrushStyle = TBrushStyle::Clear;
                c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
                c.BrushStyle = TBrushStyle::Solid;
            } else {
                c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
            }
            drawn.push_back(outer);
            // The inner rectangle's inside is already filled with the same brush by the
            // outer one (hatches are aligned to the picture), so only its outline is new.
            const TBrushStyle fill = c.BrushStyle;
            c.BrushStyle = TBrushStyle::Clear;
            c.Rectangle(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
            c.BrushStyle = fill;
            c.BrushStyle = TBrushStyle::Solid;
            c.BrushColor = clWhite;
            // The verdict's tint, inside the border and translucent, so the fill, the
            // hatch and the background stay visible; labels, doors and sensors come on top.
            if (PaintParams.ShowZoneVerdicts && r.Right - r.Left > 3 && r.Bottom - r.Top > 3)
                if (const std::optional<QColor> tint = ZoneTint(room))
                    c.Blend(r.Left + 2, r.Top + 2, r.Right - 1, r.Bottom - 1, *tint);
            if (PaintParams.ShowRoomInfo) {
                if (!room.Name().isEmpty()) {
                    const TStamp& name
                        = TextStamp(room.Name(), c.FontColor, c.FontSize, true, c.BrushColor, percent);
                    PutStamp(
                        bits, bpl, iw, ih, name, pictureX(int64_t(r.Left) + 3), pictureY(int64_t(r.Top) + 2));
                    if (!mapped)
                        drawn.push_back(QRect(QPoint(r.Left + 3 + name.minX, r.Top + 2 + name.minY),
                            QPoint(r.Left + 3 + name.maxX, r.Top + 2 + name.maxY)));
                    else // the stamp is in picture pixels: the cell in plan pixels, with room to spare
                        drawn.push_back(QRect(r.Left + 3 - 2, r.Top + 2 - 2, c.TextWidth(room.Name()) + 4,
                            c.TextHeight(room.Name()) + 4));
                }
                if (room.Selected) {
                    QString second;
                    if (px() <= 0)
                        second = QStringLiteral("Масштаб не задан");
                    else
                        second = QStringLiteral("%1x%2x%3")
                                     .arg(FormatGeneral(ScaledValue(r.Right - r.Left)),
                                          FormatGeneral(ScaledValue(r.Bottom - r.Top)),
                                          FormatGeneral(ScaledValue(room.H())));
                    c.TextOut(r.Left + 3, r.Top + 14, second);
                    drawn.push_back(QRect(r.Left + 3 - 2, r.Top + 14 - 2, c.TextWidth(second) + 4, c.TextHeight(second) + 4));
                }
            }
        }

        // 5. Doors and sensors, after every zone so that they lie on top.
        Labels.Begin(percent);
        TTextStyle* labelStyle = nullptr; // sensor labels: 6 pt on a clear brush
        struct {
            const TStamp* stamp = nullptr;
            int size = -1;
        } lastCircle[5]; // by sensor type
        QColor labelColour;
        // A view leaves out the sensors it cannot show anything of: the circle, and the
        // label under it (at most 64 letters, centred) with room to spare.
        constexpr int64_t LabelHalfWidth = 300, LabelDepth = 24;
        const int64_t showLeft = area.left(), showTop = area.top(), showRight = area.right(),
                      showBottom = area.bottom();
        for (const auto& up : Rooms) {
            const TRoom& room = *up;
            for (const auto& door : room.Doors) {
                if (door->IsFake())
                    continue;
                c.PenWidth = 1;
                c.PenStyle = TPenStyle::Solid;
                c.PenColor = room.Selected ? clRed : clBlue;
                DrawDoor(c, door.get(), door->Lighting() ? clLightBlue : clWhite, c.PenColor);
            }
            const TRect rr = room.Rect();
            const size_t count = room.Sensors.size();
            for (size_t i = 0; i < count; ++i) {
                // Sensors live in separate allocations; fetching the next ones ahead
                // hides most of the memory latency on plans with thousands of them.
                if (i + 4 < count) {
                    const char* next = reinterpret_cast<const char*>(room.Sensors[i + 4].get());
                    __builtin_prefetch(next);
                    __builtin_prefetch(next + 64);
                    __builtin_prefetch(next + 128);
                    __builtin_prefetch(next + 192);
                    __builtin_prefetch(next + 256);
                }
                if (i + 2 < count)
                    __builtin_prefetch(room.Sensors[i + 2]->Name().constData());
                const TSensor& s = *room.Sensors[i];
                const int x = rr.Left + s.Pos().X, y = rr.Top + s.Pos().Y;
                const int sz = s.SensorSize;
                if (mapped && !s.Selected()) {
                    const int64_t reach = std::abs(int64_t(sz));
                    if (x + reach + LabelHalfWidth < showLeft || x - reach - LabelHalfWidth > showRight
                        || y + 2 * reach + LabelDepth < showTop || y - reach > showBottom)
                        continue;
                }
                c.PenWidth = 1;
                c.PenStyle = TPenStyle::Solid;
                c.PenColor = clBlack;
                c.BrushStyle = TBrushStyle::Solid;
                if (sz >= 0 && sz <= 200) {
                    // Sensors of one type mostly share a size: the stamp found for the
                    // type last time is checked before the cache is searched.
                    const size_t type = static_cast<uint8_t>(s.SensorType);
                    const TStamp* circle = nullptr;
                    if (type < std::size(lastCircle) && lastCircle[type].size == sz) {
                        circle = lastCircle[type].stamp;
                    } else {
                        circle = &CircleStamp(s.SensorType, sz, percent);
                        if (type < std::size(lastCircle))
                            lastCircle[type] = {circle, sz};
                    }
                    PutStamp(bits, bpl, iw, ih, *circle, pictureX(x), pictureY(y));
                } else {
                    c.BrushColor = SensorColor(s.SensorType);
                    c.Ellipse(x - sz, y - sz, x + sz, y + sz);
                }
                if (s.Activated()) {
                    c.BrushStyle = TBrushStyle::BDiagonal;
                    c.BrushColor = clBlack;
                    c.Ellipse(x - sz, y - sz, x + sz, y + sz);
                }
                // Label on a clear brush in 6 pt, centred under the circle's middle.
                c.BrushColor = clWhite;
                c.BrushStyle = TBrushStyle::Clear;
                const int savedSize = c.FontSize;
                c.FontSize = 6;
                // Most labels are the bare name, used without a copy.
                const QString withTime = s.TimeLeft() > 0 ? SensorLabel(s) : QString();
                const QString& label = s.TimeLeft() > 0 ? withTime : s.Name();
                if (!label.isEmpty()) {
                    const TLabelSequence::Entry& ls = Labels.Take(label, c.FontColor.rgb(), [&]() -> const TStamp& {
                        if (!labelStyle || c.FontColor != labelColour) {
                            labelStyle = TextStyleFor(c.FontColor, c.FontSize, false, c.BrushColor, percent);
                            labelColour = c.FontColor;
                        }
                        return TextStamp(labelStyle, label);
                    });
                    const TStamp::Run* runs = Labels.runs.data() + ls.firstRun;
                    PutRuns(bits, bpl, iw, ih, runs, runs + ls.runCount, ls.minX, ls.minY, ls.maxX, ls.maxY,
                        pictureX(int64_t(x) - ls.textWidth / 2),
                        pictureY(int64_t(y) + 2 * sz + c.FontHeight()));
                }
                c.PenStyle = TPenStyle::Dot;
                if (s.Selected() && PaintParams.PaintSensorDistances)
                    DrawSensorDistances(c, *this, room, s);
                c.PenStyle = TPenStyle::Solid;
                c.BrushStyle = TBrushStyle::Solid;
                c.FontSize = savedSize;
            }
        }

        Labels.End();

        // 6. Water sources.
        c.PenColor = clBlack;
        for (const auto& wp : FWaterSources) {
            const TWaterSource& ws = *wp;
            const int X = ws.X(), Y = ws.Y();
            // The left half is flood-filled as on the whole plan where the view shows the
            // whole source at full size or more; a view that cuts it off or merges its
            // pixels would leave the fill outside or let it run out, so there the half is
            // filled as a shape.
            const int64_t half = dynamic_cast<const TWSPier*>(&ws) ? 20 : 10;
            const bool flood = !mapped
                || (percent >= 100
                    && QRect(QPoint(0, 0), image.size())
                           .contains(QRect(QPoint(pictureX(X - half), pictureY(Y - half)),
                               QPoint(pictureX(X + half), pictureY(Y + half)))));
            if (dynamic_cast<const TWSFireHydrant*>(&ws)) {
                c.Ellipse(X - 10, Y - 10, X + 10, Y + 10);
                c.BrushColor = clBlue;
                if (!flood) {
                    c.PenStyle = TPenStyle::Clear;
                    c.Pie(X - 9, Y - 9, X + 9, Y + 9, X, Y - 10, X, Y + 10);
                    c.PenStyle = TPenStyle::Solid;
                }
                c.MoveTo(X, Y - 10);
                c.LineTo(X, Y + 10);
                if (flood)
                    c.FloodFillSurface(X - 2, Y, clWhite);
            } else if (dynamic_cast<const TWSPier*>(&ws)) {
                c.Rectangle(X - 20, Y - 20, X + 20, Y + 20);
                c.BrushColor = clBlue;
                if (!flood)
                    c.FillPolygon({ QPoint(X - 19, Y - 19), QPoint(X - 19, Y + 19), QPoint(X + 19, Y + 19) });
                c.MoveTo(X - 20, Y - 20);
                c.LineTo(X + 20, Y + 20);
                if (flood)
                    c.FloodFillSurface(X - 2, Y, clWhite);
            }
            c.BrushColor = clWhite;
            c.PenStyle = TPenStyle::Dot;
            if (ws.Selected && ws.Parent())
                DrawWaterSourceDistance(c, *this, ws);
            c.PenStyle = TPenStyle::Solid;
        }

        // 7. Scale bar at fixed picture coordinates: a hundred picture pixels, which in a
        // zoomed view are 100 · 100 / Percent plan pixels.
        if (PaintParams.ShowScale) {
            c.SetView(TPlanView());
            c.PenStyle = TPenStyle::Solid;
            c.PenColor = clGray;
            c.FontColor = clGray;
            c.FontSize = 6;
            c.MoveTo(15, 20);
            c.LineTo(115, 20);
            c.MoveTo(15, 15);
            c.LineTo(15, 26);
            c.MoveTo(115, 15);
            c.LineTo(115, 26);
            const long double length = mapped ? 100.0L * 100 / percent : 100;
            const QString t = FormatGeneral(ScaledValue(length)) + QStringLiteral(" м");
            c.TextOut(65 - c.TextWidth(t) / 2, 7, t);
            c.PenColor = clBlack;
            c.FontColor = clBlack;
            c.FontSize = 7;
        }
    }

    // 8.
    HandOver(image, buffer);
    NeedRepaint = false;
}
