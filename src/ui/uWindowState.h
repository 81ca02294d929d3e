// What the main window shows of the project besides the project itself: the current zone
// and the selected zones, the current sensor, the property panel shown, the running sensor
// number and the result indicators. An undone or redone edit brings this back as it was
// before or after the edit, together with the project (uUndoCommands.h).
#pragma once

#include "uCalcRuns.h"

#include <cstdint>
#include <vector>

class TfrmMain;

// Zones and sensors are held by their places in the project's lists, which a restored
// project has again exactly as they were (pointers do not survive a restore).
struct TWindowState {
    enum class TPanel : int32_t { None, Zone, Sensor };

    int32_t CurrentZone = -1; // place of the current zone; -1: none
    std::vector<int32_t> SelectedZones; // places of the selected zones, in order
    int32_t SensorZone = -1; // place of the current sensor's zone; -1: no current sensor
    int32_t SensorIndex = -1; // its place in that zone's list
    TPanel Panel = TPanel::None;
    int32_t SensorNumber = 0;
    TCalcIndicators Indicators;

    bool operator==(const TWindowState&) const = default;
};

// The window's state now. Without a project: the default state with the sensor number
// and indicators.
TWindowState CaptureWindowState(const TfrmMain& main);

// Puts `state` back into the window, whose project has just been restored to go with it:
// current zone and sensor, selection flags, the spacing mode of the current zone (without
// recalculating anything), the panel shown and filled, the indicators; then repaints,
// which rewrites the result panel and the summary. Places that no longer exist are taken
// as none. Any drag of the plan editor ends.
void ApplyWindowState(TfrmMain& main, const TWindowState& state);
