// tesvorn-cli chart: writes one of the two design charts of the initial fire stage's
// duration into a PNG file, the picture the calculation dialog shows, optionally with a
// zone's own point marked.
//
//   tesvorn-cli chart small|large OUT.png [--volume V --height H --load Q] [--size WxH]
//
// small is the chart for volumes up to 3000 m³, large the one for larger volumes. The
// zone is the volume (m³), the height (m) and the reduced fire load (kg/m²): all three or
// none; numbers take a comma or a full stop as the decimal separator. The size defaults
// to print size, 1600x1100. Prints {"file", "width", "height", "marked"}; "marked" says
// whether the chart has a value for the zone. Bad usage exits 2, a file that cannot be
// written 1.
#include "uCliCommon.h"

#include "uDesignCharts.h"
#include "uNumberText.h"

#include <QImage>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace {

constexpr int MaxSide = 10000;

long double ZoneNumber(const QString& option, const QString& text)
{
    long double value = 0;
    if (!TryParseNumberAnySeparator(text, &value) || !std::isfinite(value))
        throw ECliError(option + QStringLiteral(" needs a number, got \"") + text + QStringLiteral("\""));
    return value;
}

QSize ParseSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const QRegularExpressionMatch m = form.match(text);
    const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (w < 1 || h < 1 || w > MaxSide || h > MaxSide)
        throw ECliError(
            QStringLiteral("--size must be WxH with whole numbers from 1 to %1, got \"").arg(MaxSide) + text
            + QStringLiteral("\""));
    return QSize(w, h);
}

int ChartVerb(const QStringList& args)
{
    QStringList positional;
    std::optional<long double> volume, height, load;
    QSize size(1600, 1100);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
            continue;
        }
        if (a != QLatin1String("--volume") && a != QLatin1String("--height") && a != QLatin1String("--load")
            && a != QLatin1String("--size"))
            throw ECliError(QStringLiteral("unknown option: ") + a);
        if (i + 1 >= args.size())
            throw ECliError(a + QStringLiteral(" needs a value"));
        const QString& value = args[++i];
        if (a == QLatin1String("--size"))
            size = ParseSize(value);
        else if (a == QLatin1String("--volume"))
            volume = ZoneNumber(a, value);
        else if (a == QLatin1String("--height"))
            height = ZoneNumber(a, value);
        else
            load = ZoneNumber(a, value);
    }
    if (positional.size() != 2)
        throw ECliError(QStringLiteral("expected the chart (small or large) and OUT.png"));
    TDesignChart chart;
    if (positional[0] == QLatin1String("small"))
        chart = TDesignChart::SmallVolume;
    else if (positional[0] == QLatin1String("large"))
        chart = TDesignChart::LargeVolume;
    else
        throw ECliError(
            QStringLiteral("unknown chart: ") + positional[0] + QStringLiteral(" (small or large)"));

    std::optional<TDesignChartZone> zone;
    const int given = int(volume.has_value()) + int(height.has_value()) + int(load.has_value());
    if (given != 0 && given != 3)
        throw ECliError(QStringLiteral("--volume, --height and --load go together: give all three or none"));
    if (given == 3) {
        // A zone has a volume and a height; these come from a script, not from a zone, so
        // say so rather than draw a chart that silently marks nothing.
        if (*volume <= 0 || *height <= 0 || *load < 0)
            throw ECliError(QStringLiteral("--volume and --height must be above 0 and --load not below 0"));
        zone = TDesignChartZone { *volume, *height, *load };
    }

    const QImage picture = DesignChartImage(chart, size, zone);
    if (picture.isNull() || !picture.save(positional[1], "PNG"))
        throw ECliError(QStringLiteral("cannot write ") + positional[1], 1);

    QJsonObject out;
    out["file"] = positional[1];
    out["width"] = picture.width();
    out["height"] = picture.height();
    out["marked"] = zone.has_value() && DesignChartZonePoint(chart, *zone).has_value();
    PrintJson(out);
    return 0;
}

TCliVerbRegistration reg("chart",
    "small|large OUT.png [--volume V --height H --load Q] [--size WxH] "
    "(m³, m, kg/m²; a comma or a full stop as decimal separator; size 1600x1100 by default)",
    ChartVerb);

} // namespace
