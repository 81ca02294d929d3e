// A drawing surface over a QImage that behaves like the plan's classic canvas: a pen,
// a brush and a font held as state, rectangles and ellipses that exclude their right
// and bottom edges, lines that exclude their end point, hatched brushes whose gaps stay
// transparent, text written at the top-left of its cell on the brush colour (or on
// nothing with a clear brush), and a flood fill. The plan renderer and the plan
// editor's overlays both draw through it, so the picture on the screen and the one the
// command line writes are the same pixels. A canvas may draw a zoomed part of the plan
// (TPlanView): its callers keep working in plan pixels and the canvas maps them.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

// The zooms the plan can be shown at, in whole percent.
namespace PlanZoom {
inline constexpr int32_t MinPercent = 10;
inline constexpr int32_t MaxPercent = 800;
} // namespace PlanZoom

// How a picture shows the plan: the zoom in whole percent and the part of the zoomed plan
// the picture holds. Plan pixel x covers the zoomed columns floor(x·Percent/100) up to
// floor((x+1)·Percent/100) − 1 (none when zoomed out and merged into its neighbour), and the
// picture's pixel (0, 0) is the zoomed pixel Origin. Whole percent and integer arithmetic
// make the mapping exact: the same plan pixel always lands on the same picture pixels,
// whatever part of the plan is shown. The default view is the whole plan at 100 %, the
// picture the plan's own size.
struct TPlanView {
    int32_t Percent = 100;
    QPoint Origin; // the picture's top-left in zoomed plan pixels
    QSize Size; // the picture's size; empty: the whole plan (only at 100 %, Origin 0)

    // A picture of the whole plan at 100 %, pixel for pixel the plan.
    bool Identity() const { return Percent == 100 && Origin.isNull(); }
    bool WholePlan() const { return Identity() && Size.isEmpty(); }

    // The zoomed coordinate of plan coordinate v (floor(v·Percent/100)), and its place in
    // the picture.
    int64_t Zoomed(int64_t v) const;
    int64_t ToPictureX(int64_t planX) const { return Zoomed(planX) - Origin.x(); }
    int64_t ToPictureY(int64_t planY) const { return Zoomed(planY) - Origin.y(); }
    // The plan coordinate under the middle of zoomed pixel z: the plan pixel whose zoomed
    // columns hold it, or, zoomed out, the one in the middle of those it merges.
    int64_t FromZoomed(int64_t z) const;
    int64_t FromPictureX(int64_t x) const { return FromZoomed(x + Origin.x()); }
    int64_t FromPictureY(int64_t y) const { return FromZoomed(y + Origin.y()); }
    // The plan pixels the picture shows something of (for leaving out what it cannot show).
    QRect PlanArea() const;
    // The zoomed extent of a plan length of n pixels starting at 0 (for a plan side).
    int64_t ZoomedLength(int64_t n) const { return Zoomed(n); }
};

enum class TPenStyle { Solid, Dot, Clear };
enum class TBrushStyle { Solid, Clear, FDiagonal, BDiagonal };

// Font height in pixels for a size in points on the plan's 96-dpi canvas (7 pt -> 9 px).
int PlanFontPixels(int pointSize);

// The plan font of the given size: the default sans-serif face, not antialiased so
// that every text pixel is either the font colour or untouched.
QFont PlanFont(int pointSize);
// Metrics of PlanFont(pointSize), kept for the life of the thread.
const QFontMetrics& PlanFontMetrics(int pointSize);
// The plan font at a height of `pixels` (PlanFont zoomed).
QFont PlanFontOfPixels(int pixels);

class TPlanCanvas {
public:
    // Draws into image, which must outlive the canvas and must not be resized while the
    // canvas exists. The initial state is a black solid pen of width 1, a solid white
    // brush and a black 7-point font.
    explicit TPlanCanvas(QImage& image);
    // Draws the part of the plan `view` names into image (image pixel (0, 0) is the view's
    // Origin): every primitive still takes plan pixels. Lines and outlines of one plan
    // pixel keep at least one picture pixel when zoomed out; texts take the font at the
    // zoom and are left out where it would be under 3 pixels high.
    TPlanCanvas(QImage& image, const TPlanView& view);
    // Draws through a painter that is already active on a QImage (used by PaintDoor);
    // the painter stays the caller's.
    explicit TPlanCanvas(QPainter& painter);
    ~TPlanCanvas();
    TPlanCanvas(const TPlanCanvas&) = delete;
    TPlanCanvas& operator=(const TPlanCanvas&) = delete;

    // State, read by every primitive at the moment it draws.
    QColor PenColor = Qt::black;
    TPenStyle PenStyle = TPenStyle::Solid;
    int PenWidth = 1;
    QColor BrushColor = Qt::white;
    TBrushStyle BrushStyle = TBrushStyle::Solid;
    QColor FontColor = Qt::black;
    int FontSize = 7; // points
    // The font height as the classic canvas holds it: negative pixels (7 pt -> -9).
    int FontHeight() const { return -PlanFontPixels(FontSize); }

    // The pen position moves to the end point; the end point itself is not drawn.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    int PenX() const { return FPenX; }
    int PenY() const { return FPenY; }
    // Outline with the pen, inside filled with the brush; covers Left..Right-1 and
    // Top..Bottom-1. Corners in either order.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    // Elliptic sector in the box, from the ray through (sx, sy) counter-clockwise to the
    // ray through (ex, ey), filled with the brush.
    void Pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);
    // Fills the rectangle (right and bottom excluded) with the brush, no outline.
    void FillRect(int x1, int y1, int x2, int y2);

    // Text with its cell's top-left corner at (x, y), in the font colour, on the brush
    // colour when the brush is solid.
    void TextOut(int x, int y, const QString& text);
    // The same turned by angle degrees counter-clockwise about (x, y).
    void TextOutRotated(int angle, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Fills with the brush colour the 4-connected area of pixels that have exactly the
    // colour surface, starting at (x, y); nothing when that pixel has another colour or
    // lies outside the picture.
    void FloodFillSurface(int x, int y, const QColor& surface);
    // The same for the area of the colour found at (x, y).
    void FloodFillAt(int x, int y);

    // Copies a picture with its top-left corner at (x, y) (zoomed with the plan).
    void Draw(int x, int y, const QImage& picture);
    // Fills the polygon through the plan points (their pixels' middles) with the brush,
    // no outline.
    void FillPolygon(const QPolygon& points);
    // Blends a colour (with its alpha) over the plan rectangle [x1, x2) × [y1, y2).
    void Blend(int x1, int y1, int x2, int y2, const QColor& colour);

    QImage& Image() { return *FImage; }
    // The painter with the pen and brush of the current state applied; it works in
    // picture pixels (the plan's only at the identity view).
    QPainter& Painter();

    const TPlanView& View() const { return FView; }
    // Draws from now on as `view` says (for parts fixed to the picture, the identity view).
    void SetView(const TPlanView& view);

private:
    void ApplyPen(bool forText);
    void ApplyBrush();
    void ApplyFont();
    // Plan rectangle [l, r) × [t, b) in picture pixels, at least one pixel each way.
    QRect MapRect(int64_t l, int64_t t, int64_t r, int64_t b) const;
    // The picture pixel in the middle of plan pixel (x, y).
    QPoint MapPoint(int64_t x, int64_t y) const;
    // A pen width of w plan pixels in picture pixels, at least one.
    int MapWidth(int w) const;
    // The box QPainter strokes an outline of the plan rectangle [l, r) × [t, b) on.
    QRect StrokeBox(int64_t l, int64_t t, int64_t r, int64_t b) const;

    TPlanView FView;
    bool FMapped = false; // not the identity view

    QImage* FImage = nullptr;
    QPainter* FPainter = nullptr;
    bool FOwnPainter = false;
    int FPenX = 0;
    int FPenY = 0;
    int FFontSizeSet = -1; // the size whose font the painter holds
    int FFontPixelsSet = -1; // with a zoomed view: the pixel height of that font
};
