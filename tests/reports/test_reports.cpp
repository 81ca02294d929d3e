// Tests of the four reports on the shipped templates, for records made by the engine's
// calculations: every placeholder replaced, the blocks kept that the method, class,
// height and field call for, the result tables, the progress figures, and the failures.
#include "DocxTestFiles.h"
#include "ReportTestRecords.h"

#include "uNumberText.h"
#include "uReportNumbers.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <unistd.h>

using namespace ReportTest;

namespace {

const QStringList ShippedTemplates { QStringLiteral(TESVORN_TEMPLATES_DIR) };
const QString Zone = QStringLiteral("Склад №3");

TReportOptions Shipped()
{
    TReportOptions options;
    options.TemplateFolders = ShippedTemplates;
    return options;
}

// Writes the report and reads it back; fails the test when the report fails.
TReportText Generate(TReportKind kind, TCalcParamsOrvann& cp, const QString& zone = Zone)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("отчет.docx"));
    const TReportResult result = MakeReport(kind, zone, cp, file, Shipped());
    EXPECT_TRUE(result.Ok()) << result.Message.toStdString();
    return result.Ok() ? ReadReport(file) : TReportText {};
}

// Nothing of the template's machinery shows in a finished report.
void ExpectFinished(const TReportText& text)
{
    EXPECT_FALSE(text.All().contains(QLatin1Char('$'))) << text.All().toStdString();
    EXPECT_FALSE(text.All().contains(QStringLiteral("<var"))) << text.All().toStdString();
    EXPECT_FALSE(text.All().contains(QStringLiteral("var0")));
    EXPECT_TRUE(text.Has(QStringLiteral("«") + Zone + QStringLiteral("»"))); // the page header
}

// A sentence of each method block and group of the detection-time templates.
const std::map<QString, QString> BlockText {
    { QStringLiteral("0"), QStringLiteral("Число направлений распространения горения") },
    { QStringLiteral("01"), QStringLiteral("Время стабилизации горения жидкости") },
    { QStringLiteral("02"), QStringLiteral("Вертикальная скорость распространения пламени") },
    { QStringLiteral("3"), QStringLiteral("Круговое развитие пожара по твердым горючим материалам") },
    { QStringLiteral("4"), QStringLiteral("Прямоугольное развитие пожара по твердым горючим материалам") },
    { QStringLiteral("5"), QStringLiteral("Горение жидкости в установившемся режиме:") },
    { QStringLiteral("6"), QStringLiteral("Горение жидкости в неустановившемся режиме:") },
    { QStringLiteral("7"), QStringLiteral("Вертикальное распространение горения в виде прямоугольника:") },
    { QStringLiteral("05"), QStringLiteral("Параметры закона роста площади:") },
};

void ExpectBlocks(const TReportText& text, const QStringList& kept)
{
    for (const auto& [id, sentence] : BlockText)
        EXPECT_EQ(text.Has(sentence), kept.contains(id)) << "block " << id.toStdString();
}

// The first table of a saved report: rows of cell texts.
QList<QStringList> FirstTable(const QString& file)
{
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    pugi::xml_document doc;
    EXPECT_TRUE(DocxTest::LoadPart(f.readAll(), QStringLiteral("word/document.xml"), doc));
    QList<QStringList> rows;
    for (pugi::xml_node tr : doc.child("w:document").child("w:body").child("w:tbl").children("w:tr")) {
        QStringList cells;
        for (pugi::xml_node tc : tr.children("w:tc")) {
            QString text;
            for (pugi::xml_node r : tc.child("w:p").children("w:r"))
                text += QString::fromUtf8(r.child("w:t").text().get());
            cells << text;
        }
        rows << cells;
    }
    return rows;
}

} // namespace

// Detection time with optimisation.

TEST(ReportOptimised, EveryMethodKeepsItsBlocksAndFillsTheTimeTable)
{
    const std::map<int, QStringList> kept {
        { 1, { "3", "05" } },
        { 2, { "0", "4" } },
        { 3, { "5", "05" } },
        { 4, { "01", "6", "05" } },
        { 5, { "02", "7", "05" } },
    };
    for (int method = 1; method <= 5; ++method) {
        SCOPED_TRACE(method);
        TCalcParamsOrvann cp = Optimised(3, 5, method);
        ASSERT_TRUE(cp.CalculatedVOP);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("r.docx"));
        ASSERT_TRUE(MakeReport(TReportKind::Optimised, Zone, cp, file, Shipped()).Ok());
        const TReportText text = ReadReport(file);
        ExpectFinished(text);
        ExpectBlocks(text, kept.at(method));
        EXPECT_TRUE(text.Has(MethodText(method)));
        EXPECT_TRUE(
            text.Has(QStringLiteral("Время обнаружения пожара: %1 с").arg(RoundToStr(10, cp.TimeResult))));

        // Two head rows, then one row per step up to the detection time.
        const QList<QStringList> table = FirstTable(file);
        ASSERT_EQ(table.size(), 2 + cp.tbl_stop);
        if (method == 3 || method == 4) {
            EXPECT_EQ(cp.TimeResult, -1); // no step responds at the critical area
            continue;
        }
        ASSERT_GT(cp.tbl_stop, 0);
        const QStringList first = table[2];
        ASSERT_EQ(first.size(), 7);
        EXPECT_EQ(first[0], QStringLiteral("1"));
        for (int c = 1; c <= 6; ++c)
            EXPECT_EQ(first[c], RoundToStr(100, cp.tbl[static_cast<size_t>(c)][1]));
        EXPECT_EQ(table.last()[0], QString::number(cp.tbl_stop));
        EXPECT_EQ(table.last()[6], RoundToStr(100, cp.TimeResult));
    }
}

TEST(ReportOptimised, FieldBlocksFollowTheSignOfValue2)
{
    // H = 5 m: 0.36·H = 1.8 m.
    for (const long double l : { 1.0L, 1.8L, 4.0L }) {
        SCOPED_TRACE(static_cast<double>(l));
        TCalcParamsOrvann cp = Optimised(5, l, 1);
        const TReportText text = Generate(TReportKind::Optimised, cp);
        ExpectFinished(text);
        const bool near = cp.value2 < 0;
        EXPECT_EQ(near, l < 1.8L);
        EXPECT_EQ(text.Has(QStringLiteral("находится в ближней зоне")), near);
        EXPECT_EQ(text.Has(QStringLiteral("находится в дальней зоне")), !near);
        EXPECT_TRUE(text.Has(QStringLiteral("0,36·H = %1 м").arg(RoundToStr(100, cp.value1))));
    }
}

// Detection time by the height tables.

TEST(ReportSimple, ClassAndHeightKeepOneOfTheFourCases)
{
    struct TCase {
        int32_t cls;
        long double h;
        const char* kept;
    };
    const TCase cases[] = {
        { BOSClassA2, 5, "Извещатели класса A2, высота помещения менее 9 м" },
        { BOSClassA2, 9, "Извещатели класса A2, высота помещения от 9 до 16 м" },
        { BOSClassA3, 6, "Извещатели класса A3, высота помещения менее 9 м" },
        { BOSClassA3, 12, "Извещатели класса A3, высота помещения от 9 до 16 м" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.kept);
        TCalcParamsOrvann cp = Standard(c.h, 4, c.cls);
        ASSERT_GE(cp.value10s, 0);
        cp.BOSClassText = QStringLiteral("старый");
        const TReportText text = Generate(TReportKind::Simple, cp);
        ExpectFinished(text);
        EXPECT_EQ(cp.BOSClassText, c.cls == BOSClassA2 ? QStringLiteral("A2") : QStringLiteral("A3"));
        for (const TCase& other : cases)
            EXPECT_EQ(text.Has(QString::fromUtf8(other.kept)), &other == &c);
        const bool upper = c.h >= 9;
        EXPECT_EQ(text.Has(QStringLiteral("RTI/0,447")), upper);
        EXPECT_EQ(text.Has(QStringLiteral("RTI/0,894")), !upper);
        EXPECT_TRUE(
            text.Has(QStringLiteral("Время обнаружения пожара: %1 с").arg(RoundToStr(10, cp.value10s))));
        EXPECT_TRUE(text.Has(QStringLiteral("Класс тепловых пожарных извещателей\t") + cp.BOSClassText));
    }
}

TEST(ReportSimple, MethodAndFieldBlocks)
{
    const std::map<int, QStringList> kept {
        { 1, { "3", "05" } },
        { 2, { "0", "4" } },
        { 3, { "5", "05" } },
        { 4, { "01", "6", "05" } },
        { 5, { "02", "7", "05" } },
    };
    for (int method = 1; method <= 5; ++method) {
        SCOPED_TRACE(method);
        // Spacing 1 m at 4 m: near field (0.36·H = 1.44 m); 3 m: far field.
        for (const long double l : { 1.0L, 3.0L }) {
            TCalcParamsOrvann cp = Standard(4, l, BOSClassA3, method);
            const TReportText text = Generate(TReportKind::Simple, cp);
            ExpectFinished(text);
            ExpectBlocks(text, kept.at(method));
            EXPECT_EQ(text.Has(QStringLiteral("извещатели находятся в ближней зоне")), cp.value2 < 0);
            EXPECT_EQ(text.Has(QStringLiteral("извещатели находятся в дальней зоне")), cp.value2 >= 0);
            // "$value04s0" goes before "$value04s", which is a prefix of it.
            EXPECT_TRUE(text.Has(QStringLiteral("u0 = %1 м/с").arg(RoundToStr(100, cp.value4s0))));
            EXPECT_TRUE(text.Has(QStringLiteral("α = %1 кВт/с2").arg(RoundToStr(100, cp.value4s))));
        }
    }
}

TEST(ReportSimple, OutcomesAndAnUnknownMethodAreReportedAsTheyAre)
{
    // Spacing above the table's limit: outcome −2 is printed with its explanation.
    TCalcParamsOrvann wide = Standard(8, 9.9L, BOSClassA3);
    ASSERT_EQ(wide.value10s, Outcome::SpacingTooWide);
    const TReportText text = Generate(TReportKind::Simple, wide);
    ExpectFinished(text);
    EXPECT_TRUE(text.Has(QStringLiteral("Время обнаружения пожара: -2 с")));

    // Method 0: "$method" stays and no method block is deleted.
    TCalcParamsOrvann none = Standard(4, 3, BOSClassA3, 0);
    const TReportText raw = Generate(TReportKind::Simple, none);
    EXPECT_TRUE(raw.Has(QStringLiteral("Способ развития пожара: $method")));
    EXPECT_FALSE(raw.Has(QStringLiteral("<var")));
    ExpectBlocks(raw, { "0", "01", "02", "3", "4", "5", "6", "7", "05" });
}

// The quick recalculation after a sensor moved rewrites value1s … value8s with
// ceiling-jet figures and param2 with the layout's spacing; the report still prints the
// height-table figures under their labels, for the spacing it states.
TEST(ReportSimple, HeightTableFiguresSurviveTheQuickRecalculation)
{
    struct TCase {
        long double h, moved;
        int32_t cls;
    };
    // 4 m, A3: 5 m gives a time; 5 m, A3: 9.8 m is wider than the table's 9.5 m (outcome
    // −2); 12 m, A2: the upper branch with its spacing term.
    for (const TCase& c :
        { TCase { 4, 5, BOSClassA3 }, TCase { 5, 9.8L, BOSClassA3 }, TCase { 12, 5, BOSClassA2 } }) {
        SCOPED_TRACE(static_cast<double>(c.moved));
        TCalcParamsOrvann cp = Standard(c.h, 3, c.cls);
        cp.param2 = c.moved;
        ASSERT_TRUE(CalcCPSimple(cp));
        const TCalcParamsOrvann recalculated = cp;

        TCalcParamsOrvann expected = Standard(c.h, c.moved, c.cls);
        if (c.moved > 9.5L) {
            ASSERT_EQ(expected.value10s, Outcome::SpacingTooWide);
            expected.value4s = expected.value7s = expected.value8s = expected.value9s = 0;
        }
        ASSERT_NE(RoundToStr(1, recalculated.value1s), RoundToStr(1, expected.value1s));

        const TReportText text = Generate(TReportKind::Simple, cp);
        ExpectFinished(text);
        EXPECT_TRUE(text.Has(QStringLiteral("\t") + RoundToStr(10, c.moved))) << "the spacing stated";
        EXPECT_TRUE(text.Has(QStringLiteral("Q = F·Qн·ψ·η = %1 кВт").arg(RoundToStr(1, expected.value1s))));
        EXPECT_TRUE(text.Has(QStringLiteral("Qmin = %1 кВт, Lmax = %2 м")
                                 .arg(RoundToStr(1, expected.value2s), RoundToStr(1, expected.value3s))));
        EXPECT_TRUE(text.Has(QStringLiteral("α = %1 кВт/с2").arg(RoundToStr(100, expected.value4s))));
        EXPECT_TRUE(text.Has(QStringLiteral("Qкр = %1 кВт").arg(RoundToStr(10, expected.value7s))));
        EXPECT_TRUE(text.Has(QStringLiteral("tQ = √(Qкр/α) = %1 с").arg(RoundToStr(10, expected.value8s))));
        EXPECT_TRUE(text.Has(QStringLiteral("tин = %1 с").arg(RoundToStr(10, expected.value9s))));
        EXPECT_TRUE(text.Has(
            QStringLiteral("Время обнаружения пожара: %1 с").arg(RoundToStr(10, expected.value10s))));
        if (c.h >= 9) {
            EXPECT_TRUE(
                text.Has(QStringLiteral("QL = L·1000/K = %1 кВт").arg(RoundToStr(1, expected.value6s))));
        }
        // The recalculation's own figure, and the record the status bar and plan read, stay.
        EXPECT_TRUE(text.Has(QStringLiteral("u0 = %1 м/с").arg(RoundToStr(100, recalculated.value4s0))));
        EXPECT_EQ(cp.value1s, recalculated.value1s);
        EXPECT_EQ(cp.value7s, recalculated.value7s);
        EXPECT_EQ(cp.value10s, recalculated.value10s);
    }
}

// Initial fire stage.

TEST(ReportInitialStage, VolumeChoosesTheTemplate)
{
    for (const long double volume : { 3000.0L, 3000.5L, 12000.0L }) {
        SCOPED_TRACE(static_cast<double>(volume));
        TCalcParamsOrvann cp = InitialStage(volume);
        const bool large = volume > 3000;
        EXPECT_EQ(ReportTemplateFileName(TReportKind::InitialStage, cp),
            large ? QStringLiteral("template4.dotx") : QStringLiteral("template3.dotx"));
        const TReportText text = Generate(TReportKind::InitialStage, cp);
        ExpectFinished(text);
        EXPECT_EQ(text.Has(QStringLiteral("0,089")), large);
        EXPECT_EQ(text.Has(QStringLiteral("0,0094")), !large);
        EXPECT_TRUE(text.Has(QStringLiteral("= %1 с").arg(RoundToStr(1, cp.value12))));
        EXPECT_TRUE(
            text.Has(QStringLiteral("\t") + RoundToStr(100, cp.value11))); // minutes stored as seconds
        EXPECT_TRUE(text.Has(QStringLiteral("\t") + RoundToStr(1, cp.param3)));
    }
}

// Combined fire load.

TEST(ReportFireLoad, FormulasAndOneTableRowPerFireLoad)
{
    TCalcParamsOrvann cp = FireLoad();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("гн.docx"));
    ASSERT_TRUE(MakeReport(TReportKind::FireLoad, Zone, cp, file, Shipped()).Ok());
    const TReportText text = ReadReport(file);
    ExpectFinished(text);
    // The formula texts are not cut short by the plain placeholders they begin with.
    EXPECT_TRUE(text.Has(QStringLiteral(" = ") + cp.value13calc));
    EXPECT_TRUE(text.Has(cp.param07calc));
    EXPECT_TRUE(text.Has(cp.param08calc));
    EXPECT_TRUE(text.Has(QStringLiteral("max(") + cp.param06calc + QStringLiteral(")")));
    EXPECT_TRUE(text.Has(QStringLiteral("= %1 кДж/кг").arg(RoundToInt64(cp.param8))));

    const QList<QStringList> table = FirstTable(file);
    ASSERT_EQ(table.size(), 3);
    for (int k = 0; k < 2; ++k) {
        const TFireLoad& load = cp.FireLoads[static_cast<size_t>(k)];
        EXPECT_EQ(table[k + 1],
            (QStringList { load.Name, RoundToStr(1000, load.P1LowestHeat),
                RoundToStr(1000, load.P2LinearFlameSpeed), RoundToStr(1000, load.P3BurnoutSpeed),
                RoundToStr(1000, load.CCC), RoundToStr(1000, load.PFlammableLoad) }));
    }
    EXPECT_EQ(table[1][2], QStringLiteral("0,011")); // 0.0108 to three decimals

    TCalcParamsOrvann empty = FireLoad();
    empty.FireLoads.clear();
    const QString emptyFile = dir.filePath(QStringLiteral("пусто.docx"));
    ASSERT_TRUE(MakeReport(TReportKind::FireLoad, Zone, empty, emptyFile, Shipped()).Ok());
    EXPECT_EQ(FirstTable(emptyFile).size(), 1); // the head row alone
}

TEST(ReportFireLoad, ReducedFireLoadIsRoundedToAWholeNumberTiesToEven)
{
    for (const auto& [value, shown] : { std::pair { 12.5L, "12" }, std::pair { 13.5L, "14" } }) {
        TCalcParamsOrvann cp = FireLoad();
        cp.value13 = value;
        const TReportText text = Generate(TReportKind::FireLoad, cp);
        EXPECT_TRUE(text.Has(QStringLiteral("g = %1 кг/м2").arg(QLatin1String(shown))))
            << text.All().toStdString();
    }
}

// Progress figures.

TEST(ReportProgress, MaximaAndStepsOfEachReport)
{
    std::vector<std::pair<int, int>> seen;
    TReportOptions options = Shipped();
    options.Progress = [&seen](int position, int maximum) { seen.emplace_back(position, maximum); };
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.docx"));

    TCalcParamsOrvann optimised = Optimised(3, 5, 1);
    const int max = optimised.tbl_stop + 23;
    ASSERT_TRUE(MakeReport(TReportKind::Optimised, Zone, optimised, file, options).Ok());
    ASSERT_EQ(seen.size(), static_cast<size_t>(3 + optimised.tbl_stop + 1));
    EXPECT_EQ(seen[0], std::pair(0, max));
    EXPECT_EQ(seen[1], std::pair(16, max));
    EXPECT_EQ(seen[2], std::pair(std::min(26, max), max));
    EXPECT_EQ(seen[3], std::pair(std::min(27, max), max));
    EXPECT_EQ(seen.back(), std::pair(max, max));

    seen.clear();
    TCalcParamsOrvann stage = InitialStage(500);
    ASSERT_TRUE(MakeReport(TReportKind::InitialStage, Zone, stage, file, options).Ok());
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>> { { 0, 18 }, { 16, 18 }, { 18, 18 }, { 18, 18 } }));

    seen.clear();
    TCalcParamsOrvann load = FireLoad();
    ASSERT_TRUE(MakeReport(TReportKind::FireLoad, Zone, load, file, options).Ok());
    EXPECT_EQ(seen,
        (std::vector<std::pair<int, int>> {
            { 0, 11 }, { 4, 11 }, { 9, 11 }, { 10, 11 }, { 11, 11 }, { 11, 11 } }));
}

// Failures: each is a status with a message naming the file, no file written, the record
// unchanged.

TEST(ReportFailures, RefusalsNameTheFileAndChangeNothing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("отчет.docx"));
    TCalcParamsOrvann cp = Standard(4, 3, BOSClassA3);
    cp.BOSClassText = QStringLiteral("прежний");
    TReportOptions options;

    // No result.
    TCalcParamsOrvann fresh;
    TReportResult r = MakeReport(TReportKind::Simple, Zone, fresh, out, Shipped());
    EXPECT_EQ(r.Status, TReportStatus::NotCalculated);
    EXPECT_EQ(r.Message, ReportText::OfferSimple);
    EXPECT_EQ(
        MakeReport(TReportKind::InitialStage, Zone, cp, out, Shipped()).Status, TReportStatus::NotCalculated);

    // No template in the folder.
    options.TemplateFolders = { dir.filePath(QStringLiteral("пусто")) };
    r = MakeReport(TReportKind::Simple, Zone, cp, out, options);
    EXPECT_EQ(r.Status, TReportStatus::TemplateMissing);
    EXPECT_EQ(
        r.Message, QStringLiteral("Файл шаблона не найден (template2.dotx). Невозможно сохранить отчет."));

    // A damaged template, and a template without the table (template2 under the name of template1).
    const QString own = dir.filePath(QStringLiteral("свои"));
    QDir().mkdir(own);
    QFile damaged(QDir(own).filePath(QStringLiteral("template2.dotx")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("PK\x03\x04 damaged");
    damaged.close();
    ASSERT_TRUE(QFile::copy(QDir(ShippedTemplates[0]).filePath(QStringLiteral("template2.dotx")),
        QDir(own).filePath(QStringLiteral("template1.dotx"))));
    options.TemplateFolders = { own };
    r = MakeReport(TReportKind::Simple, Zone, cp, out, options);
    EXPECT_EQ(r.Status, TReportStatus::TemplateDamaged);
    EXPECT_TRUE(r.Message.contains(QDir::toNativeSeparators(damaged.fileName()))) << r.Message.toStdString();
    r = MakeReport(TReportKind::Optimised, Zone, cp, out, options);
    EXPECT_EQ(r.Status, TReportStatus::TemplateNoTable);
    EXPECT_TRUE(r.Message.contains(QStringLiteral("template1.dotx"))) << r.Message.toStdString();

    // A folder that cannot be written (/proc refuses even the superuser).
    const QString readOnly
        = geteuid() == 0 ? QStringLiteral("/proc/отчет.docx") : QStringLiteral("/отчет-тесворн.docx");
    r = MakeReport(TReportKind::Simple, Zone, cp, readOnly, Shipped());
    EXPECT_EQ(r.Status, TReportStatus::SaveFailed);
    EXPECT_TRUE(r.Message.contains(readOnly)) << r.Message.toStdString();

    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(cp.BOSClassText, QStringLiteral("прежний"));
}

// The project summary.

namespace {

std::vector<TZoneSummaryRow> SummaryRows()
{
    auto runs = [](TCalcRun vop, long double detection, std::optional<long double> nsp) {
        TZoneRuns r;
        r.VOP = TZoneRun {};
        r.VOP->Run = vop;
        r.VOP->Outcome = detection;
        if (nsp) {
            r.NSP = TZoneRun {};
            r.NSP->Run = TCalcRun::InitialStage;
            r.NSP->Outcome = *nsp;
        }
        return r;
    };
    TZoneSummaryRow office { 1, QStringLiteral("Кабинет 101"), 3, 30, 90, 4, 4.99L, 96, 193.24L, 53 };
    office.Verdict = ZoneVerdict(runs(TCalcRun::Standard, 96, 193.24L));
    TZoneSummaryRow store { 2, QStringLiteral("Склад №3"), 4.5L, 55.35L, 249.08L, 12, 2.5L, 150, 120, 41.5L };
    store.Verdict = ZoneVerdict(runs(TCalcRun::Standard, 150, 120));
    store.Stale = true;
    TZoneSummaryRow hall { 3, QStringLiteral("Холл"), 3.5L, 37, 129.5L, 2 };
    hall.Verdict = ZoneVerdict(runs(TCalcRun::Optimised, -1, std::nullopt));
    return { office, store, hall };
}

} // namespace

TEST(ReportSummary, OneRowPerZoneWithTheCountsAndTheProjectInTheHeader)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("сводка.docx"));
    const std::vector<TZoneSummaryRow> rows = SummaryRows();
    std::vector<std::pair<int, int>> seen;
    TReportOptions options = Shipped();
    options.Progress = [&seen](int position, int maximum) { seen.emplace_back(position, maximum); };
    ASSERT_TRUE(ReportSummary(QStringLiteral("Офис"), rows, file, options).Ok());
    EXPECT_EQ(seen,
        (std::vector<std::pair<int, int>> { { 0, 8 }, { 5, 8 }, { 6, 8 }, { 7, 8 }, { 8, 8 }, { 8, 8 } }));

    const TReportText text = ReadReport(file);
    EXPECT_FALSE(text.All().contains(QLatin1Char('$'))) << text.All().toStdString();
    EXPECT_TRUE(text.Has(QStringLiteral("проект «Офис»"))); // the page header
    const auto line = [&text](const QString& start) {
        for (const QString& p : text.Body)
            if (p.startsWith(start))
                return p.mid(start.size()).trimmed();
        return QStringLiteral("(none)");
    };
    EXPECT_EQ(line(QStringLiteral("Зон в проекте")), QStringLiteral("3"));
    EXPECT_EQ(line(QStringLiteral("Пожар обнаруживается до окончания начальной стадии")), QStringLiteral("1"));
    EXPECT_EQ(line(QStringLiteral("Время обнаружения не меньше")).right(1), QStringLiteral("1"));
    EXPECT_EQ(line(QStringLiteral("Итог не получен")).right(1), QStringLiteral("1"));
    EXPECT_EQ(line(QStringLiteral("Зоны, измененные после расчета")), QStringLiteral("1"));

    const QList<QStringList> table = FirstTable(file);
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[0].size(), SummaryColumnHeads().size());
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(table[k + 1], SummaryRowTexts(rows[static_cast<size_t>(k)]));
    EXPECT_EQ(table[2][9], QStringLiteral("Время обнаружения превышает НСП на 30 сек"));

    const QString empty = dir.filePath(QStringLiteral("пусто.docx"));
    ASSERT_TRUE(ReportSummary(QStringLiteral("Пустой"), {}, empty, Shipped()).Ok());
    EXPECT_EQ(FirstTable(empty).size(), 1); // the head row alone

    TReportOptions nowhere;
    nowhere.TemplateFolders = { dir.filePath(QStringLiteral("нет")) };
    const TReportResult missing = ReportSummary(QStringLiteral("Офис"), rows, empty, nowhere);
    EXPECT_EQ(missing.Status, TReportStatus::TemplateMissing);
    EXPECT_EQ(missing.Message, QStringLiteral("Файл шаблона не найден (template6.dotx). Невозможно сохранить отчет."));
}

// Template lookup.

TEST(ReportTemplates, FirstFolderHoldingTheFileWins)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a")), b = dir.filePath(QStringLiteral("b"));
    QDir().mkdir(a);
    QDir().mkdir(b);
    QFile(QDir(b).filePath(QStringLiteral("template5.dotx"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(FindReportTemplate(QStringLiteral("template5.dotx"), { a, b }),
        QDir(b).filePath(QStringLiteral("template5.dotx")));
    QFile(QDir(a).filePath(QStringLiteral("template5.dotx"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(FindReportTemplate(QStringLiteral("template5.dotx"), { a, b }),
        QDir(a).filePath(QStringLiteral("template5.dotx")));
    EXPECT_TRUE(FindReportTemplate(QStringLiteral("template1.dotx"), { a, b }).isEmpty());

    const QStringList folders = ReportTemplateFolders();
    ASSERT_EQ(folders.size(), 3);
    EXPECT_TRUE(folders[0].endsWith(QStringLiteral("/templates")));
    EXPECT_EQ(folders[1], QCoreApplication::applicationDirPath());
    EXPECT_TRUE(folders[2].endsWith(QStringLiteral("share/tesvorn/templates")));
}
