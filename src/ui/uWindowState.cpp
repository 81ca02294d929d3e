// Capture and restoration of the main window's selection, panels, sensor number and
// indicators.
#include "uWindowState.h"

#include "uCalcCommands.h"
#include "uFireClasses.h"
#include "uMain.h"

#if !defined(TESVORN_NO_PLAN_EDITOR)
#include "uPlanEditor.h"
#endif

#include <QGroupBox>
#include <QWidget>

TWindowState CaptureWindowState(const TfrmMain& main)
{
    TWindowState st;
    st.SensorNumber = main.SensorNumber;
    if (main.CalcCommands)
        st.Indicators = main.CalcCommands->Indicators;
    if (!main.FP)
        return st;
    const auto& rooms = main.FP->Rooms;
    for (size_t i = 0; i < rooms.size(); ++i) {
        const TRoom* room = rooms[i].get();
        if (room == main.CurrentRoom)
            st.CurrentZone = int32_t(i);
        if (room->Selected)
            st.SelectedZones.push_back(int32_t(i));
        if (main.CurrentSensor && st.SensorZone < 0) {
            for (size_t k = 0; k < room->Sensors.size(); ++k)
                if (room->Sensors[k].get() == main.CurrentSensor) {
                    st.SensorZone = int32_t(i);
                    st.SensorIndex = int32_t(k);
                    break;
                }
        }
    }
    if (main.pnlProperties->isVisible()) {
        if (main.pnlSensorParams->isVisible())
            st.Panel = TWindowState::TPanel::Sensor;
        else if (main.pnlRoomParams->isVisible())
            st.Panel = TWindowState::TPanel::Zone;
    }
    return st;
}

void ApplyWindowState(TfrmMain& main, const TWindowState& st)
{
    main.SensorNumber = st.SensorNumber;
    if (main.CalcCommands) {
        main.CalcCommands->Indicators = st.Indicators;
        main.CalcCommands->ShowIndicators();
    }
    main.CurrentRoom = nullptr;
    main.CurrentRoomID = -1;
    main.CurrentSensor = nullptr;
#if !defined(TESVORN_NO_PLAN_EDITOR)
    if (main.PlanEditor)
        main.PlanEditor->EndDrag();
#endif
    if (!main.FP) {
        main.ShowPanel(nullptr);
        main.Repaint();
        return;
    }
    auto& rooms = main.FP->Rooms;
    auto zoneAt = [&](int32_t place) -> TRoom* {
        return place >= 0 && size_t(place) < rooms.size() ? rooms[size_t(place)].get() : nullptr;
    };
    // Every flag of the view goes back: a sensor left selected would draw its distances.
    for (auto& room : rooms) {
        room->Selected = false;
        for (auto& s : room->Sensors)
            if (s->Selected())
                s->SetSelected(false);
    }
    for (const int32_t place : st.SelectedZones)
        if (TRoom* room = zoneAt(place))
            room->Selected = true;
    main.CurrentRoom = zoneAt(st.CurrentZone);
    if (TRoom* room = zoneAt(st.SensorZone))
        if (st.SensorIndex >= 0 && size_t(st.SensorIndex) < room->Sensors.size()) {
            main.CurrentSensor = room->Sensors[size_t(st.SensorIndex)].get();
            main.CurrentSensor->SetSelected(true);
        }

    QWidget* panel = nullptr;
    if (st.Panel == TWindowState::TPanel::Sensor && main.CurrentSensor)
        panel = main.pnlSensorParams;
    else if (st.Panel == TWindowState::TPanel::Zone && main.CurrentRoom)
        panel = main.pnlRoomParams;
    main.ShowPanel(panel);
#if !defined(TESVORN_NO_PLAN_EDITOR)
    if (main.PlanEditor) {
        main.PlanEditor->ShowSpacingMode(main.CurrentRoom);
        if (panel == main.pnlRoomParams)
            main.PlanEditor->ReadCurrentRoomParams();
        else if (panel == main.pnlSensorParams)
            main.PlanEditor->ReadCurrentSensorParams();
    }
#endif
    main.Repaint();
}
