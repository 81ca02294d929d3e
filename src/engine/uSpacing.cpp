// Sensor spacing and the quick recalculation: see uSpacing.h.
//
// The neighbour search is quadratic by nature (every sensor against every other), and it
// runs on every mouse move while a sensor is dragged. The plain form converts every
// pair's distance to metres (a square root and two roundings) before comparing. The fast
// form compares exact squared pixel distances instead, visits the other sensors nearest
// in height first and stops as soon as none of the rest can matter, and converts to
// metres only the few distances that decide. It relies on one fact: the metre distance
// f(d²) = ScaledValue(Round(√d²)) never decreases as d² grows. So per direction the
// smallest metre distance is f(min d²), and the sensor the plain form picks (the first
// in list order at that metre distance) is the first candidate that converts to it.
#include "uSpacing.h"

#include "uCeilingJet.h"
#include "uGeometry.h"
#include "uNumberText.h"
#include "uScale.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

// Every minimum starts here (metres): the plain form's "nothing found yet".
constexpr long double NoMinimum = 2147483647;

enum { dirT = 0, dirL, dirB, dirR, DirCount };

const QString& WallLetter(int dir)
{
    static const QString* letters[DirCount] = {&SpacingNeighbour::Top, &SpacingNeighbour::Left,
                                               &SpacingNeighbour::Bottom, &SpacingNeighbour::Right};
    return *letters[dir];
}

// What the sensor-to-sensor search found for one sensor.
struct TNeighbours {
    long double min[DirCount] = {NoMinimum, NoMinimum, NoMinimum, NoMinimum};
    int32_t index[DirCount] = {-1, -1, -1, -1}; // list index of the nearest sensor, -1 none
};

// ScaledValue and UnscaledValue as they are, for the plain form.
struct TPlainMetres {
    long double px;
    long double OfPixels(int64_t r) const { return ScaledValue(static_cast<long double>(r), px); }
    int32_t ToPixels(long double metres) const { return UnscaledValue(metres, px); }
};

// The steps after the neighbour search, shared by both forms: the mirrored walls, each
// sensor's gap, the critical sensor and the common coverage distance. `metres` converts
// like ScaledValue (OfPixels) and UnscaledValue (ToPixels).
template <typename TConverter>
TSpacingMeasurement Finish(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                           const TConverter& metres, const std::vector<TNeighbours>& found)
{
    TSpacingMeasurement m;
    m.Measured = true;
    m.Sensors.resize(sensors.size());
    const int64_t W = int64_t(zone.Right) - zone.Left;
    const int64_t Hp = int64_t(zone.Bottom) - zone.Top;

    for (size_t i = 0; i < sensors.size(); ++i) {
        const TNeighbours& n = found[i];
        TSensorSpacing& s = m.Sensors[i];
        long double mins[DirCount];
        QString names[DirCount];
        for (int k = 0; k < DirCount; ++k) {
            mins[k] = n.min[k];
            names[k] = n.index[k] >= 0 ? sensors[static_cast<size_t>(n.index[k])].GUID : SpacingNeighbour::None;
        }
        const int64_t x = sensors[i].X, y = sensors[i].Y;
        // A wall counts as the mirror image of the sensor, at twice its distance, and
        // wins only when strictly nearer than the nearest sensor.
        const long double wall[DirCount] = {metres.OfPixels(2 * std::abs(y)), metres.OfPixels(2 * std::abs(x)),
                                            metres.OfPixels(2 * std::abs(Hp - y)), metres.OfPixels(2 * std::abs(W - x))};
        for (int k = 0; k < DirCount; ++k)
            if (mins[k] > wall[k]) {
                mins[k] = wall[k];
                names[k] = WallLetter(k);
            }
        s.MinT = mins[dirT], s.MinL = mins[dirL], s.MinB = mins[dirB], s.MinR = mins[dirR];
        s.NearestSensorT = names[dirT], s.NearestSensorL = names[dirL];
        s.NearestSensorB = names[dirB], s.NearestSensorR = names[dirR];

        // The gap is the largest minimum; ties keep the earlier direction (T, L, B, R).
        s.Gap = metres.ToPixels(mins[dirT]);
        s.NearestSensor = names[dirT];
        for (int k = dirL; k < DirCount; ++k) {
            const int32_t g = metres.ToPixels(mins[k]);
            if (g > s.Gap) {
                s.Gap = g;
                s.NearestSensor = names[k];
            }
        }
    }

    long double result = 0;
    for (size_t i = 0; i < m.Sensors.size(); ++i)
        if (m.Sensors[i].Gap > result) {
            result = m.Sensors[i].Gap;
            m.CriticalIndex = static_cast<int32_t>(i);
        }
    if (m.CriticalIndex >= 0)
        m.CSensor = sensors[static_cast<size_t>(m.CriticalIndex)].GUID;
    for (auto& s : m.Sensors)
        s.Range = RoundToInt(result);
    m.L = result;
    return m;
}

// The four triangles of a sensor: itself and two corners of the zone.
struct TCorners {
    int32_t x[DirCount][2], y[DirCount][2];
};

TCorners ZoneTriangles(const TSpacingZone& z)
{
    // T: top-left, top-right; L: top-left, bottom-left; B: bottom-left, bottom-right;
    // R: top-right, bottom-right.
    return {{{z.Left, z.Right}, {z.Left, z.Left}, {z.Left, z.Right}, {z.Right, z.Right}},
            {{z.Top, z.Top}, {z.Top, z.Bottom}, {z.Bottom, z.Bottom}, {z.Top, z.Bottom}}};
}

// The roundings of ScaledValue and RoundedDistance (ties to even) for one measurement.
// RoundHalfEven guards against a caller's changed rounding mode on every call, which
// costs more than the rest of the search together; here the mode is checked once, and in
// the default round-to-nearest-even mode the processor's rint gives the same results.
class TMetres {
public:
    explicit TMetres(long double px) : Fpx(px), FNearest(std::fegetround() == FE_TONEAREST)
    {
        // Lengths that convert to the same tenth of a metre differ by at most 1 / (10 px)
        // pixels, since ScaledValue rounds r·px·10; see Reach.
        if (Fpx > 0) {
            const long double slack = 1 / (10 * Fpx);
            FSlack = slack < (int64_t(1) << 30) ? static_cast<int64_t>(slack) + 1 : -1;
        }
    }

    long double Round(long double x) const { return FNearest ? std::rint(x) : RoundHalfEven(x); }
    // ScaledValue of a whole-pixel length.
    long double OfPixels(int64_t r) const
    {
        return Fpx > 0 ? Round(static_cast<long double>(r) * Fpx * 10) / 10 : static_cast<long double>(r);
    }
    // RoundedDistance of a squared pixel distance.
    int64_t PixelDistance(int64_t d2) const
    {
        const long double d = std::sqrt(static_cast<long double>(d2));
        // llrint rounds in the current mode, here to nearest with ties to even.
        return FNearest ? static_cast<int64_t>(std::llrint(d)) : static_cast<int64_t>(RoundHalfEven(d));
    }
    // The metre distance of a squared pixel distance, as the plain form takes it.
    long double OfSquared(int64_t d2) const { return OfPixels(PixelDistance(d2)); }

    // A squared distance beyond which every distance converts to more metres than a
    // length of r0 whole pixels does: r0 plus the slack of lengths that convert to the
    // same tenth of a metre bounds them, and √d² rounds to at most r pixels only when
    // d² < (r + 1)². The bound is generous by a pixel or two, which costs a few more
    // visits and nothing else.
    int64_t Reach(int64_t r0) const
    {
        constexpr int64_t Unbounded = std::numeric_limits<int64_t>::max();
        if (FSlack < 0)
            return Unbounded; // so fine a scale that any length may convert alike
        const int64_t r = r0 + FSlack + 1;
        return r < (int64_t(1) << 31) ? r * r : Unbounded;
    }

    // UnscaledValue of a length in metres.
    int32_t ToPixels(long double metres) const
    {
        if (!FNearest)
            return UnscaledValue(metres, Fpx);
        const long double r = std::rint(Fpx > 0 ? metres / Fpx : metres);
        if (!(r < 2147483647.0L))
            return std::isnan(r) ? 0 : std::numeric_limits<int32_t>::max();
        if (!(r > -2147483648.0L))
            return std::numeric_limits<int32_t>::min();
        return static_cast<int32_t>(r);
    }

private:
    long double Fpx;
    bool FNearest;
    int64_t FSlack = 0; // whole pixels; -1: unbounded
};

constexpr int64_t FastLimit = int64_t(1) << 28;

bool FitsFastPath(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors)
{
    auto ok = [](int64_t v) { return v > -FastLimit && v < FastLimit; };
    if (!ok(zone.Left) || !ok(zone.Top) || !ok(zone.Right) || !ok(zone.Bottom))
        return false;
    for (const auto& s : sensors)
        if (!ok(int64_t(zone.Left) + s.X) || !ok(int64_t(zone.Top) + s.Y))
            return false;
    return true;
}

// The fast neighbour search. For each sensor the others are visited in order of their
// vertical distance, nearest first, and the visit stops once that distance alone puts
// every remaining sensor beyond what could still matter in any direction: beyond the
// nearest sensor found so far (up to the same metre distance, since ties go by list
// order), and beyond the mirrored wall, which wins against anything farther. The
// sensors visited are kept, and the winner per direction is the first in list order
// among them at the smallest metre distance.
std::vector<TNeighbours> SearchFast(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                                    long double px)
{
    constexpr int64_t Unbounded = std::numeric_limits<int64_t>::max();
    const size_t n = sensors.size();
    const TMetres metres(px);
    std::vector<int64_t> xs(n), ys(n);
    for (size_t i = 0; i < n; ++i) {
        xs[i] = int64_t(zone.Left) + sensors[i].X;
        ys[i] = int64_t(zone.Top) + sensors[i].Y;
    }
    std::vector<int32_t> order(n), pos(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<int32_t>(i);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return ys[size_t(a)] < ys[size_t(b)]; });
    for (size_t p = 0; p < n; ++p)
        pos[size_t(order[p])] = static_cast<int32_t>(p);

    const TCorners c = ZoneTriangles(zone);
    const int64_t W = int64_t(zone.Right) - zone.Left, Hp = int64_t(zone.Bottom) - zone.Top;
    struct TCandidate {
        int32_t j;
        uint32_t mask;
        int64_t d2;
    };
    std::vector<TCandidate> seen;
    seen.reserve(n);
    std::vector<TNeighbours> found(n);

    for (size_t i = 0; i < n; ++i) {
        const int64_t xi = xs[i], yi = ys[i];
        const int64_t rx = sensors[i].X, ry = sensors[i].Y;
        // Per direction: the triangle (sensor, corner 1, corner 2) as the two edge vectors
        // u, v from the sensor and the determinant D = u×v. Swapping u and v turns D, and
        // the numerators a = w×v, b = u×w of the test, into their negatives (a and b also
        // trade places, which the symmetric test does not mind), so after the swap D > 0.
        int64_t ux[DirCount], uy[DirCount], vx[DirCount], vy[DirCount], D[DirCount];
        bool live[DirCount];
        // bound[k]: the largest d² that can still matter in direction k; -1 for a flat
        // triangle, which holds nothing.
        int64_t bound[DirCount], minD2[DirCount];
        const int64_t wallPixels[DirCount] = {2 * std::abs(ry), 2 * std::abs(rx), 2 * std::abs(Hp - ry),
                                              2 * std::abs(W - rx)};
        for (int k = 0; k < DirCount; ++k) {
            ux[k] = c.x[k][0] - xi, uy[k] = c.y[k][0] - yi;
            vx[k] = c.x[k][1] - xi, vy[k] = c.y[k][1] - yi;
            D[k] = ux[k] * vy[k] - uy[k] * vx[k];
            live[k] = D[k] != 0;
            if (D[k] < 0) {
                std::swap(ux[k], vx[k]);
                std::swap(uy[k], vy[k]);
                D[k] = -D[k];
            }
            bound[k] = live[k] ? metres.Reach(wallPixels[k]) : -1;
            minD2[k] = Unbounded;
        }
        auto widest = [&bound] { return std::max(std::max(bound[0], bound[1]), std::max(bound[2], bound[3])); };
        int64_t reach = widest();

        seen.clear();
        int32_t up = pos[i] - 1, down = pos[i] + 1;
        while (up >= 0 || down < static_cast<int32_t>(n)) {
            const int64_t dyUp = up >= 0 ? yi - ys[size_t(order[size_t(up)])] : Unbounded;
            const int64_t dyDown = down < static_cast<int32_t>(n) ? ys[size_t(order[size_t(down)])] - yi : Unbounded;
            const bool takeUp = dyUp <= dyDown;
            const int64_t dy = takeUp ? dyUp : dyDown;
            if (dy * dy > reach)
                break; // the other side is no nearer
            const size_t j = size_t(order[size_t(takeUp ? up-- : down++)]);
            const int64_t wx = xs[j] - xi, wy = ys[j] - yi;
            const int64_t d2 = wx * wx + wy * wy;
            if (d2 > reach)
                continue; // too far to matter in any direction, whichever triangle holds it
            uint32_t mask = 0;
            for (int k = 0; k < DirCount; ++k) {
                const int64_t a = wx * vy[k] - vx[k] * wy;
                const int64_t b = ux[k] * wy - uy[k] * wx;
                if (live[k] && a >= 0 && b >= 0 && a + b <= D[k])
                    mask |= 1u << k;
            }
            if (mask == 0)
                continue;
            seen.push_back({static_cast<int32_t>(j), mask, d2});
            bool narrowed = false;
            for (int k = 0; k < DirCount; ++k)
                if ((mask & (1u << k)) && d2 < minD2[k]) {
                    minD2[k] = d2;
                    if (d2 <= bound[k]) {
                        const int64_t b = metres.Reach(metres.PixelDistance(d2));
                        if (b < bound[k])
                            bound[k] = b, narrowed = true;
                    }
                }
            if (narrowed)
                reach = widest();
        }

        for (int k = 0; k < DirCount; ++k) {
            if (minD2[k] == Unbounded)
                continue;
            const long double fmin = metres.OfSquared(minD2[k]);
            if (!(fmin < NoMinimum))
                continue; // the plain form never takes a sensor this far
            // Ties in metres go to the first in list order; only distances within the
            // reach of the smallest can tie with it, and only those need converting.
            const int64_t tieReach = metres.Reach(metres.PixelDistance(minD2[k]));
            int32_t chosen = std::numeric_limits<int32_t>::max();
            for (const TCandidate& s : seen)
                if ((s.mask & (1u << k)) && s.j < chosen
                    && (s.d2 == minD2[k] || (s.d2 <= tieReach && metres.OfSquared(s.d2) == fmin)))
                    chosen = s.j;
            found[i].min[k] = fmin;
            found[i].index[k] = chosen;
        }
    }
    return found;
}

std::vector<TNeighbours> SearchDirect(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                                      long double px)
{
    const size_t n = sensors.size();
    const TCorners c = ZoneTriangles(zone);
    std::vector<TNeighbours> found(n);
    for (size_t i = 0; i < n; ++i) {
        const int32_t xi = zone.Left + sensors[i].X, yi = zone.Top + sensors[i].Y;
        for (size_t j = 0; j < n; ++j) {
            if (j == i)
                continue;
            const int32_t xj = zone.Left + sensors[j].X, yj = zone.Top + sensors[j].Y;
            const long double d = ScaledValue(static_cast<long double>(RoundedDistance(xi, yi, xj, yj)), px);
            for (int k = 0; k < DirCount; ++k)
                if (PointInTriangle(xi, yi, c.x[k][0], c.y[k][0], c.x[k][1], c.y[k][1], xj, yj)
                    && d < found[i].min[k]) {
                    found[i].min[k] = d;
                    found[i].index[k] = static_cast<int32_t>(j);
                }
        }
    }
    return found;
}

} // namespace

TSpacingMeasurement MeasureSensorSpacing(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                                         long double px)
{
    if (sensors.empty())
        return {};
    if (!FitsFastPath(zone, sensors))
        return MeasureSensorSpacingDirect(zone, sensors, px);
    return Finish(zone, sensors, TMetres(px), SearchFast(zone, sensors, px));
}

TSpacingMeasurement MeasureSensorSpacingDirect(const TSpacingZone& zone,
                                               const std::vector<TSpacingSensor>& sensors, long double px)
{
    if (sensors.empty())
        return {};
    return Finish(zone, sensors, TPlainMetres {px}, SearchDirect(zone, sensors, px));
}

QString RecalcVOP(TCalcParamsOrvann& cp, const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                  long double px, long double manualL, TSpacingMeasurement* measurement)
{
    if (!cp.CalculatedVOP)
        return QString();
    long double L = 0;
    if (cp.ManualL) {
        L = manualL;
        if (measurement)
            *measurement = TSpacingMeasurement();
    } else {
        TSpacingMeasurement m = MeasureSensorSpacing(zone, sensors, px);
        cp.CSensor = m.CSensor; // a zone without sensors has no critical sensor
        L = ScaledValue(m.L, px);
        if (measurement)
            *measurement = std::move(m);
    }
    cp.param2 = L;
    CalcCPSimple(cp);
    QString text = CeilingJetResultText(cp);
    if (cp.DebugMode)
        text += QStringLiteral(" (L = ") + FormatGeneral(L) + QStringLiteral(")");
    return text;
}
