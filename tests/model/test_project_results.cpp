// The results file beside a project and what the kept runs say: three zones calculated by
// every kind of run, saved and opened again (records equal field by field, reports equal
// in text, the project file unchanged byte for byte), every way a results file can be
// wrong, the inputs JSON of the kept runs, stale results and the summary rows.
#include "DialogLoad.h"
#include "RecordCompare.h"
#include "uCalcRecordJson.h"
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uNumberText.h"
#include "uProjectFile.h"
#include "uProjectResults.h"
#include "uReportDocument.h"
#include "uReports.h"
#include "uRoomSpacing.h"
#include "uZoneResults.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TFireLoad Paper()
{
    TFireLoad f = DialogDefaultLoad();
    f.Id = 12;
    f.ListId = 2;
    f.Name = QStringLiteral("Бумага, картон");
    f.P1LowestHeat = 13400;
    f.P2LinearFlameSpeed = 0.0183L;
    f.P3BurnoutSpeed = 0.0137L;
    f.PFlammableLoad = 7.3L;
    f.CCC = 0.91L;
    return f;
}

QByteArray ReadAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

bool HasNoResult(const TRoom& room)
{
    return !room.Runs.Any() && !room.CP.CalculatedVOP && !room.CP.CalculatedNSP && !room.CP.CalculatedFL
        && room.CP.FireLoads.empty();
}

// Every report the zone's record allows, as a reader sees it.
QStringList ReportsOf(const TRoom& room, const QString& folder)
{
    QStringList text;
    TReportOptions options;
    options.TemplateFolders = { QStringLiteral(TESVORN_TEMPLATES_DIR) };
    for (TReportKind kind :
        { TReportKind::Optimised, TReportKind::Simple, TReportKind::InitialStage, TReportKind::FireLoad }) {
        TCalcParamsOrvann cp = room.CP;
        if (!ReportCalculated(kind, cp) || (kind == TReportKind::Optimised) != (cp.tbl_time > 0))
            continue;
        const QString file = folder + QStringLiteral("/report.docx");
        const TReportResult made = MakeReport(kind, room.Name(), cp, file, options);
        EXPECT_TRUE(made.Ok()) << made.Message.toStdString();
        TReportDocument doc;
        EXPECT_TRUE(doc.Open(file, nullptr));
        text << doc.Paragraphs() << doc.HeaderFooterParagraphs();
    }
    return text;
}

// A project at 0.1 m per pixel with three zones, calculated by every kind of run.
struct ResultsFixture : ::testing::Test {
    QTemporaryDir dir;
    TFireProject project;
    TRoom* A = nullptr; // 10 m × 6 m × 3 m: initial stage, fire load, then the standard run
    TRoom* B = nullptr; // 8 m × 5 m × 4.5 m: initial stage, then the run with optimisation
    TRoom* C = nullptr; // 6 m × 4 m × 3 m: the fire-load run only

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.Setpx(0.1L);
        A = Zone(20, 30, 100, 60, 30);
        B = Zone(140, 30, 80, 50, 45);
        C = Zone(240, 30, 60, 40, 30);
        A->SetName(QStringLiteral("Склад \"№3\"\\\tвосток")); // texts the file must escape
        Accept(TCalcRun::InitialStage, *A, [](TCalcDialogValues& v) { v.seValue11 = 10; });
        Accept(TCalcRun::FireLoad, *A);
        Accept(TCalcRun::Standard, *A, [](TCalcDialogValues& v) {
            v.seParam2 = 2.5L;
            v.seParam10 = 300; // typed after the class button set seParam11 from 293
        });
        Accept(TCalcRun::InitialStage, *B, [](TCalcDialogValues& v) { v.seValue11 = 12.5L; });
        Accept(TCalcRun::Optimised, *B, [](TCalcDialogValues& v) {
            v.method = 2;
            v.seParam13 = 3;
            v.cbDebug = true;
        });
        Accept(TCalcRun::FireLoad, *C);
    }

    TRoom* Zone(int32_t left, int32_t top, int32_t w, int32_t d, int32_t h)
    {
        TRoom* room = project.GetRoom(project.AddRoom(left, top, left + w, top + d));
        room->SetH(h);
        return room;
    }

    // What an accepted dialog of `run` gives: the set-up's values, two loads, the change
    // the user made, the combination as the dialog computes it.
    TCalcDialogValues Values(
        TCalcRun run, const TRoom& room, const std::function<void(TCalcDialogValues&)>& edit = {})
    {
        TCalcDialogValues v = CalcDialogInitialValues(CalcDialogSetup(run, room));
        v.FireLoads = { DialogDefaultLoad(), Paper() };
        if (edit)
            edit(v);
        long double h = 0, V = 0;
        TryParseNumber(v.edtParam1, &h);
        TryParseNumber(v.edtParam3, &V);
        SetFireLoadMix(v, CalcFireLoad(v.FireLoads, DefaultFireLoadMixRules(), h, V));
        return v;
    }

    void Accept(TCalcRun run, TRoom& room, const std::function<void(TCalcDialogValues&)>& edit = {})
    {
        const TCalcRunResult r = RunCalc(run, project, room, Values(run, room, edit), {}, 0);
        ASSERT_EQ(r.Status, TCalcRunStatus::Done) << r.Message.toStdString();
    }

    QString File(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Saves the project and its results as the window's Save does.
    void Save(const QString& fsp)
    {
        QString error;
        ASSERT_TRUE(project.SaveToFile(fsp, &error)) << error.toStdString();
        const TResultsSave saved = SaveProjectResults(project, fsp);
        ASSERT_TRUE(saved.Ok) << saved.Error.toStdString();
        EXPECT_TRUE(saved.Warning.isEmpty());
        EXPECT_EQ(saved.Zones, 3);
    }

    // Opens a project file and its results as the window's Open does.
    static std::unique_ptr<TFireProject> Open(const QString& fsp, TResultsLoad* load)
    {
        auto opened = std::make_unique<TFireProject>();
        QString error;
        EXPECT_TRUE(opened->LoadFromFile(fsp, &error)) << error.toStdString();
        *load = LoadProjectResults(*opened, fsp);
        return opened;
    }
};

} // namespace

// --- the round trip -------------------------------------------------------------------------

TEST_F(ResultsFixture, ReopenedZonesHaveTheirRecordsRunsAndReportsBack)
{
    A->CP.CSensor = A->GetSensors()[3]->GUID(); // as the quick recalculation leaves it
    // The records hold values a double cannot carry, so the exact form is what keeps them.
    EXPECT_NE(static_cast<long double>(static_cast<double>(A->CP.param7)), A->CP.param7);
    EXPECT_NE(static_cast<long double>(static_cast<double>(B->CP.tbl[3][100])), B->CP.tbl[3][100]);
    const QString fsp = File("office.fsp");
    Save(fsp);
    EXPECT_TRUE(QFile::exists(File("office.results.json")));

    TResultsLoad load;
    const auto opened = Open(fsp, &load);
    EXPECT_EQ(load.Status, TResultsLoadStatus::Loaded);
    EXPECT_EQ(load.Restored, 3);
    EXPECT_EQ(load.NotRestored, 0);
    EXPECT_TRUE(load.Warning.isEmpty());
    EXPECT_FALSE(opened->Modified()); // results coming back are no change
    for (const TRoom* before : { A, B, C }) {
        SCOPED_TRACE(before->Name().toStdString());
        const TRoom* after = opened->GetRoom(before->ID());
        ASSERT_NE(after, nullptr);
        ExpectSameRecord(before->CP, after->CP);
        EXPECT_TRUE(before->Runs == after->Runs);
        EXPECT_FALSE(ZoneResultsStale(*after));
        EXPECT_EQ(ReportsOf(*before, dir.path()), ReportsOf(*after, dir.path()));
        EXPECT_FALSE(ReportsOf(*after, dir.path()).isEmpty());
    }
    // The window's values survive too: seParam11 stayed at 293 + 40 while seParam10 was 300.
    EXPECT_EQ(opened->GetRoom(A->ID())->Runs.VOP->Values.seParam11, 333);
    EXPECT_EQ(opened->GetRoom(A->ID())->Runs.VOP->Values.seParam10, 300);
    EXPECT_EQ(opened->GetRoom(B->ID())->CP.tbl_time, 500);
}

TEST_F(ResultsFixture, ProjectFileIsTheSameAsOneSavedWithoutResults)
{
    const QString fsp = File("with.fsp");
    Save(fsp);
    TFireProject bare;
    ASSERT_TRUE(bare.LoadFromFile(fsp, nullptr));
    ASSERT_TRUE(bare.SaveToFile(File("without.fsp"), nullptr));
    EXPECT_FALSE(QFile::exists(File("without.results.json"))); // no results, no file
    EXPECT_EQ(ReadAll(fsp), ReadAll(File("without.fsp")));
    EXPECT_EQ(ReadAll(fsp), ProjectToBytes(bare));

    // Saved under a new name, the results go with it; a later save of a project without
    // results removes a results file that would speak for other zones.
    Save(File("copy.fsp"));
    EXPECT_EQ(ReadAll(File("copy.results.json")), ReadAll(File("with.results.json")));
    const TResultsSave cleared = SaveProjectResults(bare, File("copy.fsp"));
    EXPECT_TRUE(cleared.Ok);
    EXPECT_EQ(cleared.Zones, 0);
    EXPECT_FALSE(QFile::exists(File("copy.results.json")));
}

TEST(ProjectResultsFile, NameBesideTheProject)
{
    EXPECT_EQ(ProjectResultsFileName("/data/office.fsp"), "/data/office.results.json");
    EXPECT_EQ(ProjectResultsFileName("office.v2.FSP"), "office.v2.results.json");
    EXPECT_EQ(ProjectResultsFileName("/data.d/office"), "/data.d/office.results.json");
}

// --- results files that must give nothing wrong ----------------------------------------------

TEST_F(ResultsFixture, DamagedForeignAndOtherVersionFilesOpenWithoutResults)
{
    const QString fsp = File("office.fsp");
    Save(fsp);
    const QString results = File("office.results.json");
    const QByteArray good = ReadAll(results);

    auto expectRejected = [&](const QByteArray& bytes, const QString& warning) {
        WriteAll(results, bytes);
        TResultsLoad load;
        const auto opened = Open(fsp, &load);
        EXPECT_EQ(load.Status, TResultsLoadStatus::Rejected);
        EXPECT_EQ(load.Restored, 0);
        EXPECT_TRUE(load.Warning.startsWith(warning)) << load.Warning.toStdString();
        EXPECT_FALSE(opened->Modified());
        for (const auto& room : opened->GetRooms())
            EXPECT_TRUE(HasNoResult(*room));
        EXPECT_EQ(opened->GetRoomsCount(), 3); // the project itself opens
    };
    expectRejected(good.left(good.size() / 2),
        QStringLiteral("Файл результатов расчета office.results.json поврежден ("));
    QJsonObject newer = QJsonDocument::fromJson(good).object();
    newer["version"] = 2;
    expectRejected(QJsonDocument(newer).toJson(),
        QStringLiteral("Файл результатов расчета office.results.json записан в версии 2, программа читает "
                       "версию 1. Проект открыт без результатов расчета."));
    expectRejected(ReadAll(fsp), QStringLiteral("Файл результатов расчета office.results.json поврежден ("));
    expectRejected(R"({"zones": []})",
        QStringLiteral("Файл office.results.json не является файлом результатов расчета. Проект открыт без "
                       "результатов расчета."));
    // One bad entry spoils the whole file: no zone gets results from a file damaged elsewhere.
    QJsonObject root = QJsonDocument::fromJson(good).object();
    QJsonArray zones = root["zones"].toArray();
    QJsonObject last = zones[2].toObject();
    QJsonObject record = last["record"].toObject();
    record["param1"] = QStringLiteral("3");
    last["record"] = record;
    zones[2] = last;
    root["zones"] = zones;
    expectRejected(QJsonDocument(root).toJson(),
        QStringLiteral("Файл результатов расчета office.results.json поврежден (zones[2].record: "));
    QJsonArray twice = root["zones"].toArray();
    twice[1] = twice[0];
    root["zones"] = twice;
    expectRejected(QJsonDocument(root).toJson(),
        QStringLiteral("Файл результатов расчета office.results.json поврежден (zone 1 appears"));

    // Without a results file the project opens as always, with nothing to say.
    QFile::remove(results);
    TResultsLoad none;
    Open(fsp, &none);
    EXPECT_EQ(none.Status, TResultsLoadStatus::NoFile);
    EXPECT_TRUE(none.Warning.isEmpty());
}

TEST_F(ResultsFixture, CutOrFlippedBytesNeverGiveAWrongResult)
{
    Save(File("office.fsp"));
    const QByteArray good = ReadAll(File("office.results.json"));
    TFireProject opened;
    ASSERT_TRUE(opened.LoadFromFile(File("office.fsp"), nullptr));
    for (qsizetype cut = 0; cut + 3 < good.size(); cut += 211) {
        const TResultsLoad load = ProjectResultsFromBytes(opened, good.left(cut), "r.json");
        ASSERT_EQ(load.Status, TResultsLoadStatus::Rejected) << cut;
        for (const auto& room : opened.GetRooms())
            ASSERT_TRUE(HasNoResult(*room)) << cut;
    }
    // A flipped byte is either caught or lands in a text or a number, which is then what the
    // file says; nothing else may come of it.
    for (qsizetype at = 7; at < good.size(); at += 397) {
        QByteArray bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x21);
        TFireProject fresh;
        ASSERT_TRUE(fresh.LoadFromFile(File("office.fsp"), nullptr));
        const TResultsLoad load = ProjectResultsFromBytes(fresh, bytes, "r.json");
        EXPECT_LE(load.Restored + load.NotRestored, 3);
        if (load.Status == TResultsLoadStatus::Rejected)
            for (const auto& room : fresh.GetRooms())
                EXPECT_TRUE(HasNoResult(*room)) << at;
    }
}

TEST_F(ResultsFixture, ZonesChangedSinceTheSaveAreLeftOutAndCounted)
{
    const QString fsp = File("office.fsp");
    Save(fsp);
    // Another program changes the plan and saves only the project file: A is resized, B made
    // higher, C moved (which keeps its results), and a zone that never had results is added.
    ASSERT_TRUE(project.SetRoomSize(A, 90, 60));
    B->SetH(50);
    bool mx = false, my = false;
    ASSERT_TRUE(project.MoveRoom(C->ID(), 0, 40, mx, my, false));
    project.AddRoom(400, 30, 450, 80);
    ASSERT_TRUE(project.SaveToFile(fsp, nullptr));

    TResultsLoad load;
    const auto opened = Open(fsp, &load);
    EXPECT_EQ(load.Status, TResultsLoadStatus::Loaded);
    EXPECT_EQ(load.Restored, 1);
    EXPECT_EQ(load.NotRestored, 2);
    EXPECT_EQ(load.Warning, QStringLiteral("Результаты расчета не восстановлены для 2 зон: зоны изменены"));
    EXPECT_TRUE(HasNoResult(*opened->GetRoom(A->ID())));
    EXPECT_TRUE(HasNoResult(*opened->GetRoom(B->ID())));
    ExpectSameRecord(opened->GetRoom(C->ID())->CP, C->CP);
    EXPECT_TRUE(opened->GetRoom(C->ID())->Runs == C->Runs);
}

TEST_F(ResultsFixture, AnEditedNumberWinsOverItsExactForm)
{
    const QString fsp = File("office.fsp");
    Save(fsp);
    QJsonObject root = QJsonDocument::fromJson(ReadAll(File("office.results.json"))).object();
    QJsonArray zones = root["zones"].toArray();
    QJsonObject first = zones[0].toObject();
    QJsonObject record = first["record"].toObject();
    record["param4"] = 17.5;
    first["record"] = record;
    zones[0] = first;
    root["zones"] = zones;
    WriteAll(File("office.results.json"), QJsonDocument(root).toJson());

    TResultsLoad load;
    const auto opened = Open(fsp, &load);
    ASSERT_EQ(load.Restored, 3);
    const TCalcParamsOrvann& cp = opened->GetRoom(A->ID())->CP;
    EXPECT_EQ(cp.param4, 17.5L);
    EXPECT_EQ(cp.param7, A->CP.param7); // the untouched values keep every bit
    EXPECT_EQ(cp.value12, A->CP.value12);
}

TEST_F(ResultsFixture, ResultsOfAnotherFileAreAddedOnlyWhereAZoneHasNone)
{
    Save(File("office.fsp"));
    TFireProject other;
    ASSERT_TRUE(other.LoadFromFile(File("office.fsp"), nullptr));
    other.GetRoom(C->ID())->CP.CalculatedFL = true; // C has a result of its own
    other.GetRoom(C->ID())->CP.value13 = 99;
    const TResultsLoad merged = LoadProjectResults(other, File("office.fsp"), TResultsMerge::KeepExisting);
    EXPECT_EQ(merged.Restored, 2);
    EXPECT_EQ(other.GetRoom(C->ID())->CP.value13, 99);
    ExpectSameRecord(other.GetRoom(A->ID())->CP, A->CP);
}

// --- the kept runs ---------------------------------------------------------------------------

TEST_F(ResultsFixture, AcceptedRunsKeepThemselvesRefusedOnesNothing)
{
    const TZoneRun& vop = *A->Runs.VOP;
    EXPECT_EQ(vop.Run, TCalcRun::Standard);
    EXPECT_EQ(vop.Outcome, A->CP.value10s);
    EXPECT_EQ(
        vop.Announcement, QStringLiteral("Время обнаружения: %1 сек").arg(RoundToInt64(A->CP.value10s)));
    EXPECT_EQ(vop.Height, 3);
    EXPECT_EQ(vop.Volume, 180);
    EXPECT_EQ(vop.Width, 100);
    EXPECT_EQ(vop.Depth, 60);
    EXPECT_EQ(vop.Values.seParam2, 2.5L);
    EXPECT_EQ(A->Runs.NSP->Outcome, A->CP.value12);
    EXPECT_EQ(B->Runs.VOP->Run, TCalcRun::Optimised);
    EXPECT_EQ(B->Runs.VOP->Outcome, B->CP.TimeResult);
    EXPECT_FALSE(C->Runs.VOP || C->Runs.NSP);

    // A run the engine refuses keeps nothing and changes nothing to save.
    project.SetModified(false);
    const TZoneRuns before = C->Runs;
    TCalcDialogValues zero
        = Values(TCalcRun::InitialStage, *C, [](TCalcDialogValues& v) { v.seValue11 = 10; });
    zero.FireLoadFinal.P2LinearFlameSpeed = 0;
    EXPECT_EQ(CalcInitialStage(project, *C, zero, {}, 0).Status, TCalcRunStatus::Refused);
    EXPECT_TRUE(C->Runs == before);
    EXPECT_FALSE(project.Modified());
    // An accepted initial stage is a result to save, though it moves no sensor.
    Accept(TCalcRun::InitialStage, *C, [](TCalcDialogValues& v) { v.seValue11 = 10; });
    EXPECT_TRUE(C->Runs.NSP.has_value());
    EXPECT_TRUE(project.Modified());
}

TEST_F(ResultsFixture, KeptInputsAreTheRunVerbsInputsAndReadBackEqual)
{
    for (const TRoom* room : { A, B, C })
        for (TRunKind kind : { TRunKind::VOP, TRunKind::NSP, TRunKind::FL }) {
            const std::optional<TZoneRun>& run = room->Runs.Of(kind);
            if (!run)
                continue;
            QJsonObject inputs;
            QString error;
            ASSERT_TRUE(RunInputsToJson(run->Run, run->Values, &inputs, &error)) << error.toStdString();
            // Only what the run's dialog offers, so `tesvorn-cli run` takes it as it is.
            const TCalcDialogSetup setup = CalcDialogSetup(run->Run, *room);
            for (auto it = inputs.begin(); it != inputs.end(); ++it)
                if (it.key() != "cbDebug" && it.key() != "loads")
                    EXPECT_TRUE(CalcDialogControlOffered(setup, it.key(), run->Values.method))
                        << it.key().toStdString();
            TCalcDialogValues back;
            ASSERT_TRUE(RunInputsFromJson(run->Run, inputs, &back, &error)) << error.toStdString();
            EXPECT_EQ(back.FireLoads, run->Values.FireLoads);
            EXPECT_EQ(back.method, run->Values.method);
            EXPECT_EQ(back.seParam2, run->Values.seParam2);
            EXPECT_EQ(back.seValue11, run->Values.seValue11);
        }
    const QJsonObject standard = [&] {
        QJsonObject o;
        RunInputsToJson(TCalcRun::Standard, A->Runs.VOP->Values, &o, nullptr);
        return o;
    }();
    EXPECT_FALSE(standard.contains("method")); // the standard run's dialog hides the methods
    EXPECT_FALSE(standard.contains("seParam11")); // and disables the activation temperature
    EXPECT_EQ(standard["BOSClass"].toInt(), 2);

    TCalcDialogValues v;
    QString error;
    EXPECT_FALSE(RunInputsFromJson(TCalcRun::Standard, QJsonObject { { "seParam22", 1 } }, &v, &error));
    EXPECT_EQ(error, QStringLiteral("unknown key \"seParam22\""));
    EXPECT_FALSE(RunInputsFromJson(TCalcRun::Standard, QJsonObject { { "BOSClass", 3 } }, &v, &error));
}

// --- stale results and the summary -----------------------------------------------------------

TEST_F(ResultsFixture, ResizedOrHigherZonesAreStaleMovedOnesNot)
{
    bool mx = false, my = false;
    ASSERT_TRUE(project.MoveRoom(A->ID(), 0, 50, mx, my, false));
    EXPECT_FALSE(ZoneResultsStale(*A));
    EXPECT_TRUE(ZoneResultLines(A).Stale.isEmpty());

    // The same volume in another shape: only the sensor grid no longer fits.
    ASSERT_TRUE(project.SetRoomSize(A, 60, 100));
    EXPECT_TRUE(ZoneRunStale(*A, TRunKind::VOP));
    EXPECT_FALSE(ZoneRunStale(*A, TRunKind::NSP));
    EXPECT_FALSE(ZoneRunStale(*A, TRunKind::FL));
    EXPECT_EQ(ZoneResultLines(A).Stale, QStringLiteral("Зона изменена после расчета — требуется пересчет"));
    ASSERT_TRUE(project.SetRoomSize(A, 100, 60));
    EXPECT_FALSE(ZoneResultsStale(*A));

    B->SetH(46); // 4.6 m
    EXPECT_TRUE(ZoneRunStale(*B, TRunKind::VOP));
    EXPECT_TRUE(ZoneRunStale(*B, TRunKind::NSP));
    B->SetH(45);
    EXPECT_FALSE(ZoneResultsStale(*B));

    project.Setpx(0.2L); // every length and volume changes with the scale
    EXPECT_TRUE(ZoneRunStale(*C, TRunKind::FL));
    EXPECT_FALSE(ZoneResultLines(nullptr).Visible);
}

TEST_F(ResultsFixture, SummaryRowsFromTheLastRuns)
{
    const std::vector<TZoneSummaryRow> rows = ProjectSummary(project);
    ASSERT_EQ(rows.size(), 3u);
    const TZoneSummaryRow& a = rows[0];
    EXPECT_EQ(a.Area, 60);
    EXPECT_EQ(a.Volume, 180);
    EXPECT_EQ(a.Sensors, 12); // the 4 × 3 grid of the standard run
    EXPECT_EQ(a.L, 2.5L);
    EXPECT_EQ(a.VOP, A->CP.value10s);
    EXPECT_EQ(a.NSP, A->CP.value12);
    EXPECT_EQ(a.value13, A->CP.value13);
    EXPECT_EQ(a.Verdict.Kind,
        RoundToInt64(A->CP.value10s) < RoundToInt64(A->CP.value12) ? TVerdictKind::InTime
                                                                   : TVerdictKind::Late);
    EXPECT_EQ(ZoneResultLines(A).Verdict, a.Verdict.Text);

    const TZoneSummaryRow& c = rows[2];
    EXPECT_FALSE(c.L || c.VOP || c.NSP);
    EXPECT_EQ(c.value13, C->CP.value13);
    EXPECT_EQ(c.Verdict.Text, ZoneVerdictText::NeedBoth);
}

TEST_F(ResultsFixture, VerdictAndSummaryFollowTheTimeThePanelShows)
{
    // Selecting the zone or moving one of its sensors recalculates the detection time of the
    // layout on the plan; the result panel shows the record's time from then on, and the
    // verdict and the summary must not keep reading the run's own figures.
    const long double runTime = A->CP.value10s;
    ASSERT_FALSE(RecalcVOP(A, 0).isNull());
    ASSERT_NE(A->CP.VOPResult, runTime) << "the ceiling-jet time of the layout differs from the tables'";
    const TZoneSummaryRow row = ZoneSummaryRow(*A);
    EXPECT_EQ(row.VOP, A->CP.VOPResult);
    EXPECT_EQ(row.Verdict.Margin, RoundToInt64(A->CP.value12) - RoundToInt64(A->CP.VOPResult));
    EXPECT_EQ(ZoneVerdictOf(*A).Text, row.Verdict.Text);
    // The run with optimisation keeps its own time: the quick recalculation is not its result.
    const TZoneSummaryRow b = ZoneSummaryRow(*B);
    EXPECT_EQ(b.VOP, DetectionTime(*B->Runs.VOP));
}
