// Sensor spacing and the quick recalculation: see uSpacing.h.
//
// The neighbour search is quadratic by nature (every sensor against every other), and it
// runs on every mouse move while a sensor is dragged. The plain form converts every
// pair's distance to metres (a square root and two roundings) before comparing. The fast
// form below compares exact squared pixel distances instead and converts only what
// decides, relying on one fact: the metre distance f(d²) = ScaledValue(Round(√d²)) never
// decreases as d² grows. So per direction the smallest metre distance is f(min d²), and
// the sensor the plain form picks (the first in list order with that metre distance) is
// the first candidate whose d² lies in the range that f maps onto that value.
#include "uSpacing.h"

#include "uCeilingJet.h"
#include "uGeometry.h"
#include "uNumberText.h"
#include "uScale.h"

#include <cmath>
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

// The steps after the neighbour search, shared by both forms: the mirrored walls, each
// sensor's gap, the critical sensor and the common coverage distance.
TSpacingMeasurement Finish(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                           long double px, const std::vector<TNeighbours>& found)
{
    TSpacingMeasurement m;
    m.Measured = true;
    m.Sensors.resize(sensors.size());
    const long double W = static_cast<long double>(zone.Right) - zone.Left;
    const long double Hp = static_cast<long double>(zone.Bottom) - zone.Top;

    for (size_t i = 0; i < sensors.size(); ++i) {
        const TNeighbours& n = found[i];
        TSensorSpacing& s = m.Sensors[i];
        long double mins[DirCount];
        QString names[DirCount];
        for (int k = 0; k < DirCount; ++k) {
            mins[k] = n.min[k];
            names[k] = n.index[k] >= 0 ? sensors[static_cast<size_t>(n.index[k])].GUID : SpacingNeighbour::None;
        }
        const long double x = sensors[i].X, y = sensors[i].Y;
        // A wall counts as the mirror image of the sensor, at twice its distance, and
        // wins only when strictly nearer than the nearest sensor.
        const long double wall[DirCount] = {ScaledValue(2 * std::fabs(y), px), ScaledValue(2 * std::fabs(x), px),
                                            ScaledValue(2 * std::fabs(Hp - y), px), ScaledValue(2 * std::fabs(W - x), px)};
        for (int k = 0; k < DirCount; ++k)
            if (mins[k] > wall[k]) {
                mins[k] = wall[k];
                names[k] = WallLetter(k);
            }
        s.MinT = mins[dirT], s.MinL = mins[dirL], s.MinB = mins[dirB], s.MinR = mins[dirR];
        s.NearestSensorT = names[dirT], s.NearestSensorL = names[dirL];
        s.NearestSensorB = names[dirB], s.NearestSensorR = names[dirR];

        // The gap is the largest minimum; ties keep the earlier direction (T, L, B, R).
        s.Gap = UnscaledValue(mins[dirT], px);
        s.NearestSensor = names[dirT];
        for (int k = dirL; k < DirCount; ++k) {
            const int32_t g = UnscaledValue(mins[k], px);
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

// The metre distance of a squared pixel distance, exactly as the plain form takes it.
long double MetreDistance(int64_t d2, long double px)
{
    return ScaledValue(static_cast<long double>(RoundToInt64(std::sqrt(static_cast<long double>(d2)))), px);
}

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

// The largest squared distance whose metre distance equals f(minD2), or -1 when it cannot
// be established safely (then the caller compares metre distances one by one).
int64_t UpperSquaredDistance(int64_t minD2, long double fmin, long double px)
{
    auto S = [px](int64_t r) { return ScaledValue(static_cast<long double>(r), px); };
    const int64_t r0 = RoundToInt64(std::sqrt(static_cast<long double>(minD2)));
    // Gallop then bisect for the last whole-pixel distance that still converts to fmin.
    constexpr int64_t cap = int64_t(1) << 31; // beyond every distance of the fast path
    int64_t lo = r0, hi = r0 + 1, step = 1;
    while (S(hi) == fmin) {
        lo = hi;
        if (step >= cap)
            return std::numeric_limits<int64_t>::max(); // every candidate converts to fmin
        step *= 2;
        hi = r0 + step;
    }
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        (S(mid) == fmin ? lo : hi) = mid;
    }
    // A whole-pixel distance rounds to at most lo exactly when d² <= lo² + lo (√d² never
    // lies halfway for a whole d²). Confirm it with the same square root the plain form
    // takes, so that the shortcut cannot differ from it.
    const int64_t d2hi = lo * lo + lo;
    if (RoundToInt64(std::sqrt(static_cast<long double>(d2hi))) != lo
        || RoundToInt64(std::sqrt(static_cast<long double>(d2hi + 1))) != lo + 1)
        return -1;
    return d2hi;
}

std::vector<TNeighbours> SearchFast(const TSpacingZone& zone, const std::vector<TSpacingSensor>& sensors,
                                    long double px)
{
    const size_t n = sensors.size();
    std::vector<int64_t> xs(n), ys(n);
    for (size_t i = 0; i < n; ++i) {
        xs[i] = int64_t(zone.Left) + sensors[i].X;
        ys[i] = int64_t(zone.Top) + sensors[i].Y;
    }
    const TCorners c = ZoneTriangles(zone);
    std::vector<TNeighbours> found(n);
    std::vector<int64_t> d2s(n);
    std::vector<uint8_t> masks(n);

    for (size_t i = 0; i < n; ++i) {
        const int64_t xi = xs[i], yi = ys[i];
        // Per direction: the triangle (sensor, corner 1, corner 2) as the two edge vectors
        // u, v from the sensor and the determinant D = u×v. Swapping u and v turns D, and
        // the numerators a = w×v, b = u×w of the test, into their negatives (a and b also
        // trade places, which the symmetric test does not mind), so after the swap D > 0.
        int64_t ux[DirCount], uy[DirCount], vx[DirCount], vy[DirCount], D[DirCount];
        bool live[DirCount];
        for (int k = 0; k < DirCount; ++k) {
            ux[k] = c.x[k][0] - xi, uy[k] = c.y[k][0] - yi;
            vx[k] = c.x[k][1] - xi, vy[k] = c.y[k][1] - yi;
            D[k] = ux[k] * vy[k] - uy[k] * vx[k];
            live[k] = D[k] != 0; // a flat triangle contains nothing
            if (D[k] < 0) {
                std::swap(ux[k], vx[k]);
                std::swap(uy[k], vy[k]);
                D[k] = -D[k];
            }
        }

        int64_t minD2[DirCount];
        int32_t firstAt[DirCount];
        for (int k = 0; k < DirCount; ++k)
            minD2[k] = std::numeric_limits<int64_t>::max(), firstAt[k] = -1;

        for (size_t j = 0; j < n; ++j) {
            if (j == i) {
                masks[j] = 0;
                continue;
            }
            const int64_t wx = xs[j] - xi, wy = ys[j] - yi;
            const int64_t d2 = wx * wx + wy * wy;
            uint8_t mask = 0;
            for (int k = 0; k < DirCount; ++k) {
                const int64_t a = wx * vy[k] - vx[k] * wy;
                const int64_t b = ux[k] * wy - uy[k] * wx;
                if (live[k] && a >= 0 && b >= 0 && a + b <= D[k]) {
                    mask |= uint8_t(1u << k);
                    if (d2 < minD2[k])
                        minD2[k] = d2, firstAt[k] = static_cast<int32_t>(j);
                }
            }
            d2s[j] = d2;
            masks[j] = mask;
        }

        for (int k = 0; k < DirCount; ++k) {
            if (firstAt[k] < 0)
                continue;
            const long double fmin = MetreDistance(minD2[k], px);
            if (!(fmin < NoMinimum))
                continue; // the plain form never takes a sensor this far
            const int64_t upper = UpperSquaredDistance(minD2[k], fmin, px);
            int32_t chosen = firstAt[k];
            for (int32_t j = 0; j < firstAt[k]; ++j) {
                if (!(masks[static_cast<size_t>(j)] & (1u << k)))
                    continue;
                const int64_t d2 = d2s[static_cast<size_t>(j)];
                if (upper >= 0 ? d2 <= upper : MetreDistance(d2, px) == fmin) {
                    chosen = j;
                    break;
                }
            }
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
    return Finish(zone, sensors, px, SearchFast(zone, sensors, px));
}

TSpacingMeasurement MeasureSensorSpacingDirect(const TSpacingZone& zone,
                                               const std::vector<TSpacingSensor>& sensors, long double px)
{
    if (sensors.empty())
        return {};
    return Finish(zone, sensors, px, SearchDirect(zone, sensors, px));
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
