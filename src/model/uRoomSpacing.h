// The sensor spacing of a zone applied to the model: measures the zone's sensors with the
// engine (uSpacing.h) under the project's scale, writes every sensor's coverage distance
// and neighbours and the zone's critical sensor, and runs the quick recalculation of the
// detection time that the plan editor starts after a sensor moves or is deleted.
#pragma once

#include "uSpacing.h"

#include <QString>

class TRoom;

// The zone's rectangle and its sensors (GUIDs, positions relative to the zone) in list
// order, as the engine measures them.
TSpacingZone SpacingZoneOf(const TRoom& room);
std::vector<TSpacingSensor> SpacingSensorsOf(const TRoom& room);

// The scale the zone is measured under: its project's px, or "no scale" without a project.
long double PlanScaleOf(const TRoom& room);

// Writes a measurement of this zone's sensors (taken from SpacingSensorsOf, so in list
// order) into the sensors: Range, NearestSensorT/L/B/R, NearestSensor; and its critical
// sensor's GUID into CP.CSensor (empty when there is none). A measurement that was not
// taken (no sensors) only clears CP.CSensor. Does not mark the project modified.
void ApplySensorSpacing(TRoom& room, const TSpacingMeasurement& measurement);

// Measures the zone's spacing and applies it (see ApplySensorSpacing). Returns L in plan
// pixels: 0 for no zone or a zone without sensors.
long double GetNearSensorsMaxRange(TRoom* room);

// The quick recalculation of the zone (engine RecalcVOP) with the results applied to its
// sensors. manualL (m) is the manual spacing field, used when CP.ManualL is set. Returns
// the status-bar text, or a null QString when there is no zone or it has no
// detection-time result (then nothing has changed). CP.param2 holds the L used.
QString RecalcVOP(TRoom* room, long double manualL);
