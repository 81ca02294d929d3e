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

TPlanCanvas::TPlanCanvas(QImage& image) : FImage(&image), FPainter(new QPainter(&image)), FOwnPainter(true)
{
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
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
    QPen pen(PenColor, std::max(1, PenWidth));
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
    FPainter->setBrushOrigin(0, 0);
}

void TPlanCanvas::ApplyFont()
{
    if (FFontSizeSet != FontSize) {
        FPainter->setFont(PlanFont(FontSize));
        FFontSizeSet = FontSize;
    }
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
            r = y < y0 ? QRect(x, y + 1, 1, y0 - y) : QRect(x, y0, 1, y - y0);
        else
            r = x < x0 ? QRect(x + 1, y, x0 - x, 1) : QRect(x0, y, x - x0, 1);
        FPainter->fillRect(r, PenColor);
        return;
    }
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawLine(x0, y0, x, y);
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
            FPainter->fillRect(QRect(l + 1, t + 1, r - l - 2, b - t - 2), FPainter->brush());
        }
        FPainter->fillRect(QRect(l, t, r - l, 1), PenColor);
        FPainter->fillRect(QRect(l, b - 1, r - l, 1), PenColor);
        FPainter->fillRect(QRect(l, t, 1, b - t), PenColor);
        FPainter->fillRect(QRect(r - 1, t, 1, b - t), PenColor);
        return;
    }
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawRect(QRect(l, t, r - l - 1, b - t - 1));
}

void TPlanCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r <= l || b <= t || BrushStyle == TBrushStyle::Clear)
        return;
    ApplyBrush();
    FPainter->fillRect(QRect(l, t, r - l, b - t), FPainter->brush());
}

void TPlanCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l < 1 || b - t < 1)
        return;
    ApplyPen(false);
    ApplyBrush();
    FPainter->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

void TPlanCanvas::Pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l < 1 || b - t < 1)
        return;
    const QRectF box(l, t, r - l - 1, b - t - 1);
    const QPointF c = box.center();
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
    ApplyPen(true);
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
    FloodFillImage(*FImage, x, y, surface.rgb(), BrushColor.rgb() | 0xFF000000u);
}

void TPlanCanvas::FloodFillAt(int x, int y)
{
    if (!FImage || x < 0 || y < 0 || x >= FImage->width() || y >= FImage->height())
        return;
    FloodFillImage(*FImage, x, y, FImage->pixel(x, y), BrushColor.rgb() | 0xFF000000u);
}

void TPlanCanvas::Draw(int x, int y, const QImage& picture)
{
    FPainter->drawImage(x, y, picture);
}
