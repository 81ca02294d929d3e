// The invariants the model must keep after any edit made through the main window, shared
// by the tests that drive the window through long sessions of edits (damaged files, undo
// and redo). Each check fails the running test with a fatal failure naming `where`.
#pragma once

#include "uFireClasses.h"
#include "uMain.h"
#include "uNumberText.h"
#include "uRoomSpacing.h"

#include <QCoreApplication>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace ModelInvariants {

// A setting of a long session (its seed, its length) from --NAME=VALUE on the command line
// or from the environment variable ENV.
inline uint32_t SessionSetting(const char* name, const char* env, uint32_t fallback)
{
    const QString prefix = QStringLiteral("--%1=").arg(QLatin1String(name));
    for (const QString& arg : QCoreApplication::arguments())
        if (arg.startsWith(prefix))
            return arg.mid(prefix.size()).toUInt();
    bool ok = false;
    const uint32_t value = qEnvironmentVariable(env).toUInt(&ok);
    return ok ? value : fallback;
}

inline bool SameReal(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// What holds for any project the window has edited, a damaged one included: coordinates
// and sizes within the plan limits, the zone counter never behind a zone's number, each
// zone's volume in step with its extent, height and the scale, the door counters per wall
// matching the doors, and the window's current zone and sensor being live ones.
inline void CheckProject(const TfrmMain& win, const std::string& where)
{
    const TFireProject& p = *win.FP;
    const auto& rooms = p.GetRooms();
    bool currentRoomLives = win.CurrentRoom == nullptr, currentSensorLives = win.CurrentSensor == nullptr;
    for (const auto& room : rooms) {
        const TRect r = room->Rect();
        currentRoomLives = currentRoomLives || room.get() == win.CurrentRoom;
        ASSERT_TRUE(RectWithinPlanLimits(r.Left, r.Top, r.Right, r.Bottom)) << where;
        ASSERT_TRUE(WithinPlanLimits(room->H())) << where;
        ASSERT_GE(p.RoomsNum, room->ID()) << where << ": a zone number could be issued twice";
        const long double v = RoundHalfEven(p.ScaledValue(int64_t(r.Right) - r.Left)
                                  * p.ScaledValue(int64_t(r.Bottom) - r.Top) * p.ScaledValue(room->H()) * 100)
            / 100;
        ASSERT_TRUE(SameReal(room->V(), v)) << where << ": volume out of step";
        int32_t perWall[5] = {};
        for (const auto& d : room->GetDoors()) {
            ++perWall[static_cast<int>(d->Wall())];
            ASSERT_TRUE(WithinPlanLimits(d->StartPos()) && WithinPlanLimits(d->Width())
                && WithinPlanLimits(d->Height()))
                << where;
        }
        ASSERT_EQ(room->DoorsLeftCount, perWall[1]) << where;
        ASSERT_EQ(room->DoorsRightCount, perWall[2]) << where;
        ASSERT_EQ(room->DoorsTopCount, perWall[3]) << where;
        ASSERT_EQ(room->DoorsBottomCount, perWall[4]) << where;
        for (const auto& s : room->GetSensors()) {
            currentSensorLives = currentSensorLives || s.get() == win.CurrentSensor;
            const TPoint a = s->AbsolutePos();
            ASSERT_TRUE(WithinPlanLimits(a.X) && WithinPlanLimits(a.Y)) << where;
        }
    }
    ASSERT_TRUE(currentRoomLives) << where << ": the current zone is gone";
    ASSERT_TRUE(currentSensorLives) << where << ": the current sensor is gone";
    for (const auto& w : p.WaterSources())
        ASSERT_TRUE(WithinPlanLimits(w->X()) && WithinPlanLimits(w->Y())) << where;
}

// What holds besides for a project that was sound to begin with: zones of positive size
// that never touch, every sensor inside its zone, and no zone number, sensor or door
// identity held twice.
inline void CheckSoundProject(const TfrmMain& win, const std::string& where)
{
    CheckProject(win, where);
    if (::testing::Test::HasFatalFailure())
        return;
    const auto& rooms = win.FP->GetRooms();
    std::set<int32_t> ids;
    std::set<QString> guids;
    for (size_t i = 0; i < rooms.size(); ++i) {
        const TRect a = rooms[i]->Rect();
        ASSERT_LT(a.Left, a.Right) << where;
        ASSERT_LT(a.Top, a.Bottom) << where;
        ASSERT_TRUE(ids.insert(rooms[i]->ID()).second)
            << where << ": zone number " << rooms[i]->ID() << " twice";
        for (size_t j = i + 1; j < rooms.size(); ++j)
            ASSERT_FALSE(RectsCollide(a, rooms[j]->Rect()))
                << where << ": zones " << i << " and " << j << " touch";
        for (const auto& s : rooms[i]->GetSensors()) {
            const TPoint p = s->AbsolutePos();
            ASSERT_TRUE(p.X >= a.Left && p.X <= a.Right && p.Y >= a.Top && p.Y <= a.Bottom)
                << where << ": sensor " << s->Name().toStdString() << " outside its zone";
            ASSERT_TRUE(guids.insert(s->GUID()).second) << where << ": a sensor identity twice";
        }
        for (const auto& d : rooms[i]->GetDoors())
            ASSERT_TRUE(guids.insert(d->GUID()).second) << where << ": a door identity twice";
    }
}

} // namespace ModelInvariants
