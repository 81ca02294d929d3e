// The calculation dialog's default typical load ("Мебель" of the shipped reference data),
// added with the dialog's default amount of 10 kg/m²: the load the model tests run with.
#pragma once

#include "uCalcRecord.h"

inline TFireLoad DialogDefaultLoad()
{
    TFireLoad f;
    f.Id = 7;
    f.ListId = 1;
    f.Name = QStringLiteral("Мебель");
    f.P1LowestHeat = 13000;
    f.P2LinearFlameSpeed = 0.0108L;
    f.P3BurnoutSpeed = 0.0145L;
    f.P4SmokeFormingAbility = 270;
    f.P5OxygenConsumption = -1.03L;
    f.P6AllocationCO2 = 0.203L;
    f.P6AllocationCO = 0.0022L;
    f.P6AllocationHCl = 0.014L;
    f.PFlammableLoad = 10;
    f.CCC = 0.97L;
    return f;
}
