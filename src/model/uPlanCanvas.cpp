// The classic-canvas drawing rules mapped onto QPainter without antialiasing.
#include "uPlanCanvas.h"

#include "uTextOutRotated.h"

#include <QFontMetrics>
#include <QHash>
#include <QPen>
#include <QtMath>
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

int PlanFontPixels(int pointSize)
{
    // Points at 96 dpi, rounded like the classic MulDiv(size, 96, 72).
    return (pointSize * 96 + 36) / 72;
}

QFont PlanFont(int pointSize)
{
    // Fonts are looked up once per size: building one costs more than drawing a label.
    thread_local QHash<int, QFont> fonts;
    auto it = fonts.constFind(pointSize);
    if (it != fonts.constEnd())
        return *it;
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, PlanFontPixels(pointSize)));
    f.setStyleStrategy(QFont::NoAntialias);
    fonts.insert(pointSize, f);
    return f;
}

QFont PlanFontOfPixels(int pixels)
{
    thread_local QHash<int, QFont> fonts;
    auto it = fonts.constFind(pixels);
    if (it != fonts.constEnd())
        return *it;
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, pixels));
    f.setStyleStrategy(QFont::NoAntialias);
    fonts.insert(pixels, f);
    return f;
}

const QFontMetrics& PlanFontMetrics(int pointSize)
{
    // Kept for the life of the thread and released with it (a renderer running on a
    // worker thread must not leave its metrics behind).
    thread_local std::unordered_map<int, std::unique_ptr<QFontMetrics>> metrics;
    std::unique_ptr<QFontMetrics>& m = metrics[pointSize];
    if (!m)
        m = std::make_unique<QFontMetrics>(PlanFont(pointSize));
    return *m;
}

// --- the view ---------------------------------------------------------------------------

namespace {

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Picture coordinates handed to QPainter stay far inside its integer range.
int ClampCoordinate(int64_t v)
{
    constexpr int64_t Limit = int64_t(1) << 30;
    return static_cast<int>(std::clamp(v, -Limit, Limit));
}

} // namespace

int64_t TPlanView::Zoomed(int64_t v) const { return Percent == 100 ? v : FloorDiv(v * Percent, 100); }

int64_t TPlanView::FromZoomed(int64_t z) const
{
    if (Percent == 100)
        return z;
    // The plan pixels p with Zoomed(p) = z run from ⌈100·z/Percent⌉ to hi; zoomed in there
    // is none (z lies inside the columns of plan pixel hi), zoomed out the middle one is taken.
    const int64_t lo = -FloorDiv(-z * 100, Percent);
    const int64_t hi = FloorDiv((z + 1) * 100 - 1, Percent);
    return lo > hi ? hi : FloorDiv(lo + hi, 2);
}

QRect TPlanView::PlanArea() const
{
    if (Size.isEmpty())
        return QRect(QPoint(-(1 << 30), -(1 << 30)), QPoint(1 << 30, 1 << 30));
    const int64_t l = FloorDiv(int64_t(Origin.x()) * 100, Percent) - 1;
    const int64_t t = FloorDiv(int64_t(Origin.y()) * 100, Percent) - 1;
    const int64_t r = FloorDiv((int64_t(Origin.x()) + Size.width()) * 100, Percent) + 1;
    const int64_t b = FloorDiv((int64_t(Origin.y()) + Size.height()) * 100, Percent) + 1;
    return QRect(
        QPoint(ClampCoordinate(l), ClampCoordinate(t)), QPoint(ClampCoordinate(r), ClampCoordinate(b)));
}

// --- the canvas -------------------------------------------------------------------------

TPlanCanvas::TPlanCanvas(QImage& image) : FImage(&image), FPainter(new QPainter(&image)), FOwnPainter(true)
{
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
}

TPlanCanvas::TPlanCanvas(QImage& image, const TPlanView& view)
    : TPlanCanvas(image)
{
    SetView(view);
}

void TPlanCanvas::SetView(const TPlanView& view)
{
    FView = view;
    FMapped = !view.Identity();
    FFontSizeSet = -1;
    FFontPixelsSet = -1;
}

QRect TPlanCanvas::MapRect(int64_t l, int64_t t, int64_t r, int64_t b) const
{
    if (!FMapped)
        return QRect(QPoint(int(l), int(t)), QPoint(int(r - 1), int(b - 1)));
    const int64_t ml = FView.ToPictureX(l), mt = FView.ToPictureY(t);
    // The picture pixels from the one holding plan pixel l to the one holding r − 1: zoomed
    // out, a line of one plan pixel keeps the pixel it is merged into, and two lines
    // meeting at a corner still meet.
    const int64_t mr = std::max({ FView.ToPictureX(r), FView.ToPictureX(r - 1) + 1, ml + 1 });
    const int64_t mb = std::max({ FView.ToPictureY(b), FView.ToPictureY(b - 1) + 1, mt + 1 });
    return QRect(QPoint(ClampCoordinate(ml), ClampCoordinate(mt)),
        QPoint(ClampCoordinate(mr - 1), ClampCoordinate(mb - 1)));
}

QPoint TPlanCanvas::MapPoint(int64_t x, int64_t y) const
{
    if (!FMapped)
        return QPoint(int(x), int(y));
    const QRect cell = MapRect(x, y, x + 1, y + 1);
    return QPoint(cell.left() + (cell.width() - 1) / 2, cell.top() + (cell.height() - 1) / 2);
}

int TPlanCanvas::MapWidth(int w) const
{
    const int plan = std::max(1, w);
    if (!FMapped)
        return plan;
    return std::max(1, int((int64_t(plan) * FView.Percent + 50) / 100));
}

TPlanCanvas::TPlanCanvas(QPainter& painter)
    : FImage(dynamic_cast<QImage*>(painter.device())), FPainter(&painter), FOwnPainter(false)
{
}

TPlanCanvas::~TPlanCanvas()
{
    if (FOwnPainter) {
        FPainter->end();
        delete FPainter;
    }
}

void TPlanCanvas::ApplyPen(bool forText)
{
    if (forText) {
        FPainter->setPen(QPen(FontColor));
        return;
    }
    if (PenStyle == TPenStyle::Clear) {
        FPainter->setPen(Qt::NoPen);
        return;
    }
    QPen pen(PenColor, MapWidth(PenWidth));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (PenStyle == TPenStyle::Dot)
        pen.setDashPattern({1, 1});
    FPainter->setPen(pen);
}

void TPlanCanvas::ApplyBrush()
{
    switch (BrushStyle) {
    case TBrushStyle::Solid:
        FPainter->setBrush(QBrush(BrushColor, Qt::SolidPattern));
        // Gaps of dotted lines and text cells take the brush colour, as on the classic
        // canvas in its opaque background mode.
        FPainter->setBackgroundMode(Qt::OpaqueMode);
        FPainter->setBackground(QBrush(BrushColor));
        break;
    case TBrushStyle::Clear:
        FPainter->setBrush(Qt::NoBrush);
        FPainter->setBackgroundMode(Qt::TransparentMode);
        break;
    case TBrushStyle::FDiagonal:
    case TBrushStyle::BDiagonal:
        // Hatches leave their gaps transparent so the background shows through.
        FPainter->setBrush(QBrush(BrushColor, BrushStyle == TBrushStyle::FDiagonal ? Qt::FDiagPattern
                                                                                    : Qt::BDiagPattern));
        FPainter->setBackgroundMode(Qt::TransparentMode);
        break;
    }
    // Hatches stay fixed to the plan when a zoomed view scrolls.
    if (FMapped)
        FPainter->setBrushOrigin(-FView.Origin.x(), -FView.Origin.y());
    else
        FPainter->setBrushOrigin(0, 0);
}

void TPlanCanvas::ApplyFont()
{
    if (FFontSizeSet == FontSize)
        return;
    if (FMapped) {
        FFontPixelsSet = int((int64_t(PlanFontPixels(FontSize)) * FView.Percent + 50) / 100);
        FPainter->setFont(PlanFontOfPixels(FFontPixelsSet));
    } else {
        FPainter->setFont(PlanFont(FontSize));
    }
    FFontSizeSet = FontSize;
}

QPainter& TPlanCanvas::Painter()
{
    ApplyPen(false);
    ApplyBrush();
    return *FPainter;
}

void TPlanCanvas::MoveTo(int x, int y)
{
    FPenX = x;
    FPenY = y;
}

void TPlanCanvas::LineTo(int x, int y)
{
    const int x0 = FPenX, y0 = FPenY;
    FPenX = x;
    FPenY = y;
    if (PenStyle == TPenStyle::Clear || (x0 == x && y0 == y))
        return;
    if (PenStyle == TPenStyle::Solid && PenWidth <= 1 && (x0 == x || y0 == y)) {
        // Axis-parallel hairlines are set pixel by pixel: start included, end excluded.
        QRect r;
        if (x0 == x)
            r = y < y0 ? MapRect(x, int64_t(y) + 1, int64_t(x) + 1, int64_t(y0) + 1)
                       : MapRect(x, y0, int64_t(x) + 1, y);
        else
            r = x < x0 ? MapRect(int64_t(x) + 1, y, int64_t(x0) + 1, int64_t(y) + 1)
                       : MapRect(x0, y, x, int64_t(y) + 1);
        FPainter->fillRect(r, PenColor);
        return;
    }
    ApplyPen(false);
    ApplyBrush();
    QPoint a = MapPoint(x0, y0);
    const QPoint b = MapPoint(x, y);
    if (FMapped && FImage && PenStyle == TPenStyle::Dot && MapWidth(PenWidth) == 1
        && (a.x() == b.x() || a.y() == b.y())) {
        // Qt starts the dots of a thin line afresh where it clips the line to the picture,
        // so a view would dot a line that starts outside it otherwise than the whole plan
        // does. The start is brought into the picture by whole periods of the pattern.
        const bool horizontal = a.y() == b.y();
        const int size = horizontal ? FImage->width() : FImage->height();
        const int end = horizontal ? b.x() : b.y();
        int start = horizontal ? a.x() : a.y();
        if (start < end && start < 0)
            start += (-start + 1) / 2 * 2;
        else if (start > end && start > size)
            start -= (start - size + 1) / 2 * 2;
        (horizontal ? a.rx() : a.ry()) = start;
    }
    FPainter->drawLine(a, b);
}

void TPlanCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l < 1 || b - t < 1)
        return;
    if (PenStyle == TPenStyle::Solid && PenWidth <= 1) {
        // Exact pixels: the inside first, then the outline on the outermost pixels.
        if (BrushStyle != TBrushStyle::Clear && r - l > 2 && b - t > 2) {
            ApplyPen(false);
            ApplyBrush();
            FPainter->fillRect(
                MapRect(int64_t(l) + 1, int64_t(t) + 1, int64_t(r) - 1, int64_t(b) - 1), FPainter->brush());
        }
        FPainter->fillRect(MapRect(l, t, r, int64_t(t) + 1), PenColor);
        FPainter->fillRect(MapRect(l, int64_t(b) - 1, r, b), PenColor);
        FPainter->fillRect(MapRect(l, t, int64_t(l) + 1, b), PenColor);
        FPainter->fillRect(MapRect(int64_t(r) - 1, t, r, b), PenColor);
        return;
    }
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawRect(StrokeBox(l, t, r, b));
}

QRect TPlanCanvas::StrokeBox(int64_t l, int64_t t, int64_t r, int64_t b) const
{
    const QRect a = MapRect(l, t, r, b);
    // The stroke is centred on the path: a wide pen's path lies half its width inside.
    const int inset = (MapWidth(PenWidth) - 1) / 2;
    if (!FMapped || a.width() <= 2 * inset + 1 || a.height() <= 2 * inset + 1)
        return QRect(a.left(), a.top(), a.width() - 1, a.height() - 1);
    return QRect(a.left() + inset, a.top() + inset, a.width() - 1 - 2 * inset, a.height() - 1 - 2 * inset);
}

void TPlanCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r <= l || b <= t || BrushStyle == TBrushStyle::Clear)
        return;
    ApplyBrush();
    FPainter->fillRect(MapRect(l, t, r, b), FPainter->brush());
}

void TPlanCanvas::FillPolygon(const QPolygon& points)
{
    if (BrushStyle == TBrushStyle::Clear || points.size() < 3)
        return;
    QPolygon shown;
    shown.reserve(points.size());
    for (const QPoint& p : points)
        shown << MapPoint(p.x(), p.y());
    ApplyBrush();
    FPainter->setPen(Qt::NoPen);
    FPainter->drawPolygon(shown);
}

void TPlanCanvas::Blend(int x1, int y1, int x2, int y2, const QColor& colour)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r <= l || b <= t)
        return;
    FPainter->fillRect(MapRect(l, t, r, b), colour);
}

void TPlanCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l < 1 || b - t < 1)
        return;
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawEllipse(StrokeBox(l, t, r, b));
}

void TPlanCanvas::Pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l < 1 || b - t < 1)
        return;
    const QRectF box(StrokeBox(l, t, r, b));
    const QPointF c = box.center();
    const QPoint s = MapPoint(sx, sy), e = MapPoint(ex, ey);
    sx = s.x(), sy = s.y(), ex = e.x(), ey = e.y();
    // Angles counter-clockwise as seen on the y-down picture.
    const qreal a1 = qRadiansToDegrees(qAtan2(-(sy - c.y()), sx - c.x()));
    const qreal a2 = qRadiansToDegrees(qAtan2(-(ey - c.y()), ex - c.x()));
    qreal span = a2 - a1;
    while (span <= 0)
        span += 360;
    while (span > 360)
        span -= 360;
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawPie(box, qRound(a1 * 16), qRound(span * 16));
}

void TPlanCanvas::TextOut(int x, int y, const QString& text)
{
    TextOutRotated(0, x, y, text);
}

void TPlanCanvas::TextOutRotated(int angle, int x, int y, const QString& text)
{
    ApplyBrush();
    ApplyFont();
    // Zoomed far out, letters of a pixel or two are only specks.
    if (FMapped && FFontPixelsSet < 3)
        return;
    ApplyPen(true);
    if (FMapped)
        ::TextOutRotated(*FPainter, angle, ClampCoordinate(FView.ToPictureX(x)),
            ClampCoordinate(FView.ToPictureY(y)), text);
    else
        ::TextOutRotated(*FPainter, angle, x, y, text);
}

int TPlanCanvas::TextWidth(const QString& text) const
{
    return PlanFontMetrics(FontSize).horizontalAdvance(text);
}

int TPlanCanvas::TextHeight(const QString&) const
{
    return PlanFontMetrics(FontSize).height();
}

namespace {

// Scan-line fill of the 4-connected area of colour `from`, compared on the colour
// channels only (the plan pictures carry no transparency).
void FloodFillImage(QImage& img, int x, int y, QRgb from, QRgb to)
{
    const int w = img.width(), h = img.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32
        && img.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    auto same = [from](QRgb c) { return ((c ^ from) & 0x00FFFFFFu) == 0; };
    if (((from ^ to) & 0x00FFFFFFu) == 0)
        return;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    auto row = [&](int yy) { return reinterpret_cast<QRgb*>(bits + yy * bpl); };
    if (!same(row(y)[x]))
        return;
    std::vector<std::pair<int, int>> stack;
    stack.emplace_back(x, y);
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        QRgb* line = row(sy);
        if (!same(line[sx]))
            continue;
        int l = sx, r = sx;
        while (l > 0 && same(line[l - 1]))
            --l;
        while (r < w - 1 && same(line[r + 1]))
            ++r;
        for (int i = l; i <= r; ++i)
            line[i] = to;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            QRgb* nl = row(ny);
            bool inRun = false;
            for (int i = l; i <= r; ++i) {
                if (same(nl[i])) {
                    if (!inRun)
                        stack.emplace_back(i, ny);
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        }
    }
}

} // namespace

void TPlanCanvas::FloodFillSurface(int x, int y, const QColor& surface)
{
    if (!FImage)
        return;
    // The raster painter writes straight into the image memory, so the fill can work
    // on the pixels while the painter stays active.
    const QPoint p = MapPoint(x, y);
    FloodFillImage(*FImage, p.x(), p.y(), surface.rgb(), BrushColor.rgb() | 0xFF000000u);
}

void TPlanCanvas::FloodFillAt(int x, int y)
{
    const QPoint p = MapPoint(x, y);
    if (!FImage || p.x() < 0 || p.y() < 0 || p.x() >= FImage->width() || p.y() >= FImage->height())
        return;
    FloodFillImage(*FImage, p.x(), p.y(), FImage->pixel(p), BrushColor.rgb() | 0xFF000000u);
}

void TPlanCanvas::Draw(int x, int y, const QImage& picture)
{
    if (!FMapped) {
        FPainter->drawImage(x, y, picture);
        return;
    }
    FPainter->drawImage(MapRect(x, y, int64_t(x) + picture.width(), int64_t(y) + picture.height()), picture);
}
