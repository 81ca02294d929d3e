// The two design charts of the reduced duration of the initial fire stage (НСП), drawn
// from the engine's curves: the large-volume chart (`img1`, minutes against the volume in
// 10⁴ m³, one curve per height band and fire-load band) and the small-volume chart
// (`img2`, 10² s against the volume up to 3000 m³, one curve per height band). Given a
// zone, the chart also marks where that zone reads it, so the designer sees where the
// recommended duration comes from. The calculation dialog, the command-line tool and the
// tests draw through the same function; it needs a GUI application object (fonts).
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <optional>

class QPainter;

enum class TDesignChart { LargeVolume /* img1 */, SmallVolume /* img2 */ };

// A zone as the charts read it: volume in m³, height in m, reduced fire load in kg/m²
// (the rounded value13; only the large-volume chart uses it).
struct TDesignChartZone {
    long double Volume;
    long double Height;
    long double ReducedLoad;
};

// A picture of the chart of the given size (white background, antialiased; fonts and
// line widths scale with the size, so it reads at about 420 × 300 and at print size).
// With `zone` it also marks the zone's own point (the equivalent volume V / h × H0 of its
// curve, the duration read there) on the curve it belongs to, with dashed guide lines to
// both axes and a label with the recommended duration; nothing is marked when this chart
// has no value for the zone (the recommendation is -1, the zone reads the other chart, or
// its volume or height is not positive). An empty size gives a null picture.
QImage DesignChartImage(
    TDesignChart chart, QSize size, const std::optional<TDesignChartZone>& zone = std::nullopt);

// The same drawn by the caller's painter into `area` (the painter's state is restored).
void PaintDesignChart(QPainter& painter, const QRect& area, TDesignChart chart,
    const std::optional<TDesignChartZone>& zone = std::nullopt);

// Where values fall in a chart drawn into `area`: the plot rectangle in pixels and the
// axis ranges, which start at 0. x is in 10⁴ m³ (large chart) or m³ (small chart), y in
// minutes (large) or 10² s (small). The x range grows beyond 7·10⁴ m³ only for a marked
// zone whose equivalent volume lies further out.
struct TDesignChartFrame {
    QRectF Plot;
    double XMax = 0;
    double YMax = 0;
    QPointF ToPixel(double x, double y) const;
};
TDesignChartFrame DesignChartFrame(
    TDesignChart chart, const QRect& area, const std::optional<TDesignChartZone>& zone = std::nullopt);

// Where a zone's point falls, in the axis units of TDesignChartFrame; nothing when the
// chart marks nothing for the zone.
std::optional<QPointF> DesignChartZonePoint(TDesignChart chart, const TDesignChartZone& zone);

// The colour of the zone's point and guide lines, and of each curve. Curves are counted
// in the engine's order: the large chart band by band and row by row (eleven), the small
// chart by height (three); curves of one height band of the large chart share a colour
// and differ by dash style. An index out of range gives an invalid colour.
QColor DesignChartZoneColor();
QColor DesignChartCurveColor(TDesignChart chart, int curve);
