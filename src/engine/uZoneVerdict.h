// The verdict per zone and the row of the project summary. The question a designer answers
// for every zone is whether the fire is detected before its initial stage ends: the
// verdict compares the detection time of the zone's last ВОП run with the duration of its
// last НСП run, or says which run is still needed. The summary row gathers what the
// summary table, the project report and `tesvorn-cli project summary` show of one zone.
// Plain values only: the model fills them from a zone, the window and the reports show them.
#pragma once

#include "uZoneRuns.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

enum class TVerdictKind : int32_t {
    Incomplete, // a detection time or an initial-stage duration is missing
    InTime, // detected before the initial stage ends
    Late, // detected when the initial stage has ended, or later
};

// Green RGB (0, 128, 0) for a fire detected in time, red RGB (255, 0, 0) for a late one;
// Default is the panel's own text colour.
enum class TVerdictColour : int32_t { Default, Green, Red };

// Texts of the verdict and of a stale result.
namespace ZoneVerdictText {
inline const QString InTime = QStringLiteral("Пожар обнаруживается до окончания НСП, запас %1 сек");
inline const QString Late = QStringLiteral("Время обнаружения превышает НСП на %1 сек");
// Equal times: the fire is not detected before the initial stage ends.
inline const QString Equal = QStringLiteral(
    "Время обнаружения равно продолжительности НСП: пожар не обнаруживается до ее окончания");
inline const QString NeedBoth = QStringLiteral("Для итога по зоне нужны расчеты ВОП и НСП");
inline const QString NeedVOP = QStringLiteral("Для итога по зоне нужен расчет ВОП");
inline const QString NeedNSP = QStringLiteral("Для итога по зоне нужен расчет НСП");
// The last ВОП run ended without a detection time (not detected, or an outcome code).
inline const QString NoDetectionTime
    = QStringLiteral("Последний расчет ВОП не дал времени обнаружения: для итога нужен новый расчет ВОП");
inline const QString NoDetectionTimeNeedNSP = QStringLiteral(
    "Последний расчет ВОП не дал времени обнаружения: для итога нужны новый расчет ВОП и расчет НСП");
inline const QString Stale = QStringLiteral("Зона изменена после расчета — требуется пересчет");
// The report commands' question before a report of a stale result (Yes/No).
inline const QString StaleReportQuestion = QStringLiteral(
    "Зона изменена после расчета — требуется пересчет. Создать отчет по результатам прежнего расчета?");
}

struct TZoneVerdict {
    TVerdictKind Kind = TVerdictKind::Incomplete;
    // Whole seconds: Round(НСП) − Round(detection time), the difference of the two times
    // as the result panel shows them; positive in time, 0 or below late. Set unless
    // Incomplete.
    std::optional<int64_t> Margin;
    QString Text;
    TVerdictColour Colour = TVerdictColour::Default;
};

// The verdict from the zone's last runs. Both times are compared as the whole seconds the
// user sees (ties to even), so "in time" is never said of a detection time that is not
// below the duration; equal whole seconds are late, worded ZoneVerdictText::Equal.
// Without a detection time (no ВОП run, or one that gave none, see DetectionTime) or
// without an НСП run, Incomplete with the text naming the run still needed.
TZoneVerdict ZoneVerdict(const TZoneRuns& runs);
// The same with the detection time given: `detection` stands for the ВОП run's own time
// (nothing when the zone has no detection time).
TZoneVerdict ZoneVerdict(const TZoneRuns& runs, const std::optional<long double>& detection);

// "in-time", "late" or "incomplete": the verdict's name in tesvorn-cli's output.
QString VerdictName(TVerdictKind kind);

// One zone of the project summary. Optional values are unknown until a run gives them.
struct TZoneSummaryRow {
    int32_t ID = 0;
    QString Name;
    long double Height = 0; // m
    long double Area = 0; // m², rounded to 0.01 like the volume
    long double Volume = 0; // m³
    int32_t Sensors = 0;
    std::optional<long double> L; // m: the spacing of the last ВОП run
    std::optional<long double> VOP; // s: the detection time of the last ВОП run
    std::optional<long double> NSP; // s: the duration of the last НСП run
    std::optional<long double> value13; // kg/m²: the reduced fire load of the last НСП or ГН run
    TZoneVerdict Verdict;
    bool Stale = false; // the zone changed after one of its runs
};

// Column heads of the summary table, in the order of SummaryRowTexts.
QStringList SummaryColumnHeads();

// The row's cells as the table and the report show them: the name; height, area, volume,
// L and the reduced fire load in the general number format (the reduced load to 2
// decimals); the sensor count; ВОП and НСП in whole seconds; the verdict's text; "да" or
// "нет" for a stale zone. An unknown value is "—".
QStringList SummaryRowTexts(const TZoneSummaryRow& row);
