// The verdict per zone and the project summary's row: see uZoneVerdict.h.
#include "uZoneVerdict.h"

#include "uNumberText.h"

namespace {

const QString Unknown = QStringLiteral("—");

QString Number(const std::optional<long double>& value) { return value ? FormatGeneral(*value) : Unknown; }

QString Seconds(const std::optional<long double>& value)
{
    return value ? QString::number(RoundToInt64(*value)) : Unknown;
}

} // namespace

TZoneVerdict ZoneVerdict(const TZoneRuns& runs)
{
    return ZoneVerdict(runs, runs.VOP ? DetectionTime(*runs.VOP) : std::nullopt);
}

TZoneVerdict ZoneVerdict(const TZoneRuns& runs, const std::optional<long double>& detection)
{
    TZoneVerdict v;
    if (!detection || !runs.NSP) {
        if (runs.VOP && !detection)
            v.Text = runs.NSP ? ZoneVerdictText::NoDetectionTime : ZoneVerdictText::NoDetectionTimeNeedNSP;
        else if (!runs.VOP)
            v.Text = runs.NSP ? ZoneVerdictText::NeedVOP : ZoneVerdictText::NeedBoth;
        else
            v.Text = ZoneVerdictText::NeedNSP;
        return v;
    }
    // The whole seconds the user sees. Rounding never reverses an order, so a margin above
    // 0 means the unrounded detection time lies below the duration too.
    const int64_t margin = RoundToInt64(runs.NSP->Outcome) - RoundToInt64(*detection);
    v.Margin = margin;
    if (margin > 0) {
        v.Kind = TVerdictKind::InTime;
        v.Colour = TVerdictColour::Green;
        v.Text = ZoneVerdictText::InTime.arg(margin);
    } else {
        v.Kind = TVerdictKind::Late;
        v.Colour = TVerdictColour::Red;
        v.Text = margin == 0 ? ZoneVerdictText::Equal : ZoneVerdictText::Late.arg(-margin);
    }
    return v;
}

QString VerdictName(TVerdictKind kind)
{
    switch (kind) {
    case TVerdictKind::InTime:
        return QStringLiteral("in-time");
    case TVerdictKind::Late:
        return QStringLiteral("late");
    case TVerdictKind::Incomplete:
        break;
    }
    return QStringLiteral("incomplete");
}

QStringList SummaryColumnHeads()
{
    return {
        QStringLiteral("Помещение"),
        QStringLiteral("Высота, м"),
        QStringLiteral("Площадь, м²"),
        QStringLiteral("Объем, м³"),
        QStringLiteral("Датчиков"),
        QStringLiteral("L, м"),
        QStringLiteral("ВОП, сек"),
        QStringLiteral("НСП, сек"),
        QStringLiteral("Приведенная ГН, кг/м²"),
        QStringLiteral("Итог"),
        QStringLiteral("Требуется пересчет"),
    };
}

QStringList SummaryRowTexts(const TZoneSummaryRow& row)
{
    return {
        row.Name,
        FormatGeneral(row.Height),
        FormatGeneral(row.Area),
        FormatGeneral(row.Volume),
        QString::number(row.Sensors),
        Number(row.L),
        Seconds(row.VOP),
        Seconds(row.NSP),
        row.value13 ? FormatGeneral(RoundTo(*row.value13, 2)) : Unknown,
        row.Verdict.Text,
        row.Stale ? QStringLiteral("да") : QStringLiteral("нет"),
    };
}
