// Zone records for the report tests, made by the engine's own calculations the way the
// calculation runs make them, and the text of a generated report as a reader sees it.
#pragma once

#include "uCeilingJet.h"
#include "uFireLoadMix.h"
#include "uHeightTables.h"
#include "uInitialStage.h"
#include "uOptimised.h"
#include "uReportDocument.h"
#include "uReports.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace ReportTest {

// Two typical fire loads with their amounts in the zone (kg/m²).
inline std::vector<TFireLoad> Loads()
{
    TFireLoad wood;
    wood.Id = 1;
    wood.ListId = 1;
    wood.Name = QStringLiteral("Древесина");
    wood.P1LowestHeat = 13800;
    wood.P2LinearFlameSpeed = 0.0108L;
    wood.P3BurnoutSpeed = 0.0145L;
    wood.PFlammableLoad = 10;
    wood.CCC = 0.9L;
    TFireLoad paper = wood;
    paper.Id = 2;
    paper.ListId = 2;
    paper.Name = QStringLiteral("Бумага, картон");
    paper.P1LowestHeat = 13000;
    paper.P2LinearFlameSpeed = 0.02L;
    paper.P3BurnoutSpeed = 0.01L;
    paper.PFlammableLoad = 5;
    paper.CCC = 0.95L;
    return { wood, paper };
}

// The inputs every dialog run copies into the record: the combined fire load of Loads(),
// its formula texts, a zone H m high with volume V, spacing L, area F.
inline TCalcParamsOrvann Inputs(long double h, long double l, long double v = 500, long double f = 20)
{
    TCalcParamsOrvann cp;
    const std::vector<TFireLoad> loads = Loads();
    const TFireLoadMix mix = CalcFireLoad(loads, DefaultFireLoadMixRules(), h, v);
    cp.param1 = h;
    cp.param2 = l;
    cp.param3 = v;
    cp.param4 = f;
    cp.param5 = mix.FireLoadFinal.CCC;
    cp.param6 = mix.FireLoadFinal.P2LinearFlameSpeed;
    cp.param7 = mix.FireLoadFinal.P3BurnoutSpeed;
    cp.param8 = mix.FireLoadFinal.P1LowestHeat;
    cp.param9 = mix.FireLoadFinal.PFlammableLoad;
    cp.param10 = 293;
    cp.param11 = 333;
    cp.param12 = 50;
    cp.param13 = 2;
    cp.param14 = 3;
    cp.param15 = 30;
    cp.param16 = 0.01L;
    cp.value13 = mix.value13;
    cp.value13calc = mix.value13calc;
    cp.param06calc = mix.FLFinal_param06calc;
    cp.param07calc = mix.FLFinal_param07calc;
    cp.param08calc = mix.FLFinal_param08calc;
    cp.FireLoads = loads;
    QStringList names;
    for (const TFireLoad& load : loads)
        names << load.Name;
    cp.FLNames = names.join(QStringLiteral(", "));
    return cp;
}

// The standard run's record (class A2 or A3) after a ceiling-jet recalculation gave value2.
inline TCalcParamsOrvann Standard(long double h, long double l, int32_t cls, int32_t method = 1)
{
    TCalcParamsOrvann cp = Inputs(h, l);
    cp.method = method;
    cp.BOSClass = cls;
    cp.param11 = cp.param10 + (cls == BOSClassA2 ? 30 : 40);
    CalcCPSimple(cp);
    CalcHeightTables(cp);
    return cp;
}

// The optimised run's record. Methods 3 and 4 never respond at the critical area (the run
// ends with TimeResult −1); their report is reachable after an earlier detection time.
inline TCalcParamsOrvann Optimised(long double h, long double l, int32_t method)
{
    TCalcParamsOrvann cp = Inputs(h, l);
    cp.BOSClass = BOSClassA3;
    CalcHeightTables(cp);
    cp.method = method;
    CalcCP(cp);
    return cp;
}

inline TCalcParamsOrvann InitialStage(long double volume, long double minutes = 10)
{
    TCalcParamsOrvann cp = Inputs(4, 3, volume);
    cp.value11 = minutes;
    EXPECT_EQ(CalcInitialStageDuration(cp), TInitialStageStatus::Ok);
    return cp;
}

inline TCalcParamsOrvann FireLoad()
{
    TCalcParamsOrvann cp = Inputs(4, 3);
    cp.CalculatedFL = true;
    return cp;
}

// What a reader of a saved report sees: the main text and the page headers and footers.
struct TReportText {
    QStringList Body, Margins;
    QString All() const { return (Body + Margins).join(QLatin1Char('\n')); }
    bool Has(const QString& text) const { return All().contains(text); }
};

inline TReportText ReadReport(const QString& fileName)
{
    TReportDocument doc;
    QString error;
    EXPECT_TRUE(doc.Open(fileName, &error)) << error.toStdString();
    return { doc.Paragraphs(), doc.HeaderFooterParagraphs() };
}

} // namespace ReportTest
