// Sensor spacing: neighbours in the four triangles, mirrored walls, ties, the critical
// sensor, and the quick recalculation of the detection time that uses it.
#include "LocaleGuard.h"
#include "uCeilingJet.h"
#include "uScale.h"
#include "uSpacing.h"

#include <gtest/gtest.h>
#include <random>

namespace {

std::vector<TSpacingSensor> Sensors(std::initializer_list<std::pair<int, int>> positions)
{
    std::vector<TSpacingSensor> list;
    int n = 0;
    for (auto [x, y] : positions)
        list.push_back({QStringLiteral("{S%1}").arg(++n), x, y});
    return list;
}

// A zone of 100 × 40 px placed away from the plan origin, so that absolute and relative
// positions differ; at 0.1 m/px it is 10 m × 4 m.
const TSpacingZone Zone100x40 {200, 50, 300, 90};

void ExpectSame(const TSpacingMeasurement& a, const TSpacingMeasurement& b, const std::string& where)
{
    ASSERT_EQ(a.Measured, b.Measured) << where;
    EXPECT_EQ(a.L, b.L) << where;
    EXPECT_EQ(a.CriticalIndex, b.CriticalIndex) << where;
    EXPECT_EQ(a.CSensor, b.CSensor) << where;
    ASSERT_EQ(a.Sensors.size(), b.Sensors.size()) << where;
    for (size_t i = 0; i < a.Sensors.size(); ++i) {
        const auto &s = a.Sensors[i], &t = b.Sensors[i];
        const std::string at = where + ", sensor " + std::to_string(i);
        EXPECT_EQ(s.NearestSensorT, t.NearestSensorT) << at;
        EXPECT_EQ(s.NearestSensorL, t.NearestSensorL) << at;
        EXPECT_EQ(s.NearestSensorB, t.NearestSensorB) << at;
        EXPECT_EQ(s.NearestSensorR, t.NearestSensorR) << at;
        EXPECT_EQ(s.NearestSensor, t.NearestSensor) << at;
        EXPECT_EQ(s.MinT, t.MinT) << at;
        EXPECT_EQ(s.MinL, t.MinL) << at;
        EXPECT_EQ(s.MinB, t.MinB) << at;
        EXPECT_EQ(s.MinR, t.MinR) << at;
        EXPECT_EQ(s.Gap, t.Gap) << at;
        EXPECT_EQ(s.Range, t.Range) << at;
    }
}

// A record that has a detection-time result and detects a fire under the ceiling jet.
TCalcParamsOrvann DetectableRecord()
{
    TCalcParamsOrvann cp;
    cp.CalculatedVOP = true;
    cp.method = 1;
    cp.param1 = 3;        // H, m
    cp.param4 = 10;       // F, m²
    cp.param5 = 0.9L;     // η
    cp.param6 = 0.0108L;  // v, m/s
    cp.param7 = 0.0145L;  // ψ
    cp.param8 = 13800;    // Qн
    cp.param9 = 10;       // q
    cp.param10 = 293;     // T0
    cp.param11 = 343;     // Tact
    cp.param12 = 100;     // RTI
    return cp;
}

} // namespace

// The two sensors of the worked example: both gaps are 7.0 m, the first sensor (whose gap
// comes from the left wall) is the critical one.
TEST(Spacing, TwoSensorsWorkedExample)
{
    const auto sensors = Sensors({{35, 20}, {65, 20}});
    const TSpacingMeasurement m = MeasureSensorSpacing(Zone100x40, sensors, 0.1L);
    ASSERT_TRUE(m.Measured);
    const TSensorSpacing &a = m.Sensors[0], &b = m.Sensors[1];
    EXPECT_EQ(a.MinT, 4.0L);
    EXPECT_EQ(a.NearestSensorT, "T");
    EXPECT_EQ(a.MinL, 7.0L);
    EXPECT_EQ(a.NearestSensorL, "L");
    EXPECT_EQ(a.MinB, 4.0L);
    EXPECT_EQ(a.NearestSensorB, "B");
    EXPECT_EQ(a.MinR, 3.0L);
    EXPECT_EQ(a.NearestSensorR, "{S2}");
    EXPECT_EQ(b.MinT, 4.0L);
    EXPECT_EQ(b.MinL, 3.0L);
    EXPECT_EQ(b.NearestSensorL, "{S1}");
    EXPECT_EQ(b.MinB, 4.0L);
    EXPECT_EQ(b.MinR, 7.0L);
    EXPECT_EQ(b.NearestSensorR, "R");
    EXPECT_EQ(a.Gap, 70);
    EXPECT_EQ(b.Gap, 70);
    EXPECT_EQ(a.NearestSensor, "L");
    EXPECT_EQ(b.NearestSensor, "R");
    EXPECT_EQ(m.L, 70);
    EXPECT_EQ(ScaledValue(m.L, 0.1L), 7.0L);
    EXPECT_EQ(m.CriticalIndex, 0);
    EXPECT_EQ(m.CSensor, "{S1}");
    EXPECT_EQ(a.Range, 70);
    EXPECT_EQ(b.Range, 70);
}

// One sensor: every neighbour is a wall; left wins over right on a tie.
TEST(Spacing, SingleSensorSeesOnlyWalls)
{
    const TSpacingMeasurement m = MeasureSensorSpacing(Zone100x40, Sensors({{50, 20}}), 0.1L);
    const TSensorSpacing& s = m.Sensors[0];
    EXPECT_EQ(s.MinT, 4.0L);
    EXPECT_EQ(s.MinL, 10.0L);
    EXPECT_EQ(s.MinB, 4.0L);
    EXPECT_EQ(s.MinR, 10.0L);
    EXPECT_EQ(s.NearestSensor, "L");
    EXPECT_EQ(m.L, 100);
    EXPECT_EQ(m.CSensor, "{S1}");

    // Off centre: twice the largest wall distance, rounded to 0.1 m (2 · 63 px · 0.1).
    const TSpacingMeasurement off = MeasureSensorSpacing(Zone100x40, Sensors({{37, 11}}), 0.1L);
    EXPECT_EQ(off.Sensors[0].NearestSensor, "R");
    EXPECT_EQ(off.L, 126);
    // Without a scale one pixel counts as one metre.
    const TSpacingMeasurement raw = MeasureSensorSpacing(Zone100x40, Sensors({{37, 11}}), NoPlanScale);
    EXPECT_EQ(raw.Sensors[0].MinR, 126.0L);
    EXPECT_EQ(raw.L, 126);
}

TEST(Spacing, NoSensorsMeasuresNothing)
{
    const TSpacingMeasurement m = MeasureSensorSpacing(Zone100x40, {}, 0.1L);
    EXPECT_FALSE(m.Measured);
    EXPECT_EQ(m.L, 0);
    EXPECT_EQ(m.CriticalIndex, -1);
    EXPECT_TRUE(m.CSensor.isEmpty());
}

// Walls count at twice their distance and replace a sensor only when strictly nearer.
TEST(Spacing, MirroredWalls)
{
    // Zone 100 × 100 px; the first sensor is 20 px from the right wall (4.0 m mirrored).
    const TSpacingZone zone {0, 0, 100, 100};
    // A second sensor on the right wall 40 px away (√(20² + 35²) = 40.3 -> 40): as near as
    // the mirrored wall, so the sensor stays.
    auto tie = MeasureSensorSpacing(zone, Sensors({{80, 50}, {100, 85}}), 0.1L);
    EXPECT_EQ(tie.Sensors[0].MinR, 4.0L);
    EXPECT_EQ(tie.Sensors[0].NearestSensorR, "{S2}");
    // One pixel further (√(20² + 36²) = 41.2 -> 41, 4.1 m): the wall is nearer.
    auto wall = MeasureSensorSpacing(zone, Sensors({{80, 50}, {100, 86}}), 0.1L);
    EXPECT_EQ(wall.Sensors[0].MinR, 4.0L);
    EXPECT_EQ(wall.Sensors[0].NearestSensorR, "R");

    // A sensor on a wall: that wall is its neighbour at distance 0, and the flat triangle
    // towards it holds no sensor, not even one on the same wall.
    auto onWall = MeasureSensorSpacing(zone, Sensors({{30, 0}, {31, 0}, {30, 60}}), 0.1L);
    EXPECT_EQ(onWall.Sensors[0].MinT, 0.0L);
    EXPECT_EQ(onWall.Sensors[0].NearestSensorT, "T");
    EXPECT_EQ(onWall.Sensors[0].NearestSensorR, "{S2}"); // 1 px along the wall, 0.1 m
    EXPECT_EQ(onWall.Sensors[0].MinR, 0.1L);
    EXPECT_EQ(onWall.Sensors[0].NearestSensorB, "{S3}");
}

// Ties between sensors keep the first in list order, also when the pixel distances
// differ but the metre distances agree after rounding to 0.1 m.
TEST(Spacing, TiesKeepTheEarlierSensor)
{
    const TSpacingZone zone {0, 0, 100, 100};
    // Two sensors above the first, symmetric: the same distance, both in its top triangle.
    auto ab = MeasureSensorSpacing(zone, Sensors({{50, 50}, {40, 20}, {60, 20}}), 0.1L);
    EXPECT_EQ(ab.Sensors[0].NearestSensorT, "{S2}");
    auto ba = MeasureSensorSpacing(zone, Sensors({{50, 50}, {60, 20}, {40, 20}}), 0.1L);
    EXPECT_EQ(ba.Sensors[0].NearestSensorT, "{S2}");

    // 32 px and 31 px above: at 0.1 m/px the nearer one wins (3.1 < 3.2) ...
    const auto pair = Sensors({{50, 50}, {50, 18}, {50, 19}});
    auto fine = MeasureSensorSpacing(zone, pair, 0.1L);
    EXPECT_EQ(fine.Sensors[0].NearestSensorT, "{S3}");
    EXPECT_EQ(fine.Sensors[0].MinT, 3.1L);
    // ... at 0.01 m/px both are 0.3 m, and the earlier one in the list stays.
    auto coarse = MeasureSensorSpacing(zone, pair, 0.01L);
    EXPECT_EQ(coarse.Sensors[0].NearestSensorT, "{S2}");
    EXPECT_EQ(coarse.Sensors[0].MinT, 0.3L);
    ExpectSame(coarse, MeasureSensorSpacingDirect(zone, pair, 0.01L), "coarse");

    // A sensor straight along a diagonal lies in two triangles at once.
    auto diagonal = MeasureSensorSpacing(zone, Sensors({{50, 50}, {30, 30}}), 0.1L);
    EXPECT_EQ(diagonal.Sensors[0].NearestSensorT, "{S2}");
    EXPECT_EQ(diagonal.Sensors[0].NearestSensorL, "{S2}");
    EXPECT_EQ(diagonal.Sensors[0].NearestSensorB, "B");
}

TEST(Spacing, CriticalSensorIsTheFirstWithTheLargestGap)
{
    const TSpacingZone zone {0, 0, 200, 40};
    // Gaps: the middle sensor has the widest (to the far right sensor), not the first.
    const auto sensors = Sensors({{20, 20}, {60, 20}, {160, 20}});
    const TSpacingMeasurement m = MeasureSensorSpacing(zone, sensors, 0.1L);
    EXPECT_EQ(m.Sensors[0].Gap, 40);
    EXPECT_EQ(m.Sensors[1].Gap, 100);
    EXPECT_EQ(m.Sensors[2].Gap, 100);
    EXPECT_EQ(m.CriticalIndex, 1);
    EXPECT_EQ(m.CSensor, "{S2}");
    EXPECT_EQ(m.Sensors[1].NearestSensor, "{S3}");
    for (const auto& s : m.Sensors)
        EXPECT_EQ(s.Range, 100); // everyone is drawn with the zone's spacing

    // No positive gap anywhere (a zone without extent): no critical sensor at all.
    const TSpacingMeasurement flat = MeasureSensorSpacing({10, 10, 10, 10}, Sensors({{0, 0}, {0, 0}}), 0.1L);
    EXPECT_EQ(flat.L, 0);
    EXPECT_EQ(flat.CriticalIndex, -1);
    EXPECT_TRUE(flat.CSensor.isEmpty());
}

// The fast neighbour search must give exactly what the plain one gives, on layouts that
// provoke every tie: coincident sensors, sensors on walls and corners, sensors outside
// the zone (possible in a loaded file), coarse and fine scales, no scale.
TEST(Spacing, FastSearchEqualsPlainSearch)
{
    std::mt19937 rng(20261209);
    const long double scales[] = {0.1L, 0.01L, 0.25L, 1.0L / 3, 0.0001L, 7.0L, NoPlanScale};
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + int(rng() % 300), h = 1 + int(rng() % 300);
        const TSpacingZone zone {int(rng() % 500), int(rng() % 500), 0, 0};
        TSpacingZone z = zone;
        z.Right = z.Left + w;
        z.Bottom = z.Top + h;
        const int n = 1 + int(rng() % 40);
        std::vector<TSpacingSensor> sensors;
        for (int i = 0; i < n; ++i) {
            int x, y;
            switch (rng() % 6) {
            case 0: // on a wall
                x = (rng() % 2) ? 0 : w, y = int(rng() % (h + 1));
                break;
            case 1: // a copy of an earlier sensor
                if (!sensors.empty()) {
                    const auto& e = sensors[rng() % sensors.size()];
                    x = e.X, y = e.Y;
                    break;
                }
                [[fallthrough]];
            case 2: // on a coarse grid, for many equal distances
                x = int(rng() % 5) * w / 4, y = int(rng() % 5) * h / 4;
                break;
            case 3: // slightly outside
                x = int(rng() % (w + 21)) - 10, y = int(rng() % (h + 21)) - 10;
                break;
            default:
                x = int(rng() % (w + 1)), y = int(rng() % (h + 1));
            }
            sensors.push_back({QStringLiteral("{G%1}").arg(i), x, y});
        }
        for (long double px : scales)
            ExpectSame(MeasureSensorSpacing(z, sensors, px), MeasureSensorSpacingDirect(z, sensors, px),
                       "round " + std::to_string(round) + ", px " + std::to_string(double(px)));
    }
    // Larger hand-placed grids, where the search stops early for most sensors.
    for (int round = 0; round < 4; ++round) {
        const int cols = 8 + round * 3, rows = 6 + round * 2, step = 20 + round * 7;
        const TSpacingZone z {13, 7, 13 + cols * step, 7 + rows * step};
        std::vector<TSpacingSensor> sensors;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                sensors.push_back({QStringLiteral("{R%1C%2}").arg(r).arg(c), c * step + step / 2 + int(rng() % 5) - 2,
                                   r * step + step / 2 + int(rng() % 5) - 2});
        for (long double px : scales)
            ExpectSame(MeasureSensorSpacing(z, sensors, px), MeasureSensorSpacingDirect(z, sensors, px),
                       "grid " + std::to_string(round) + ", px " + std::to_string(double(px)));
    }
}

// The quick recalculation:
TEST(RecalcVOP, WithoutResultNothingChanges)
{
    TCalcParamsOrvann cp = DetectableRecord();
    cp.CalculatedVOP = false;
    cp.param2 = 5;
    cp.CSensor = "{OLD}";
    TSpacingMeasurement m;
    m.L = 123;
    const QString text = RecalcVOP(cp, Zone100x40, Sensors({{50, 20}}), 0.1L, 1, &m);
    EXPECT_TRUE(text.isNull());
    EXPECT_EQ(cp.param2, 5);
    EXPECT_EQ(cp.CSensor, "{OLD}");
    EXPECT_EQ(cp.value6s, 0);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_EQ(m.L, 123);
}

TEST(RecalcVOP, AutomaticSpacingFromTheLayout)
{
    LocaleGuard ru(LocaleGuard::Russian());
    TCalcParamsOrvann cp = DetectableRecord();
    TSpacingMeasurement m;
    const QString text = RecalcVOP(cp, Zone100x40, Sensors({{35, 20}, {65, 20}}), 0.1L, 99, &m);
    EXPECT_EQ(cp.param2, 7.0L);
    EXPECT_EQ(cp.CSensor, "{S1}");
    ASSERT_TRUE(m.Measured);
    EXPECT_EQ(m.Sensors[1].NearestSensorL, "{S1}");
    // The ceiling-jet model ran on L = 7 m: far field (7 > 0.36 · 3).
    EXPECT_EQ(cp.value1, 0.36L * 3);
    EXPECT_GT(cp.value2, 0);
    ASSERT_GT(cp.value6s, 0);
    EXPECT_EQ(cp.VOPResult, cp.value6s);
    EXPECT_EQ(text, QStringLiteral("Время обнаружения: %1 сек").arg(qRound64(double(cp.value6s))));

    // Debug mode adds the spacing in the general format.
    cp.DebugMode = true;
    const QString debug = RecalcVOP(cp, Zone100x40, Sensors({{35, 20}, {66, 20}}), 0.1L, 99);
    EXPECT_EQ(cp.param2, 7.0L);
    EXPECT_TRUE(debug.endsWith(" сек (L = 7)")) << debug.toStdString();
    RecalcVOP(cp, Zone100x40, Sensors({{37, 11}}), 0.25L, 99);
    EXPECT_EQ(cp.param2, 31.5L); // 126 px · 0.25
    EXPECT_TRUE(RecalcVOP(cp, Zone100x40, Sensors({{37, 11}}), 0.25L, 99).endsWith(" (L = 31,5)"));
}

TEST(RecalcVOP, NoSensorsGiveZeroSpacingAndNoCriticalSensor)
{
    TCalcParamsOrvann cp = DetectableRecord();
    cp.param2 = 5;
    cp.CSensor = "{DELETED}"; // the sensor that was critical has just been deleted
    RecalcVOP(cp, Zone100x40, {}, 0.1L, 99);
    EXPECT_EQ(cp.param2, 0);
    EXPECT_TRUE(cp.CSensor.isEmpty());
    EXPECT_LE(cp.value2, 0); // L = 0 selects the near field
    EXPECT_TRUE(cp.CalculatedVOP);
}

TEST(RecalcVOP, ManualSpacingSkipsTheLayout)
{
    LocaleGuard ru(LocaleGuard::Russian());
    TCalcParamsOrvann cp = DetectableRecord();
    cp.ManualL = true;
    cp.DebugMode = true;
    cp.CSensor = "{S2}";
    TSpacingMeasurement m;
    m.Measured = true;
    const QString text = RecalcVOP(cp, Zone100x40, Sensors({{35, 20}, {65, 20}}), 0.1L, 4.25L, &m);
    EXPECT_EQ(cp.param2, 4.25L);
    EXPECT_EQ(cp.CSensor, "{S2}"); // kept: the layout was not measured
    EXPECT_FALSE(m.Measured);
    EXPECT_TRUE(text.endsWith(" (L = 4,25)")) << text.toStdString();
}

TEST(RecalcVOP, UndetectedFireText)
{
    TCalcParamsOrvann cp = DetectableRecord();
    cp.param11 = 5000; // an activation temperature the jet never reaches
    cp.VOPResult = 77;
    const QString text = RecalcVOP(cp, Zone100x40, Sensors({{35, 20}, {65, 20}}), 0.1L, 99);
    EXPECT_EQ(cp.value6s, Outcome::NotDetected);
    EXPECT_EQ(text, "При заданных условиях пожар не будет обнаружен");
    EXPECT_EQ(cp.VOPResult, 77); // the last detected time stays
}
