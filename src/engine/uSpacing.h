// Sensor spacing of a zone and the quick recalculation of its detection time.
// The measurement finds, for every sensor, its nearest neighbour in each of the four
// directions (a sensor, or the wall mirrored at twice its distance), the sensor's gap
// (the largest of the four), the critical sensor (the first with the largest gap) and
// the design spacing L. The quick recalculation feeds L into the ceiling-jet model
// (CalcCPSimple) and gives the status-bar text. Plain values only: the model applies the
// results to its TSensor objects (src/model/uRoomSpacing.h).
#pragma once

#include "uCalcRecord.h"

#include <QString>
#include <cstdint>
#include <vector>

// The zone's rectangle in plan pixels (right and bottom are the far sides).
struct TSpacingZone {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One sensor of the zone: its identity and its position relative to the zone's
// top-left corner, in plan pixels.
struct TSpacingSensor {
    QString GUID;
    int32_t X = 0, Y = 0;
};

// Wall letters used as neighbours, and the "nothing found" mark.
namespace SpacingNeighbour {
inline const QString Top = QStringLiteral("T");
inline const QString Left = QStringLiteral("L");
inline const QString Bottom = QStringLiteral("B");
inline const QString Right = QStringLiteral("R");
inline const QString None = QStringLiteral("-1");
}

// The results for one sensor: what the model writes into its TSensor.
struct TSensorSpacing {
    int32_t Range = 0;      // coverage distance drawn on the plan, px (the zone's L, rounded)
    int32_t Gap = 0;        // this sensor's own gap, px (the largest of its four minima)
    QString NearestSensorT; // neighbour GUID, wall letter or "-1", per direction
    QString NearestSensorL;
    QString NearestSensorB;
    QString NearestSensorR;
    QString NearestSensor;  // the neighbour that determines the gap
    long double MinT = 0, MinL = 0, MinB = 0, MinR = 0; // the four minima, m
};

struct TSpacingMeasurement {
    // False for a zone without sensors: nothing was measured and L is 0.
    bool Measured = false;
    long double L = 0;            // the design spacing in plan pixels
    int32_t CriticalIndex = -1;   // list index of the critical sensor; -1 when none
    QString CSensor;              // its GUID; empty when none
    std::vector<TSensorSpacing> Sensors; // in the order of the input list
};

// Measures the spacing of the zone's sensors (in list order) under the plan scale px
// (metres per pixel, <= 0 for no scale: 1 px counts as 1 m). Distances between sensors
// are rounded to whole pixels, then converted to metres (ScaledValue); walls count at
// twice their distance and replace a sensor only when strictly nearer; a sensor may be a
// neighbour in two directions at once; ties keep the earlier sensor in list order and the
// earlier direction in the order T, L, B, R. When no sensor has a positive gap (every
// sensor sits on a corner of a zone of no extent, say) there is no critical sensor.
// The results are exactly those of MeasureSensorSpacingDirect; the search compares exact
// squared pixel distances, skips sensors that are too far in height to matter and
// converts to metres only the few distances that decide (well under a millisecond for a
// zone of 400 sensors on a grid; quadratic at worst, when all sensors share one row).
TSpacingMeasurement MeasureSensorSpacing(const TSpacingZone& zone,
                                         const std::vector<TSpacingSensor>& sensors,
                                         long double px);

// The same measurement done the plain way: every pair's distance rounded and converted,
// every neighbour test through PointInTriangle. MeasureSensorSpacing falls back to it
// for coordinates beyond ±2^28 px, where its exact integer shortcut would not be safe.
TSpacingMeasurement MeasureSensorSpacingDirect(const TSpacingZone& zone,
                                               const std::vector<TSpacingSensor>& sensors,
                                               long double px);

// The quick recalculation of a zone's detection time after its sensors moved:
//  - nothing at all when the record has no detection-time result (CalculatedVOP false):
//    returns a null QString and leaves the record and *measurement untouched;
//  - L := manualL (m) when the record's ManualL is set (the layout is not measured and
//    CSensor is kept), otherwise L := ScaledValue(measured L in pixels), with the record's
//    CSensor set to the critical sensor's GUID (cleared when there is none) and the
//    measurement handed back through `measurement` for the caller to apply (in manual
//    mode *measurement is reset: Measured false, nothing to apply);
//  - param2 := L, then CalcCPSimple;
//  - returns the status-bar text: "При заданных условиях пожар не будет обнаружен" or
//    "Время обнаружения: " + whole seconds + " сек", followed, when the record's
//    DebugMode is set, by " (L = " + L in the general number format + ")".
// The caller shows L (now in param2) in the manual spacing field unless the call came
// from typing in that field.
QString RecalcVOP(TCalcParamsOrvann& cp, const TSpacingZone& zone,
                  const std::vector<TSpacingSensor>& sensors, long double px, long double manualL,
                  TSpacingMeasurement* measurement = nullptr);
