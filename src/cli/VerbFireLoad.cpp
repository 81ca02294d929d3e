// tesvorn-cli fireload: the fire-load combination of the calculation dialog.
//
//   tesvorn-cli fireload < mix.json
//
// mix.json: {"loads": [{"Name", "P1LowestHeat", "P2LinearFlameSpeed", "P3BurnoutSpeed",
// "P4SmokeFormingAbility", "P5OxygenConsumption", "P6AllocationCO2", "P6AllocationCO",
// "P6AllocationHCl", "PFlammableLoad", "CCC"}, …], "height": h, "volume": V}, where
// PFlammableLoad is the amount of that material in the zone (kg/m²), h the zone height
// (m) and V its volume (m³). Name may be left out; every number is required. The
// combination rules are the dialog's: the maximum flame speed, the averages elsewhere.
// Output: {"FireLoadFinal": {the ten properties}, "value13", "value13calc",
// "FLFinal_param06calc", "FLFinal_param07calc", "FLFinal_param08calc",
// "recommendedMinutes" (-1 when the chart has no value), "warning" (empty when none)}.
// Formula texts use the locale's decimal separator. Exit 2 with one line on stderr for
// bad input: not an object, a missing or mistyped field, an unknown key, an empty list,
// and a list whose amounts add up to 0 (the dialog's own refusal text).
#include "uCliCommon.h"

#include "uCalcRecordJson.h"
#include "uFireLoadMix.h"

namespace {

TFireLoad ReadLoad(const QJsonValue& value, int index)
{
    TFireLoad f;
    QString error;
    if (!FireLoadFromJson(value, QStringLiteral("loads[%1]").arg(index), false, &f, &error))
        throw ECliError(error);
    f.ListId = index;
    return f;
}

int FireLoadVerb(const QStringList& args)
{
    if (!args.isEmpty())
        throw ECliError(QStringLiteral("usage: tesvorn-cli fireload < mix.json"));
    const QJsonObject in = ReadStdinObject();
    for (auto it = in.begin(); it != in.end(); ++it)
        if (it.key() != QLatin1String("loads") && it.key() != QLatin1String("height")
            && it.key() != QLatin1String("volume"))
            throw ECliError(QStringLiteral("unknown key \"%1\"").arg(it.key()));
    if (!in["loads"].isArray())
        throw ECliError(QStringLiteral("field \"loads\" must be an array of fire loads"));
    const QJsonArray list = in["loads"].toArray();
    if (list.isEmpty())
        throw ECliError(QStringLiteral("field \"loads\" holds no fire load"));
    std::vector<TFireLoad> loads;
    for (int i = 0; i < list.size(); ++i)
        loads.push_back(ReadLoad(list[i], i));
    const long double h = RealFromJson(in["height"], "height");
    const long double V = RealFromJson(in["volume"], "volume");

    const TFireLoadMix mix = CalcFireLoad(loads, DefaultFireLoadMixRules(), h, V);
    if (mix.ZeroTotal)
        throw ECliError(FireLoadMixText::ZeroTotal);

    QJsonObject final;
    for (int p = 0; p < FireLoadPropertyCount; ++p)
        final[FireLoadPropertyKeys()[p]] = JsonReal(FireLoadProperty(mix.FireLoadFinal, p));
    QJsonObject out;
    out["FireLoadFinal"] = final;
    out["value13"] = JsonReal(mix.value13);
    out["value13calc"] = mix.value13calc;
    out["FLFinal_param06calc"] = mix.FLFinal_param06calc;
    out["FLFinal_param07calc"] = mix.FLFinal_param07calc;
    out["FLFinal_param08calc"] = mix.FLFinal_param08calc;
    out["recommendedMinutes"] = mix.Recommendation.Minutes;
    out["warning"] = mix.Recommendation.Warning;
    PrintJson(out);
    return 0;
}

TCliVerbRegistration reg("fireload", "< mix.json", FireLoadVerb);

} // namespace
