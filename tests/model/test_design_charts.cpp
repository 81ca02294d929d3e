// The design charts as pictures, checked on their pixels: the zone's point and its guide
// lines where the chart's formula puts them, nothing marked for a zone the chart has no
// value for, the requested size, and every curve drawn across the plot in its colour.
#include "uDesignCharts.h"
#include "uFireLoadMix.h"

#include <QImage>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QSize DialogSize(420, 300);
const QSize PrintSize(1600, 1100);

bool Close(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance
        && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// Whether a pixel of about this colour lies within `radius` pixels of `at`.
bool ColourNear(const QImage& image, QPointF at, const QColor& colour, int radius, int tolerance = 40)
{
    const int cx = int(std::lround(at.x())), cy = int(std::lround(at.y()));
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (image.valid(x, y) && Close(image.pixel(x, y), colour, tolerance))
                return true;
    return false;
}

// The share of whole-pixel steps from a to b (inner 90 %) with the colour within 1 pixel.
double ShareAlong(const QImage& image, QPointF a, QPointF b, const QColor& colour)
{
    const int steps = int(std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
    int hits = 0, tried = 0;
    for (int i = steps / 20; i <= steps - steps / 20; ++i, ++tried)
        hits += ColourNear(image, a + (b - a) * (double(i) / std::max(1, steps)), colour, 1) ? 1 : 0;
    return tried ? double(hits) / tried : 0;
}

struct TZoneCase {
    const char* what;
    TDesignChart chart;
    TDesignChartZone zone;
    double x, y; // where the chart's formula puts the zone, in axis units
};

// The design's worked zones and one whose height is not the curve's own, so that it reads
// the curve at its equivalent volume V / h × H0 rather than at V.
std::vector<TZoneCase> WorkedZones()
{
    const double A = 600 / 6.5 * 6; // 6 <= h < 12 reads the 6 m curve
    const double K = 20000.0 / 10 * 9.1 / 10000; // h >= 9.1, 60 < q <= 160: the 9.1 m row
    return {
        { "V 300, h 3", TDesignChart::SmallVolume, { 300, 3, 10 }, 300, 397.65 / 100 },
        { "V 600, h 6.5", TDesignChart::SmallVolume, { 600, 6.5L, 10 }, A,
            (5e-8 * A * A * A - 4e-4 * A * A + 1.1955 * A) / 100 },
        { "V 20000, h 10, q 100", TDesignChart::LargeVolume, { 20000, 10, 100 }, K,
            0.371 * K * K * K - 5.4 * K * K + 27.78 * K },
    };
}

} // namespace

TEST(DesignCharts, PictureHasTheRequestedSizeOnWhiteWithARoomyPlot)
{
    for (const TDesignChart chart : { TDesignChart::LargeVolume, TDesignChart::SmallVolume }) {
        for (const QSize size : { DialogSize, PrintSize, QSize(333, 517), QSize(40, 30) }) {
            const QImage image = DesignChartImage(chart, size, TDesignChartZone { 300, 3, 10 });
            ASSERT_EQ(image.size(), size);
            EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
            EXPECT_EQ(image.pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));
        }
        // The plot takes most of the picture at the sizes it is made for, and lies inside it.
        for (const QSize size : { DialogSize, PrintSize }) {
            const TDesignChartFrame f = DesignChartFrame(chart, QRect(QPoint(), size));
            EXPECT_TRUE(QRectF(QPointF(), size).contains(f.Plot));
            EXPECT_GT(f.Plot.width(), 0.75 * size.width());
            EXPECT_GT(f.Plot.height(), 0.65 * size.height());
            // The frame's left and bottom edges are drawn.
            const QImage image = DesignChartImage(chart, size);
            EXPECT_TRUE(ColourNear(image, f.ToPixel(f.XMax / 2, 0), Qt::black, 1, 60));
            EXPECT_TRUE(ColourNear(image, f.ToPixel(0, f.YMax / 2), Qt::black, 1, 60));
        }
        EXPECT_TRUE(DesignChartImage(chart, QSize(0, 300)).isNull());
    }
}

TEST(DesignCharts, ZonePointAndGuideLinesWhereTheFormulaPutsThem)
{
    const QColor red = DesignChartZoneColor();
    for (const TZoneCase& c : WorkedZones()) {
        for (const QSize size : { DialogSize, PrintSize }) {
            SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(size.width()));
            const TDesignChartFrame f = DesignChartFrame(c.chart, QRect(QPoint(), size), c.zone);
            const QImage image = DesignChartImage(c.chart, size, c.zone);
            const QPointF at = f.ToPixel(c.x, c.y);
            ASSERT_TRUE(f.Plot.contains(at));
            EXPECT_TRUE(Close(image.pixel(at.toPoint()), red, 10));
            // Dashed lines straight down to the x axis and across to the y axis.
            EXPECT_GT(ShareAlong(image, at, QPointF(at.x(), f.Plot.bottom()), red), 0.4);
            EXPECT_GT(ShareAlong(image, at, QPointF(f.Plot.left(), at.y()), red), 0.4);
            // Nothing of the kind at the zone's own volume when the curve is read elsewhere.
            const QPointF atV
                = f.ToPixel(double(c.zone.Volume) / (c.chart == TDesignChart::LargeVolume ? 1e4 : 1), 0);
            if (std::abs(atV.x() - at.x()) > 10) {
                EXPECT_LT(ShareAlong(image, QPointF(atV.x(), at.y()), atV, red), 0.05);
            }
        }
    }
}

TEST(DesignCharts, FarZoneWidensTheVolumeAxisAndSitsOnTheFlatCurve)
{
    // K = 20 (far beyond 7·10⁴ m³ and Kmax 5 of the row): the flat part of the curve.
    const TDesignChartZone zone { 200000, 9.1L, 50 };
    const TDesignChartFrame f = DesignChartFrame(TDesignChart::LargeVolume, QRect(QPoint(), PrintSize), zone);
    EXPECT_GE(f.XMax, 20);
    const TLargeChartRow& row = LargeVolumeChart().back().rows.front();
    const QPointF at = f.ToPixel(20, double(LargeChartMinutes(row, 5)));
    const QImage image = DesignChartImage(TDesignChart::LargeVolume, PrintSize, zone);
    EXPECT_TRUE(Close(image.pixel(at.toPoint()), DesignChartZoneColor(), 10));
    // Without a zone the axis ends at 7·10⁴ m³.
    EXPECT_EQ(DesignChartFrame(TDesignChart::LargeVolume, QRect(QPoint(), PrintSize)).XMax, 7);
}

TEST(DesignCharts, NothingMarkedWhenTheChartHasNoValue)
{
    struct TCase {
        const char* what;
        TDesignChart chart;
        TDesignChartZone zone;
        bool marked;
    };
    const TCase cases[] = {
        { "below 3 m", TDesignChart::SmallVolume, { 300, 2.99L, 10 }, false },
        { "3 m is the lowest curve", TDesignChart::SmallVolume, { 300, 3, 10 }, true },
        { "below 4.8 m", TDesignChart::LargeVolume, { 50000, 4.79L, 10 }, false },
        { "4.8 m is the lowest band", TDesignChart::LargeVolume, { 50000, 4.8L, 10 }, true },
        { "above the band's loads", TDesignChart::LargeVolume, { 50000, 10, 551 }, false },
        { "the band's last load", TDesignChart::LargeVolume, { 50000, 10, 550 }, true },
        { "a small zone on the large chart", TDesignChart::LargeVolume, { 3000, 10, 10 }, false },
        { "a large zone on the small chart", TDesignChart::SmallVolume, { 3001, 10, 10 }, false },
        { "no volume", TDesignChart::SmallVolume, { 0, 3, 10 }, false },
        { "negative volume", TDesignChart::SmallVolume, { -300, 3, 10 }, false },
        { "no height", TDesignChart::LargeVolume, { 50000, 0, 10 }, false },
        { "not a number", TDesignChart::SmallVolume, { std::nanl(""), 3, 10 }, false },
    };
    const QImage plainLarge = DesignChartImage(TDesignChart::LargeVolume, DialogSize);
    const QImage plainSmall = DesignChartImage(TDesignChart::SmallVolume, DialogSize);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage& plain = c.chart == TDesignChart::LargeVolume ? plainLarge : plainSmall;
        EXPECT_EQ(DesignChartImage(c.chart, DialogSize, c.zone) != plain, c.marked);
        EXPECT_EQ(DesignChartZonePoint(c.chart, c.zone).has_value(), c.marked);
    }
}

TEST(DesignCharts, EveryCurveRunsAcrossThePlotInItsColour)
{
    struct TChartCurves {
        TDesignChart chart;
        std::vector<std::function<double(double)>> values;
    };
    std::vector<TChartCurves> charts(2);
    charts[0].chart = TDesignChart::LargeVolume;
    for (const TLargeChartBand& band : LargeVolumeChart())
        for (const TLargeChartRow& row : band.rows)
            charts[0].values.push_back([row](double K) { return double(LargeChartMinutes(row, K)); });
    charts[1].chart = TDesignChart::SmallVolume;
    for (const TSmallChartCurve& curve : SmallVolumeChart())
        charts[1].values.push_back([curve](double A) { return double(SmallChartSeconds(curve, A)) / 100; });
    ASSERT_EQ(charts[0].values.size(), 11u);
    ASSERT_EQ(charts[1].values.size(), 3u);

    for (const TChartCurves& c : charts) {
        const TDesignChartFrame f = DesignChartFrame(c.chart, QRect(QPoint(), PrintSize));
        const QImage image = DesignChartImage(c.chart, PrintSize);
        for (size_t i = 0; i < c.values.size(); ++i) {
            const QColor colour = DesignChartCurveColor(c.chart, int(i));
            ASSERT_TRUE(colour.isValid());
            // The top of every curve stays below the legend, in the plot.
            for (double share : { 0.05, 0.3, 0.6, 0.95 }) {
                SCOPED_TRACE("curve " + std::to_string(i) + " at " + std::to_string(share));
                // A dash may leave a gap just here: look along the curve a little either way.
                bool found = false;
                for (int dx = -20; dx <= 20 && !found; dx += 2) {
                    const double x = share * f.XMax + dx * f.XMax / f.Plot.width();
                    found = ColourNear(image, f.ToPixel(x, c.values[i](x)), colour, 2, 50);
                }
                EXPECT_TRUE(found);
                EXPECT_LT(c.values[i](share * f.XMax), f.YMax);
            }
        }
        EXPECT_FALSE(DesignChartCurveColor(c.chart, int(c.values.size())).isValid());
    }
}
