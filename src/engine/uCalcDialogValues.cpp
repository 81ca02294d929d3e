// The calculation dialog's accepted values: see uCalcDialogValues.h.
#include "uCalcDialogValues.h"

#include <QStringList>

QString TCalcDialogValues::FLNames() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(FireLoads.size()));
    for (const TFireLoad& load : FireLoads)
        names << load.Name;
    return names.join(QStringLiteral(", "));
}

void SetFireLoadMix(TCalcDialogValues& values, const TFireLoadMix& mix)
{
    if (!mix.Computed)
        return;
    values.FireLoadFinal = mix.FireLoadFinal;
    values.value13 = mix.value13;
    values.value13calc = mix.value13calc;
    values.FLFinal_param06calc = mix.FLFinal_param06calc;
    values.FLFinal_param07calc = mix.FLFinal_param07calc;
    values.FLFinal_param08calc = mix.FLFinal_param08calc;
    values.ZeroTotal = mix.ZeroTotal;
}

QString CalcDialogStartRefusal(const TCalcDialogValues& values, bool initialStagePageShown)
{
    if (values.FireLoads.empty())
        return CalcDialogText::NoFireLoads;
    if (values.ZeroTotal)
        return FireLoadMixText::ZeroTotal;
    if (initialStagePageShown && !(values.seValue11 > 0))
        return CalcDialogText::NoNSPDuration;
    return QString();
}
