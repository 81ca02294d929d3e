// A drawing surface over a QImage that behaves like the plan's classic canvas: a pen,
// a brush and a font held as state, rectangles and ellipses that exclude their right
// and bottom edges, lines that exclude their end point, hatched brushes whose gaps stay
// transparent, text written at the top-left of its cell on the brush colour (or on
// nothing with a clear brush), and a flood fill. The plan renderer and the plan
// editor's overlays both draw through it, so the picture on the screen and the one the
// command line writes are the same pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

enum class TPenStyle { Solid, Dot, Clear };
enum class TBrushStyle { Solid, Clear, FDiagonal, BDiagonal };

// Font height in pixels for a size in points on the plan's 96-dpi canvas (7 pt -> 9 px).
int PlanFontPixels(int pointSize);

// The plan font of the given size: the default sans-serif face, not antialiased so
// that every text pixel is either the font colour or untouched.
QFont PlanFont(int pointSize);
// Metrics of PlanFont(pointSize), kept for the life of the thread.
const QFontMetrics& PlanFontMetrics(int pointSize);

class TPlanCanvas {
public:
    // Draws into image, which must outlive the canvas and must not be resized while the
    // canvas exists. The initial state is a black solid pen of width 1, a solid white
    // brush and a black 7-point font.
    explicit TPlanCanvas(QImage& image);
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

    // Copies a picture with its top-left corner at (x, y).
    void Draw(int x, int y, const QImage& picture);

    QImage& Image() { return *FImage; }
    // The painter with the pen and brush of the current state applied.
    QPainter& Painter();

private:
    void ApplyPen(bool forText);
    void ApplyBrush();
    void ApplyFont();

    QImage* FImage = nullptr;
    QPainter* FPainter = nullptr;
    bool FOwnPainter = false;
    int FPenX = 0;
    int FPenY = 0;
    int FFontSizeSet = -1; // the size whose font the painter holds
};
