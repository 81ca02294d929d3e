// Drawing of the design charts: see uDesignCharts.h.
//
// Everything is measured from one scale unit U (1 at 420 × 300 pixels), so the picture in
// the dialog and the printed one have the same proportions. The legend sits in a band at
// the top of the plot: the y range is stretched so that no curve runs under it, which
// keeps every curve visible at any size without a separate legend area.
#include "uDesignCharts.h"

#include "uFireLoadMix.h"
#include "uNumberText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

const QColor ZoneColor(205, 0, 0);
const QColor GridColor(225, 225, 225);
const QColor FrameColor(0, 0, 0);
const QColor LegendBorderColor(160, 160, 160);
const QColor NoteColor(90, 90, 90);

// One colour per height band, chosen to stay apart from each other and from the zone's red.
const std::array<QColor, 4> BandColors
    = { QColor(0, 84, 196), QColor(0, 135, 60), QColor(222, 110, 0), QColor(128, 40, 170) };

// Dash patterns in pen widths: solid, dashed, dotted, dash-dot.
const std::array<QVector<qreal>, 4> Dashes = { QVector<qreal> {}, QVector<qreal> { 5, 2.5 },
    QVector<qreal> { 1, 1.8 }, QVector<qreal> { 7, 2.5, 1, 2.5 } };

QString Text(double x) { return FormatGeneral(static_cast<long double>(x)); }

struct TCurve {
    QColor Colour;
    int Dash = 0;
    std::function<double(double)> Value; // axis units of y at x
    QString Entry; // the legend's text beside the line sample
    int Column = 0; // the legend's column
};

struct TChartLook {
    QString Title, XLabel, YLabel;
    double XBase = 0; // the x range without a zone beyond it
    double XRound = 1; // a wider x range is rounded up to this
    std::vector<TCurve> Curves;
    std::vector<QString> Headers; // legend column headers (empty: none)
    QString Note; // in the legend's first column, below its entries
};

TChartLook LargeLook()
{
    TChartLook s;
    s.Title = QStringLiteral("Приведенная продолжительность НСП, V > 3000 м³");
    s.XLabel = QStringLiteral("Объем помещения V, 10⁴ м³");
    s.YLabel = QStringLiteral("Продолжительность НСП, мин");
    s.XBase = 7;
    s.XRound = 1;
    const auto& chart = LargeVolumeChart();
    for (size_t b = 0; b < chart.size(); ++b) {
        const TLargeChartBand& band = chart[b];
        s.Headers.push_back(QStringLiteral("h = ") + Text(double(band.H0)) + QStringLiteral(" м"));
        for (size_t r = 0; r < band.rows.size(); ++r) {
            const TLargeChartRow row = band.rows[r];
            TCurve c;
            c.Colour = BandColors[b % BandColors.size()];
            c.Dash = int(r % Dashes.size());
            c.Value = [row](double K) { return double(LargeChartMinutes(row, K)); };
            const QString upper = QStringLiteral("q ≤ ") + Text(double(row.qMax));
            c.Entry = r == 0 ? upper : Text(double(band.rows[r - 1].qMax)) + QStringLiteral(" < ") + upper;
            c.Column = int(b);
            s.Curves.push_back(c);
        }
    }
    s.Note = QStringLiteral("q, кг/м²");
    return s;
}

TChartLook SmallLook()
{
    TChartLook s;
    s.Title = QStringLiteral("Приведенная продолжительность НСП, V ≤ 3000 м³");
    s.XLabel = QStringLiteral("Объем помещения V, м³");
    s.YLabel = QStringLiteral("Продолжительность НСП, 10² с");
    s.XBase = double(SmallVolumeChartLimit);
    s.XRound = 500;
    const std::array<QColor, 3> colours = { BandColors[0], BandColors[1], BandColors[3] };
    const auto& chart = SmallVolumeChart();
    for (size_t i = 0; i < chart.size(); ++i) {
        const TSmallChartCurve curve = chart[i];
        TCurve c;
        c.Colour = colours[i % colours.size()];
        c.Dash = int(i % Dashes.size());
        c.Value = [curve](double A) { return double(SmallChartSeconds(curve, A)) / 100; };
        c.Entry = QStringLiteral("h = ") + Text(double(curve.H0)) + QStringLiteral(" м");
        c.Column = int(i);
        s.Curves.push_back(c);
    }
    return s;
}

const TChartLook& Look(TDesignChart chart)
{
    static const TChartLook large = LargeLook();
    static const TChartLook small = SmallLook();
    return chart == TDesignChart::LargeVolume ? large : small;
}

// Where a zone reads the chart, in axis units, with its curve and the label's lines.
struct TZoneMark {
    double X = 0, Y = 0;
    int Curve = 0;
    QString Duration, CurveText, Volume; // the label's lines
};

std::optional<TZoneMark> ZoneMark(TDesignChart chart, const std::optional<TDesignChartZone>& zone)
{
    if (!zone || !(zone->Volume > 0) || !(zone->Height > 0))
        return std::nullopt;
    const TNSPRecommendation rec = RecommendNSPDuration(zone->Height, zone->Volume, zone->ReducedLoad);
    const TDesignChartReading reading = ReadDesignChart(zone->Height, zone->Volume, zone->ReducedLoad);
    const bool large = chart == TDesignChart::LargeVolume;
    if (rec.Minutes == -1 || !reading.HasValue() || reading.Large != large)
        return std::nullopt;

    TZoneMark m;
    long double H0;
    if (large) {
        const auto& bands = LargeVolumeChart();
        for (int b = 0; b < reading.Band; ++b)
            m.Curve += int(bands[size_t(b)].rows.size());
        m.Curve += reading.Row;
        H0 = bands[size_t(reading.Band)].H0;
        m.X = double(reading.Equivalent);
        m.Y = double(reading.Value);
    } else {
        m.Curve = reading.Band;
        H0 = SmallVolumeChart()[size_t(reading.Band)].H0;
        m.X = double(reading.Equivalent);
        m.Y = double(reading.Value) / 100;
    }
    m.Duration = QString::number(rec.Minutes) + QStringLiteral(" мин");
    // The curve is drawn for its reference height; a zone of another height reads it at
    // its equivalent volume, which the label names so the position is not a puzzle.
    const long double A = large ? reading.Equivalent * 10000 : reading.Equivalent;
    const TChartLook& look = Look(chart);
    const TCurve& curve = look.Curves[size_t(m.Curve)];
    m.CurveText = QStringLiteral("кривая ")
        + (large ? look.Headers[size_t(reading.Band)] + QStringLiteral(", ") + curve.Entry
                    + QStringLiteral(" кг/м²")
                 : curve.Entry);
    m.Volume = (zone->Height == H0 ? QStringLiteral("V = ") : QStringLiteral("V·H₀/h = "))
        + FormatGeneral(RoundHalfEven(A)) + QStringLiteral(" м³");
    return m;
}

QFont ChartFont(double pixels, bool bold = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(6, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

// A line of this whole-pixel width is crisp when its centre lies on a pixel's centre (odd
// widths) or between two pixels (even widths).
double Snap(double at, double width) { return int(width) % 2 ? std::floor(at) + 0.5 : std::round(at); }

double WholeWidth(double width) { return std::max(1.0, std::round(width)); }

// The smallest step of 1, 2 or 5 × 10^k whose ticks lie at least minSpacing pixels apart.
double NiceStep(double range, double pixels, double minSpacing)
{
    const double raw = range * minSpacing / std::max(1.0, pixels);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : { 1.0, 2.0, 5.0 })
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    return 10 * power;
}

double Width(const QFont& font, const QString& text) { return QFontMetricsF(font).horizontalAdvance(text); }

// A font no larger than `font` in which `text` fits `width` pixels.
QFont Fitted(QFont font, const QString& text, double width)
{
    const double w = Width(font, text);
    if (w > width && w > 0)
        font.setPixelSize(std::max(6, int(std::floor(font.pixelSize() * width / w))));
    return font;
}

// Every measure of one drawing of a chart into one area.
class TChartLayout {
public:
    TChartLayout(TDesignChart chart, const QRectF& area, const std::optional<TDesignChartZone>& zone);
    void Paint(QPainter& p) const;

    TDesignChartFrame Frame;

private:
    void LayOutLegend();
    void PaintLegend(QPainter& p) const;
    void PaintZone(QPainter& p) const;
    QPen CurvePen(const TCurve& c) const;

    const TChartLook& FLook;
    QRectF FArea;
    double U = 1;
    QFont FTitleFont, FTickFont, FLabelFont, FLegendFont, FMarkFont;
    double FXStep = 1, FYStep = 1;
    double FTick = 3;
    std::optional<TZoneMark> FMark;
    std::vector<QPointF> FCurvePoints; // every curve, one point per pixel column

    // The legend: a grid of columns, each a header and its curves' entries.
    QRectF FLegend;
    std::vector<double> FColumnX; // left of each column, relative to the legend
    double FRowHeight = 0, FSample = 0, FPad = 0;
    int FRows = 0;
};

TChartLayout::TChartLayout(
    TDesignChart chart, const QRectF& area, const std::optional<TDesignChartZone>& zone)
    : FLook(Look(chart))
    , FArea(area)
{
    U = std::clamp(std::min(area.width() / 420, area.height() / 300), 0.4, 40.0);
    FTitleFont = ChartFont(11.5 * U, true);
    FTickFont = ChartFont(9.5 * U);
    FLabelFont = ChartFont(9.5 * U);
    FLegendFont = ChartFont(9 * U);
    FMarkFont = ChartFont(9 * U, true);
    FTick = 3 * U;
    FMark = ZoneMark(chart, zone);

    const double pad = 6 * U;
    FTitleFont = Fitted(FTitleFont, FLook.Title, area.width() - 2 * pad);
    const double tickH = QFontMetricsF(FTickFont).height();
    const double labelH = QFontMetricsF(FLabelFont).height();
    const double top = area.top() + pad + QFontMetricsF(FTitleFont).height() + 4 * U;
    const double bottom = area.bottom() + 1 - pad - labelH - 2 * U - tickH - 1.5 * U - FTick;
    const double plotHeight = std::max(10.0, bottom - top);

    // x range: the chart's own, wider only for a zone further out.
    Frame.XMax = FLook.XBase;
    if (FMark && FMark->X * 1.05 > Frame.XMax)
        Frame.XMax = std::ceil(FMark->X * 1.05 / FLook.XRound) * FLook.XRound;

    // The legend's height decides how far the y range must reach above the curves.
    LayOutLegend();
    double highest = 0;
    for (const TCurve& c : FLook.Curves)
        for (int i = 0; i <= 400; ++i)
            highest = std::max(highest, c.Value(Frame.XMax * i / 400));
    if (FMark)
        highest = std::max(highest, FMark->Y);
    const double free = std::max(0.3, 1 - (FLegend.height() + 6 * U) / plotHeight);
    const double needed = highest / free;
    FYStep = NiceStep(needed, plotHeight, 2.2 * tickH);
    Frame.YMax = std::ceil(needed / FYStep) * FYStep;

    double yLabelWidth = 0;
    for (double y = 0; y <= Frame.YMax + FYStep / 2; y += FYStep)
        yLabelWidth = std::max(yLabelWidth, Width(FTickFont, Text(y)));
    const double left = area.left() + pad + labelH + 3 * U + yLabelWidth + 2 * U + FTick;
    const double xLabelWidth = std::max(Width(FTickFont, Text(Frame.XMax)), Width(FTickFont, Text(0.5)));
    const double right = area.right() + 1 - pad - xLabelWidth / 2;
    // Whole pixels, so that the frame and the grid are crisp.
    Frame.Plot = QRectF(
        std::round(left), std::round(top), std::max(10.0, std::round(right - left)), std::round(plotHeight));
    FXStep = NiceStep(Frame.XMax, Frame.Plot.width(), xLabelWidth + 2.2 * tickH);

    // The legend is narrower than the plot unless the area is tiny; then its font shrinks.
    if (FLegend.width() > Frame.Plot.width() - 8 * U) {
        FLegendFont.setPixelSize(
            std::max(6, int(FLegendFont.pixelSize() * (Frame.Plot.width() - 8 * U) / FLegend.width())));
        LayOutLegend();
    }
    FLegend.moveTopRight(QPointF(Frame.Plot.right() - 4 * U, Frame.Plot.top() + 4 * U));

    const int samples = std::max(50, int(Frame.Plot.width()));
    for (const TCurve& c : FLook.Curves)
        for (int i = 0; i <= samples; ++i) {
            const double x = Frame.XMax * i / samples;
            FCurvePoints.push_back(Frame.ToPixel(x, c.Value(x)));
        }
}

void TChartLayout::LayOutLegend()
{
    const QFontMetricsF fm(FLegendFont);
    FRowHeight = fm.height() * 1.2;
    FSample = 5.5 * fm.averageCharWidth();
    FPad = 0.6 * fm.height();
    const double gap = 0.6 * fm.averageCharWidth();
    const double columnGap = 2.5 * fm.averageCharWidth();
    const bool headers = !FLook.Headers.empty();

    int columns = 0;
    for (const TCurve& c : FLook.Curves)
        columns = std::max(columns, c.Column + 1);
    std::vector<double> widths(size_t(columns), 0.0);
    std::vector<int> entries(size_t(columns), 0);
    for (const TCurve& c : FLook.Curves) {
        widths[size_t(c.Column)]
            = std::max(widths[size_t(c.Column)], FSample + gap + fm.horizontalAdvance(c.Entry));
        ++entries[size_t(c.Column)];
    }
    QFont bold = FLegendFont;
    bold.setBold(true);
    const QFontMetricsF boldMetrics(bold);
    for (size_t i = 0; i < FLook.Headers.size() && i < widths.size(); ++i)
        widths[i] = std::max(widths[i], boldMetrics.horizontalAdvance(FLook.Headers[i]));
    int rows = *std::max_element(entries.begin(), entries.end());
    if (!FLook.Note.isEmpty() && columns > 0) {
        widths[0] = std::max(widths[0], fm.horizontalAdvance(FLook.Note));
        rows = std::max(rows, entries[0] + 1);
    }
    FRows = rows + (headers ? 1 : 0);

    FColumnX.clear();
    double x = FPad;
    for (int i = 0; i < columns; ++i) {
        FColumnX.push_back(x);
        x += widths[size_t(i)] + (i + 1 < columns ? columnGap : 0);
    }
    FLegend = QRectF(0, 0, x + FPad, FRows * FRowHeight + 2 * FPad - (FRowHeight - fm.height()));
}

QPen TChartLayout::CurvePen(const TCurve& c) const
{
    QPen pen(c.Colour, 1.7 * U);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (!Dashes[size_t(c.Dash)].isEmpty())
        pen.setDashPattern(Dashes[size_t(c.Dash)]);
    return pen;
}

void TChartLayout::PaintLegend(QPainter& p) const
{
    p.setPen(QPen(LegendBorderColor, std::max(1.0, 0.6 * U)));
    p.setBrush(Qt::white);
    p.drawRect(FLegend);
    p.setFont(FLegendFont);
    const QFontMetricsF fm(FLegendFont);
    const bool headers = !FLook.Headers.empty();
    const double gap = 0.6 * fm.averageCharWidth();
    auto rowTop = [&](int row) { return FLegend.top() + FPad + row * FRowHeight; };

    std::vector<int> used(FColumnX.size(), 0);
    // A column's header takes the colour of its curves.
    QFont bold = FLegendFont;
    bold.setBold(true);
    p.setFont(bold);
    for (size_t i = 0; i < FLook.Headers.size() && i < FColumnX.size(); ++i) {
        const auto first = std::find_if(
            FLook.Curves.begin(), FLook.Curves.end(), [i](const TCurve& c) { return c.Column == int(i); });
        p.setPen(first != FLook.Curves.end() ? first->Colour : FrameColor);
        p.drawText(QPointF(FLegend.left() + FColumnX[i], rowTop(0) + fm.ascent()), FLook.Headers[i]);
    }
    p.setFont(FLegendFont);
    for (const TCurve& c : FLook.Curves) {
        const int row = used[size_t(c.Column)]++ + (headers ? 1 : 0);
        const double x = FLegend.left() + FColumnX[size_t(c.Column)];
        const double middle = rowTop(row) + fm.height() / 2;
        p.setPen(CurvePen(c));
        p.drawLine(QPointF(x, middle), QPointF(x + FSample, middle));
        p.setPen(FrameColor);
        p.drawText(QPointF(x + FSample + gap, rowTop(row) + fm.ascent()), c.Entry);
    }
    if (!FLook.Note.isEmpty() && !FColumnX.empty()) {
        p.setPen(NoteColor);
        p.drawText(QPointF(FLegend.left() + FColumnX[0], rowTop(FRows - 1) + fm.ascent()), FLook.Note);
    }
}

void TChartLayout::PaintZone(QPainter& p) const
{
    const TZoneMark& m = *FMark;
    const QPointF at = Frame.ToPixel(m.X, m.Y);
    const QRectF& plot = Frame.Plot;

    const double gw = WholeWidth(1.1 * U);
    QPen guide(ZoneColor, gw);
    guide.setDashPattern({ 4, 3 });
    guide.setCapStyle(Qt::FlatCap);
    p.setPen(guide);
    const double gx = Snap(at.x(), gw), gy = Snap(at.y(), gw);
    p.drawLine(QPointF(gx, at.y()), QPointF(gx, plot.bottom()));
    p.drawLine(QPointF(at.x(), gy), QPointF(plot.left(), gy));

    const double r = 3.6 * U;
    p.setPen(QPen(Qt::white, std::max(1.0, 0.8 * U)));
    p.setBrush(ZoneColor);
    p.drawEllipse(at, r, r);

    // The label: the recommendation and the volume read, beside the point where it fits.
    const QFontMetricsF bold(FMarkFont);
    QFont plain = FMarkFont;
    plain.setBold(false);
    const QFontMetricsF thin(plain);
    const double pad = 2 * U;
    const QSizeF box(std::max({ bold.horizontalAdvance(m.Duration), thin.horizontalAdvance(m.CurveText),
                         thin.horizontalAdvance(m.Volume) })
            + 2 * pad,
        bold.height() + 2 * thin.height() + 2 * pad);
    // Of the places around the point, near and farther out in eight directions, the one
    // inside the plot that leaves the guide lines and the legend free, covers the fewest
    // curve points and lies nearest; one beyond the nearest ring gets a leader line.
    const double d = r + 3 * U;
    const double w = box.width(), h = box.height();
    const QLineF down(at, QPointF(at.x(), plot.bottom())), across(at, QPointF(plot.left(), at.y()));
    auto crosses = [](const QRectF& rect, const QLineF& line) {
        return rect.intersects(QRectF(line.p1(), line.p2()).normalized().adjusted(-0.5, -0.5, 0.5, 0.5));
    };
    QRectF label(QPointF(at.x() - d - w, at.y() - d - h), box);
    double best = -1;
    bool leader = false;
    for (int ring = 1; ring <= 8; ++ring) {
        const double e = d + (ring - 1) * 2.5 * d;
        const std::array<QPointF, 8> corners = {
            QPointF(at.x() - e - w, at.y() - e - h), // above left
            QPointF(at.x() + e, at.y() + e), // below right
            QPointF(at.x() + e, at.y() - e - h), // above right
            QPointF(at.x() - e - w, at.y() + e), // below left
            QPointF(at.x() - w / 2, at.y() - e - h), // above
            QPointF(at.x() + e, at.y() - h / 2), // right
            QPointF(at.x() - w / 2, at.y() + e), // below
            QPointF(at.x() - e - w, at.y() - h / 2), // left
        };
        for (const QPointF& c : corners) {
            const QRectF candidate(c, box);
            double cost = (ring - 1) * 8;
            if (!plot.contains(candidate))
                cost += 1e6;
            if (candidate.intersects(FLegend) || crosses(candidate, down) || crosses(candidate, across))
                cost += 1e5;
            const QRectF near = candidate.adjusted(-U, -U, U, U);
            for (const QPointF& pt : FCurvePoints)
                cost += near.contains(pt) ? 1 : 0;
            if (best < 0 || cost < best) {
                best = cost;
                label = candidate;
                leader = ring > 1;
            }
        }
    }
    label.moveLeft(std::clamp(label.left(), plot.left(), std::max(plot.left(), plot.right() - w)));
    label.moveTop(std::clamp(label.top(), plot.top(), std::max(plot.top(), plot.bottom() - h)));
    if (leader) {
        // From the point to the nearest point of the label's edge.
        const QPointF end(
            std::clamp(at.x(), label.left(), label.right()), std::clamp(at.y(), label.top(), label.bottom()));
        const QLineF line(at, end);
        p.setPen(QPen(ZoneColor, WholeWidth(0.7 * U)));
        p.drawLine(line.pointAt(std::min(1.0, r / std::max(r, line.length()))), end);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRect(label);
    p.setPen(ZoneColor);
    p.setFont(FMarkFont);
    p.drawText(QPointF(label.left() + pad, label.top() + pad + bold.ascent()), m.Duration);
    p.setFont(plain);
    p.drawText(QPointF(label.left() + pad, label.top() + pad + bold.height() + thin.ascent()), m.CurveText);
    p.drawText(QPointF(label.left() + pad, label.top() + pad + bold.height() + thin.height() + thin.ascent()),
        m.Volume);
}

void TChartLayout::Paint(QPainter& p) const
{
    const QRectF& plot = Frame.Plot;
    p.fillRect(FArea, Qt::white);

    // Grid at the ticks.
    const double gridWidth = WholeWidth(0.6 * U);
    p.setPen(QPen(GridColor, gridWidth));
    const int xTicks = int(std::floor(Frame.XMax / FXStep + 1e-9));
    const int yTicks = int(std::floor(Frame.YMax / FYStep + 1e-9));
    for (int i = 1; i <= xTicks; ++i) {
        const double x = Snap(Frame.ToPixel(i * FXStep, 0).x(), gridWidth);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (int i = 1; i <= yTicks; ++i) {
        const double y = Snap(Frame.ToPixel(0, i * FYStep).y(), gridWidth);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    // Curves, one point per pixel column, clipped to the plot.
    p.save();
    p.setClipRect(plot);
    const size_t perCurve = FLook.Curves.empty() ? 0 : FCurvePoints.size() / FLook.Curves.size();
    for (size_t k = 0; k < FLook.Curves.size(); ++k) {
        QPainterPath path;
        for (size_t i = 0; i < perCurve; ++i) {
            const QPointF& pt = FCurvePoints[k * perCurve + i];
            if (i == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        p.setPen(CurvePen(FLook.Curves[k]));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.restore();

    // Frame, ticks and their labels.
    const double frameWidth = WholeWidth(0.8 * U);
    p.setPen(QPen(FrameColor, frameWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(Snap(plot.left(), frameWidth), Snap(plot.top(), frameWidth)),
        QPointF(Snap(plot.right(), frameWidth), Snap(plot.bottom(), frameWidth))));
    p.setFont(FTickFont);
    const QFontMetricsF tm(FTickFont);
    for (int i = 0; i <= xTicks; ++i) {
        const QPointF at = Frame.ToPixel(i * FXStep, 0);
        p.drawLine(at, at + QPointF(0, FTick));
        const QString t = Text(i * FXStep);
        p.drawText(QPointF(at.x() - tm.horizontalAdvance(t) / 2, at.y() + FTick + 1.5 * U + tm.ascent()), t);
    }
    for (int i = 0; i <= yTicks; ++i) {
        const QPointF at = Frame.ToPixel(0, i * FYStep);
        p.drawLine(at, at - QPointF(FTick, 0));
        const QString t = Text(i * FYStep);
        p.drawText(
            QPointF(at.x() - FTick - 2 * U - tm.horizontalAdvance(t), at.y() - tm.height() / 2 + tm.ascent()),
            t);
    }

    // Axis titles and the chart's title.
    const QFont xFont = Fitted(FLabelFont, FLook.XLabel, plot.width());
    p.setFont(xFont);
    const QFontMetricsF xm(xFont);
    p.drawText(QPointF(plot.center().x() - xm.horizontalAdvance(FLook.XLabel) / 2,
                   plot.bottom() + FTick + 1.5 * U + tm.height() + 2 * U + xm.ascent()),
        FLook.XLabel);
    const QFont yFont = Fitted(FLabelFont, FLook.YLabel, plot.height());
    p.setFont(yFont);
    const QFontMetricsF ym(yFont);
    p.save();
    p.translate(
        FArea.left() + 6 * U + ym.ascent(), plot.center().y() + ym.horizontalAdvance(FLook.YLabel) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), FLook.YLabel);
    p.restore();
    p.setFont(FTitleFont);
    const QFontMetricsF ttm(FTitleFont);
    p.drawText(QPointF(FArea.center().x() - ttm.horizontalAdvance(FLook.Title) / 2,
                   FArea.top() + 6 * U + ttm.ascent()),
        FLook.Title);

    PaintLegend(p);
    if (FMark)
        PaintZone(p);
}

} // namespace

QPointF TDesignChartFrame::ToPixel(double x, double y) const
{
    return QPointF(Plot.left() + x / XMax * Plot.width(), Plot.bottom() - y / YMax * Plot.height());
}

TDesignChartFrame DesignChartFrame(
    TDesignChart chart, const QRect& area, const std::optional<TDesignChartZone>& zone)
{
    return TChartLayout(chart, QRectF(area), zone).Frame;
}

void PaintDesignChart(
    QPainter& painter, const QRect& area, TDesignChart chart, const std::optional<TDesignChartZone>& zone)
{
    if (area.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(area);
    TChartLayout(chart, QRectF(area), zone).Paint(painter);
    painter.restore();
}

QImage DesignChartImage(TDesignChart chart, QSize size, const std::optional<TDesignChartZone>& zone)
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintDesignChart(painter, QRect(QPoint(0, 0), size), chart, zone);
    painter.end();
    return image;
}

std::optional<QPointF> DesignChartZonePoint(TDesignChart chart, const TDesignChartZone& zone)
{
    const std::optional<TZoneMark> mark = ZoneMark(chart, zone);
    if (!mark)
        return std::nullopt;
    return QPointF(mark->X, mark->Y);
}

QColor DesignChartZoneColor() { return ZoneColor; }

QColor DesignChartCurveColor(TDesignChart chart, int curve)
{
    const auto& curves = Look(chart).Curves;
    if (curve < 0 || curve >= int(curves.size()))
        return {};
    return curves[size_t(curve)].Colour;
}
