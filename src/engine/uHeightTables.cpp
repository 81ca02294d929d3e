// Detection time by the normative height tables: see uHeightTables.h.
#include "uHeightTables.h"

#include "uNumberText.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// Lower heights (below 9 m): greatest spacing by class. A row applies for
// lower < H ≤ upper; heights of 1 m and less use the first row.
struct TRowA {
    long double lower, upper;
    long double lmaxA2, lmaxA3;
};
constexpr TRowA TableA[] = {
    { 1, 4, 10.0L, 10.0L }, { 4, 5, 10.0L, 9.5L }, { 5, 6, 10.0L, 9.0L },
    { 6, 7, 9.8L, 8.5L },   { 7, 8, 9.5L, 8.0L },  { 8, 9, 9.0L, 7.0L },
};

// Coefficients c and b of the critical-rate formula; they depend on the height only.
// Up to 6 m b follows from c (b = −50·c); above it is a constant of its own.
struct TRowCoef {
    long double lower, upper;
    long double c, b;
};
constexpr TRowCoef TableCoef[] = {
    { 1, 2, -0.6L, 0 },    { 2, 3, -0.4L, 0 },    { 3, 4, -0.3L, 0 },    { 4, 5, -0.2L, 0 },
    { 5, 6, -0.1L, 0 },    { 6, 7, -0.03L, 1.9L }, { 7, 8, -0.03L, 1.6L }, { 8, 9, -0.03L, 1.5L },
};

// Heights of 9 m and more; exactly 9 m uses the first row.
struct TRowB {
    long double lower, upper;
    long double qminA2, lmaxA2, kA2;
    long double qminA3, lmaxA3, kA3;
};
constexpr TRowB TableB[] = {
    { 9, 10, 800, 10.0L, 3.3679L, 1200, 8.8L, 2.1875L },
    { 10, 11, 1000, 8.7L, 2.9192L, 1500, 7.5L, 1.8961L },
    { 11, 12, 1200, 7.7L, 2.562L, 1800, 6.5L, 1.6641L },
    { 12, 13, 1500, 6.7L, 2.2722L, 2200, 5.8L, 1.4758L },
    { 13, 14, 1700, 6.0L, 2.0331L, 2700, 5.7L, 1.3206L },
    { 14, 15, 2100, 5.5L, 1.8332L, 3200, 4.7L, 1.1907L },
    { 15, 16, 2400, 5.0L, 1.6641L, 3700, 4.2L, 1.0809L },
};

constexpr long double MaxTableHeight = 16;

// The row of a table for H, with the first row also taking the heights at or below its
// lower bound (1 m and less for the lower tables, exactly 9 m for the upper one).
template <typename Row, size_t N>
const Row* FindRow(const Row (&table)[N], long double h, bool firstRowTakesBelow)
{
    if (std::isnan(h))
        return nullptr;
    if (h <= table[0].lower)
        return firstRowTakesBelow ? &table[0] : nullptr;
    for (const Row& row : table)
        if (h > row.lower && h <= row.upper)
            return &row;
    return nullptr;
}

// The spacing comes from the dialog's spin edit (a 64-bit float) or a JSON number, so a
// typed 9.8 m is the double nearest 9.8, a hair above the table's extended 9.8. Compared
// as it stands, a spacing typed equal to the limit would be refused as too wide (and, at
// the lower heights, would miss the fixed critical rate of the limit). A spacing that
// equals the limit at the precision it was entered with is taken as the limit itself.
long double SpacingAgainstLimit(long double l, long double lmax)
{
    return static_cast<double>(l) == static_cast<double>(lmax) ? lmax : l;
}

bool KnownClass(int32_t cls)
{
    return cls == BOSClassA2 || cls == BOSClassA3;
}

// Ends the calculation with an outcome code. −1 and −2 are results the user acts on, so
// they mark the detection time as calculated; −3 and −4 mean no result at all.
bool Refuse(TCalcParamsOrvann& cp, long double outcome)
{
    cp.value10s = outcome;
    if (outcome == Outcome::FireTooWeak || outcome == Outcome::SpacingTooWide)
        cp.CalculatedVOP = true;
    return false;
}

// The common tail: α, then tQ from Qcr and the inertia time, then the result.
bool Finish(TCalcParamsOrvann& cp, long double qcr, long double inertiaDivisor)
{
    const long double growth = cp.value4s;
    const long double tq = RoundHalfEven(std::sqrt(qcr / growth));
    const long double tin = RoundHalfEven(cp.param12 / inertiaDivisor);
    if (!std::isfinite(tq) || !std::isfinite(tin))
        return Refuse(cp, Outcome::NotComputable);
    cp.value7s = qcr;
    cp.value8s = tq;
    cp.value9s = tin;
    cp.value10s = tq + tin;
    cp.VOPResult = cp.value10s;
    cp.CalculatedVOP = true;
    cp.CalculatedNSP = false;
    return true;
}

// Q := F · Qн · ψ · η; false when it is not a finite number.
bool SteadyRate(TCalcParamsOrvann& cp)
{
    const long double q = cp.param4 * cp.param8 * cp.param7 * cp.param5;
    if (!std::isfinite(q))
        return false;
    cp.value1s = q;
    return true;
}

// α := π · v² · η · ψ · Qн; false when the fire cannot grow (α not positive or not finite).
bool GrowthCoefficient(TCalcParamsOrvann& cp)
{
    const long double alpha = Pi * cp.param6 * cp.param6 * cp.param5 * cp.param7 * cp.param8;
    if (!std::isfinite(alpha))
        return false;
    cp.value4s = alpha;
    return alpha > 0;
}

} // namespace

bool CalcCPSimple2(TCalcParamsOrvann& cp)
{
    const long double h = cp.param1;

    if (!SteadyRate(cp))
        return Refuse(cp, Outcome::NotComputable);
    const long double qmin = 250;
    cp.value2s = qmin;
    if (cp.value1s < qmin)
        return Refuse(cp, Outcome::FireTooWeak);

    const TRowA* row = FindRow(TableA, h, true);
    const TRowCoef* coef = FindRow(TableCoef, h, true);
    if (!row || !coef || !KnownClass(cp.BOSClass))
        return Refuse(cp, Outcome::NotComputable);
    const long double lmax = cp.BOSClass == BOSClassA2 ? row->lmaxA2 : row->lmaxA3;
    cp.value3s = lmax;
    const long double l = SpacingAgainstLimit(cp.param2, lmax);
    if (l > lmax)
        return Refuse(cp, Outcome::SpacingTooWide);

    if (!GrowthCoefficient(cp))
        return Refuse(cp, Outcome::NotComputable);

    long double qcr = 2000;
    if (l != lmax) {
        // Up to 6 m the table's b is −50·c; above it is the row's own constant.
        const long double b = coef->upper <= 6 ? -50 * coef->c : coef->b;
        const long double k = b + coef->c * (cp.param11 - cp.param10);
        // A non-positive k (activation far above the initial temperature for this
        // height) or a negative spacing leave the square root without a real value.
        if (!(k > 0))
            return Refuse(cp, Outcome::NotComputable);
        const long double radicand = std::log(10 / (10 - l)) * (1 / k);
        if (!std::isfinite(radicand) || radicand < 0)
            return Refuse(cp, Outcome::NotComputable);
        qcr = 1000 * std::sqrt(radicand);
    }
    return Finish(cp, qcr, 0.894L);
}

bool CalcCPSimple3(TCalcParamsOrvann& cp)
{
    const long double h = cp.param1;

    if (!SteadyRate(cp))
        return Refuse(cp, Outcome::NotComputable);
    if (h > MaxTableHeight)
        return Refuse(cp, Outcome::HeightOver16);
    // Exactly 9 m belongs to this branch, and the nearest row is the 9 … 10 m one.
    const TRowB* row = h == TableB[0].lower ? &TableB[0] : FindRow(TableB, h, false);
    if (!row || !KnownClass(cp.BOSClass))
        return Refuse(cp, Outcome::NotComputable);
    const bool a2 = cp.BOSClass == BOSClassA2;

    const long double qmin = a2 ? row->qminA2 : row->qminA3;
    cp.value2s = qmin;
    if (cp.value1s < qmin)
        return Refuse(cp, Outcome::FireTooWeak);

    const long double lmax = a2 ? row->lmaxA2 : row->lmaxA3;
    cp.value3s = lmax;
    const long double l = SpacingAgainstLimit(cp.param2, lmax);
    if (l > lmax)
        return Refuse(cp, Outcome::SpacingTooWide);

    if (!GrowthCoefficient(cp))
        return Refuse(cp, Outcome::NotComputable);

    const long double k = a2 ? row->kA2 : row->kA3;
    cp.value5s = k;
    const long double ql = l * 1000 / k;
    cp.value6s = ql;
    const long double qcr = ql > qmin ? ql : qmin;
    return Finish(cp, qcr, 0.447L);
}

bool CalcHeightTables(TCalcParamsOrvann& cp)
{
    return cp.param1 >= HeightTablesUpperBranchFrom ? CalcCPSimple3(cp) : CalcCPSimple2(cp);
}

TCalcParamsOrvann HeightTableFigures(const TCalcParamsOrvann& cp)
{
    TCalcParamsOrvann figures = cp;
    // Cleared first: a failing path leaves the later fields as they were, and what they
    // were may be figures of the ceiling-jet model.
    for (long double* field :
        { &figures.value1s, &figures.value2s, &figures.value3s, &figures.value4s, &figures.value5s,
            &figures.value6s, &figures.value7s, &figures.value8s, &figures.value9s, &figures.value10s })
        *field = 0;
    CalcHeightTables(figures);
    return figures;
}

QString HeightTablesResultText(const TCalcParamsOrvann& cp)
{
    if (cp.value10s == Outcome::FireTooWeak)
        return HeightTablesText::FireTooWeak;
    if (cp.value10s == Outcome::SpacingTooWide)
        return HeightTablesText::SpacingTooWide;
    if (cp.value10s == Outcome::HeightOver16)
        return HeightTablesText::HeightOver16;
    if (cp.value10s == Outcome::NotComputable)
        return HeightTablesText::NotComputable;
    return HeightTablesText::DetectionTimePrefix + FormatSeconds(cp.VOPResult);
}

QStringList RecordInputDebugLines(const TCalcParamsOrvann& cp)
{
    QStringList lines;
    const long double params[] = { cp.param1,  cp.param2,  cp.param3,  cp.param4,
                                   cp.param5,  cp.param6,  cp.param7,  cp.param8,
                                   cp.param9,  cp.param10, cp.param11, cp.param12,
                                   cp.param13, cp.param14, cp.param15, cp.param16 };
    for (int i = 0; i < 16; ++i)
        lines << QStringLiteral("param%1\t").arg(i + 1) + FormatGeneral(params[i]);
    lines << QString();
    lines << QStringLiteral("value11\t") + FormatGeneral(cp.value11);
    lines << QStringLiteral("value13\t") + FormatGeneral(cp.value13);
    lines << QStringLiteral("value13calc\t") + cp.value13calc;
    lines << QStringLiteral("param06calc\t") + cp.param06calc;
    lines << QStringLiteral("param07calc\t") + cp.param07calc;
    lines << QStringLiteral("param08calc\t") + cp.param08calc;
    return lines;
}

QStringList HeightTablesDebugLines(const TCalcParamsOrvann& cp)
{
    QStringList lines = RecordInputDebugLines(cp);
    auto real = [&lines](const char* name, long double v) {
        lines << QString::fromLatin1(name) + QLatin1Char('\t') + FormatGeneral(v);
    };
    lines << QString();
    real("value1", cp.value1);
    real("value2", cp.value2);
    real("value3", cp.value3);
    real("value4", cp.value4);
    real("value5", cp.value5);
    real("value6", cp.value6);
    real("value1s", cp.value1s);
    real("value2s", cp.value2s);
    real("value3s", cp.value3s);
    real("value4s0", cp.value4s0);
    real("value4s", cp.value4s);
    real("value5s", cp.value5s);
    real("value6s", cp.value6s);
    real("value7s", cp.value7s);
    real("value8s", cp.value8s);
    real("value9s", cp.value9s);
    real("value10s", cp.value10s);
    return lines;
}
