// Tests of the project file: exact sizes and byte layout, round trips of every stored
// field, byte-identical re-saving, the version check, the sensor section's length rule,
// every refusal of a damaged file, and the atomic save.
#include "uBinaryCodec.h"
#include "uExampleProject.h"
#include "uFireClasses.h"
#include "uProjectFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <limits>
#include <unistd.h>

namespace {

using namespace ProjectFileLayout;

// --- helpers --------------------------------------------------------------------------

int32_t Int32At(const QByteArray& b, qsizetype at)
{
    TBinaryReader r(b.constData() + at, b.size() - at);
    int32_t v = 0;
    EXPECT_TRUE(r.ReadInt32(v, "test"));
    return v;
}

long double ExtendedAt(const QByteArray& b, qsizetype at)
{
    TBinaryReader r(b.constData() + at, b.size() - at);
    long double v = 0;
    EXPECT_TRUE(r.ReadExtended(v, "test"));
    return v;
}

float SingleAt(const QByteArray& b, qsizetype at)
{
    TBinaryReader r(b.constData() + at, b.size() - at);
    float v = 0;
    EXPECT_TRUE(r.ReadSingle(v, "test"));
    return v;
}

QString StringAt(const QByteArray& b, qsizetype at, int capacity)
{
    TBinaryReader r(b.constData() + at, b.size() - at);
    QString v;
    EXPECT_TRUE(r.ReadShortString(v, capacity, "test"));
    return v;
}

unsigned ByteAt(const QByteArray& b, qsizetype at)
{
    return static_cast<unsigned char>(b.at(at));
}

void PutInt32(QByteArray& b, qsizetype at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

std::unique_ptr<TFireProject> Load(const QByteArray& bytes, bool* ok, QString* error = nullptr)
{
    auto p = std::make_unique<TFireProject>();
    *ok = ProjectFromBytes(*p, bytes, error);
    return p;
}

// A project that uses every stored field with values other than the defaults.
std::unique_ptr<TFireProject> MakeRichProject()
{
    auto p = std::make_unique<TFireProject>();
    p->Name = QStringLiteral("Склад №3 «Север»");
    p->Width = 800;
    p->Height = 600;
    p->Setpx(0.25L);
    p->SetLevelsCount(3);
    p->SetActiveLevel(2);
    p->SetHydrantNetPressure(0.45L);
    p->SetHydrantNetDiameter(1.0L / 3.0L);
    p->SetHydrantNetType(THydrantNetType::htDeadend);

    TRoom* a = p->GetRoom(p->AddRoom(100, 50, 300, 200));
    TRoom* b = p->GetRoom(p->AddRoom(301, 50, 500, 200));
    a->SetName(QStringLiteral("Цех металлообработки"));
    a->SetH(12);
    b->SetH(20);
    b->SetRoomType(TRoomType::rtStairs);

    TDoor* window = a->GetDoorByGUID(a->AddDoor(20, TWallType::wtLeft, -1));
    window->SetHeight(4);
    TDoor* door = a->GetDoorByGUID(a->AddDoor(30, TWallType::wtRight, b->ID()));
    door->SetOpened(false);
    door->SetWooden(true);
    door->SetHeight(9);
    door->SetWidth(25);
    door->RecalcRect();

    TSensor* s1 = a->AddSensor();
    s1->SetName(QStringLiteral("ИП-1"));
    s1->SetAbsolutePos(TPoint { 150, 80 });
    s1->SetHeight(11);
    TSensor* s2 = a->AddSensor();
    s2->SetName(QStringLiteral("Дымовой у ворот"));
    s2->SensorType = TSensorType::stSmoke;
    s2->SetAbsolutePos(TPoint { 290, 190 });
    s2->SetCritical1(57.5L);
    s2->SetCritical2(1e-3L);
    s2->SetCritical3(-2.5L);
    s2->SetHeight(10);
    TSensor* s3 = b->AddSensor();
    s3->SensorType = TSensorType::stUnofficial;
    s3->SetAbsolutePos(TPoint { 500, 200 }); // on the zone's corner

    auto hydrant = std::make_unique<TWSFireHydrant>();
    hydrant->SetName(QStringLiteral("ПГ-12"));
    hydrant->SetX(40);
    hydrant->SetY(-15);
    p->AddWaterSource(std::move(hydrant));
    auto pier = std::make_unique<TWSPier>();
    pier->SetName(QStringLiteral("Пирс"));
    pier->SetX(600);
    pier->SetY(400);
    pier->SetV(123.456L);
    p->AddWaterSource(std::move(pier));
    return p;
}

QByteArray Resave(const QByteArray& bytes)
{
    bool ok = false;
    QString error;
    auto p = Load(bytes, &ok, &error);
    EXPECT_TRUE(ok) << error.toStdString();
    return ProjectToBytes(*p);
}

} // namespace

// Sizes and byte layout ------------------------------------------------------------------

TEST(ProjectFileLayoutTest, EmptyProjectIsVersionAndHeaderOnly)
{
    TFireProject p;
    const QByteArray bytes = ProjectToBytes(p);
    ASSERT_EQ(bytes.size(), 324);
    QByteArray expected("\x04" "0006", 5);
    expected += QByteArray(256, '\0');                  // empty name
    expected += QByteArray(16, '\0');                   // zones, RoomsNum, Width, Height
    expected += QByteArray("\0\0\0\0\0\0\0\x80\xFF\xBF", 10); // px = -1
    expected += QByteArray(4, '\0');                    // LevelsCount
    expected += QByteArray("\x01\0\0\0", 4);            // ActiveLevel 1
    expected += QByteArray(4 + 10 + 10 + 1 + 4, '\0');  // sources, pressure, diameter, type, sensors
    EXPECT_EQ(bytes, expected);
}

TEST(ProjectFileLayoutTest, RecordSizesAddUp)
{
    TFireProject p;
    TRoom* room = p.GetRoom(p.AddRoom(10, 10, 200, 100));
    room->AddSensor();
    room->AddSensor();
    EXPECT_EQ(ProjectToBytes(p).size(), 1377);

    TFireProject withPier;
    withPier.AddWaterSource(std::make_unique<TWSPier>());
    EXPECT_EQ(ProjectToBytes(withPier).size(), 324 + 541);
    TFireProject withHydrant;
    withHydrant.AddWaterSource(std::make_unique<TWSFireHydrant>());
    EXPECT_EQ(ProjectToBytes(withHydrant).size(), 324 + 531);

    EXPECT_EQ(ProjectToBytes(*MakeRichProject()).size(), 324 + 2 * 305 + 2 * 297 + 531 + 541 + 3 * 374);
}

TEST(ProjectFileLayoutTest, EveryFieldSitsAtItsOffset)
{
    TFireProject p;
    p.Name = QStringLiteral("План");
    p.Width = 640;
    p.Height = 480;
    p.Setpx(0.25L);
    p.SetLevelsCount(2);
    p.SetActiveLevel(2);
    p.SetHydrantNetPressure(2.5L);
    p.SetHydrantNetDiameter(0.1L);
    p.SetHydrantNetType(THydrantNetType::htDeadend);
    TRoom* room = p.GetRoom(p.AddRoom(10, 20, 110, 70));
    room->SetName(QStringLiteral("Зал"));
    room->SetH(12);
    TDoor* door = room->GetDoorByGUID(room->AddDoor(40, TWallType::wtTop, -1));
    door->SetWooden(true);
    auto pier = std::make_unique<TWSPier>();
    pier->SetName(QStringLiteral("Пирс"));
    pier->SetX(90); // 30 px right of and 40 px below the plan's centre (60, 45): 50 px away
    pier->SetY(85);
    pier->SetV(75.0L);
    const QString pierGUID = pier->GUID();
    p.AddWaterSource(std::move(pier));
    TSensor* s = room->AddSensor();
    s->SetName(QStringLiteral("Д-1"));
    s->SensorType = TSensorType::stSmoke;
    s->SetAbsolutePos(TPoint { 30, 40 });
    s->SetCritical1(70.0L);
    s->SetCritical2(1.5L);
    s->SetCritical3(-3.0L);
    s->SetHeight(11.0L);

    const QByteArray b = ProjectToBytes(p);
    ASSERT_EQ(b.size(), 324 + 305 + 297 + 541 + 374);

    // Header
    EXPECT_EQ(StringAt(b, 5, 255), QStringLiteral("План"));
    EXPECT_EQ(Int32At(b, 5 + 256), 1);   // zones
    EXPECT_EQ(Int32At(b, 5 + 260), 1);   // RoomsNum
    EXPECT_EQ(Int32At(b, 5 + 264), 640); // Width
    EXPECT_EQ(Int32At(b, 5 + 268), 480); // Height
    EXPECT_EQ(ExtendedAt(b, 5 + 272), 0.25L);
    EXPECT_EQ(Int32At(b, 5 + 282), 2);   // LevelsCount
    EXPECT_EQ(Int32At(b, 5 + 286), 2);   // ActiveLevel
    EXPECT_EQ(Int32At(b, 5 + 290), 1);   // water sources
    EXPECT_EQ(ExtendedAt(b, 5 + 294), 2.5L);
    EXPECT_EQ(ExtendedAt(b, 5 + 304), 0.1L);
    EXPECT_EQ(ByteAt(b, 5 + 314), 1u);   // htDeadend
    EXPECT_EQ(Int32At(b, 5 + 315), 1);   // sensors

    // Zone
    const qsizetype z = 324;
    EXPECT_EQ(StringAt(b, z, 255), QStringLiteral("Зал"));
    EXPECT_EQ(Int32At(b, z + 256), 1);
    EXPECT_EQ(Int32At(b, z + 260), 10);
    EXPECT_EQ(Int32At(b, z + 264), 20);
    EXPECT_EQ(Int32At(b, z + 268), 110);
    EXPECT_EQ(Int32At(b, z + 272), 70);
    EXPECT_EQ(SingleAt(b, z + 276), 937.5f); // 25 m x 12.5 m x 3 m
    EXPECT_EQ(Int32At(b, z + 280), 12);
    EXPECT_EQ(Int32At(b, z + 284), 1); // door records
    EXPECT_EQ(Int32At(b, z + 288), 0); // left
    EXPECT_EQ(Int32At(b, z + 292), 0); // right
    EXPECT_EQ(Int32At(b, z + 296), 1); // top
    EXPECT_EQ(Int32At(b, z + 300), 0); // bottom
    EXPECT_EQ(ByteAt(b, z + 304), 0u);

    // Door
    const qsizetype d = z + 305;
    EXPECT_EQ(StringAt(b, d, 255), door->GUID());
    EXPECT_EQ(Int32At(b, d + 256), 40);
    EXPECT_EQ(Int32At(b, d + 260), 15);
    EXPECT_EQ(Int32At(b, d + 264), 5);
    EXPECT_EQ(ByteAt(b, d + 268), 1u); // a window: it leads outside
    EXPECT_EQ(Int32At(b, d + 269), -1);
    EXPECT_EQ(Int32At(b, d + 273), 1); // holding zone
    EXPECT_EQ(ByteAt(b, d + 277), 3u); // wtTop
    EXPECT_EQ(ByteAt(b, d + 278), 1u); // Opened
    EXPECT_EQ(ByteAt(b, d + 279), 1u); // Wooden
    EXPECT_EQ(Int32At(b, d + 280), door->Rect().Left);
    EXPECT_EQ(Int32At(b, d + 292), door->Rect().Bottom);
    EXPECT_EQ(ByteAt(b, d + 296), 0u);

    // Pier
    const qsizetype w = d + 297;
    EXPECT_EQ(StringAt(b, w, 255), pierGUID);
    EXPECT_EQ(StringAt(b, w + 256, 255), QStringLiteral("Пирс"));
    EXPECT_EQ(ExtendedAt(b, w + 512), 12.5L); // 50 px at 0.25 m per pixel
    EXPECT_EQ(Int32At(b, w + 522), 90);
    EXPECT_EQ(Int32At(b, w + 526), 85);
    EXPECT_EQ(ByteAt(b, w + 530), 1u);
    EXPECT_EQ(ExtendedAt(b, w + 531), 75.0L);

    // Sensor
    const qsizetype s0 = w + 541;
    EXPECT_EQ(Int32At(b, s0), 1);
    EXPECT_EQ(StringAt(b, s0 + 4, 64), QStringLiteral("Д-1"));
    EXPECT_EQ(StringAt(b, s0 + 69, 255), s->GUID());
    EXPECT_EQ(ByteAt(b, s0 + 325), 1u);
    EXPECT_EQ(Int32At(b, s0 + 326), 30); // absolute, not relative to the zone
    EXPECT_EQ(Int32At(b, s0 + 330), 40);
    EXPECT_EQ(ExtendedAt(b, s0 + 334), 70.0L);
    EXPECT_EQ(ExtendedAt(b, s0 + 344), 1.5L);
    EXPECT_EQ(ExtendedAt(b, s0 + 354), -3.0L);
    EXPECT_EQ(ExtendedAt(b, s0 + 364), 11.0L);
}

// Round trips ------------------------------------------------------------------------------

TEST(ProjectFileRoundTrip, EveryStoredFieldComesBack)
{
    const auto original = MakeRichProject();
    bool ok = false;
    QString error;
    const auto p = Load(ProjectToBytes(*original), &ok, &error);
    ASSERT_TRUE(ok) << error.toStdString();

    EXPECT_EQ(p->Name, original->Name);
    EXPECT_EQ(p->Width, 800);
    EXPECT_EQ(p->Height, 600);
    EXPECT_EQ(p->px(), 0.25L);
    EXPECT_EQ(p->LevelsCount(), 3);
    EXPECT_EQ(p->ActiveLevel(), 2);
    EXPECT_EQ(p->HydrantNetPressure(), 0.45L);
    EXPECT_EQ(p->HydrantNetDiameter(), 1.0L / 3.0L);
    EXPECT_EQ(p->HydrantNetType(), THydrantNetType::htDeadend);
    EXPECT_EQ(p->RoomsNum, 2);
    EXPECT_FALSE(p->Modified());
    EXPECT_TRUE(p->NeedRepaint);
    EXPECT_EQ(p->GetBackgroundImage(), nullptr);

    ASSERT_EQ(p->GetRoomsCount(), 2);
    for (size_t i = 0; i < 2; ++i) {
        const TRoom& a = *original->GetRooms()[i];
        const TRoom& b = *p->GetRooms()[i];
        EXPECT_EQ(b.ID(), a.ID());
        EXPECT_EQ(b.Name(), a.Name());
        EXPECT_EQ(b.Rect(), a.Rect());
        EXPECT_EQ(b.H(), a.H());
        EXPECT_EQ(b.V(), a.V()) << "the volume is derived again from the scale";
        EXPECT_EQ(b.RoomType(), a.RoomType());
        EXPECT_EQ(b.DoorsCount, a.DoorsCount);
        EXPECT_EQ(b.DoorsLeftCount, a.DoorsLeftCount);
        EXPECT_EQ(b.DoorsRightCount, a.DoorsRightCount);
        EXPECT_EQ(b.DoorsTopCount, a.DoorsTopCount);
        EXPECT_EQ(b.DoorsBottomCount, a.DoorsBottomCount);
        EXPECT_FALSE(b.CP.CalculatedVOP) << "calculation results are not stored";
        ASSERT_EQ(b.GetDoors().size(), a.GetDoors().size());
        for (size_t k = 0; k < a.GetDoors().size(); ++k) {
            const TDoor& x = *a.GetDoors()[k];
            const TDoor& y = *b.GetDoors()[k];
            EXPECT_EQ(y.GUID(), x.GUID());
            EXPECT_EQ(y.StartPos(), x.StartPos());
            EXPECT_EQ(y.Width(), x.Width());
            EXPECT_EQ(y.Height(), x.Height());
            EXPECT_EQ(y.IsWindow(), x.IsWindow());
            EXPECT_EQ(y.OutRoom(), x.OutRoom());
            EXPECT_EQ(y.Wall(), x.Wall());
            EXPECT_EQ(y.Opened(), x.Opened());
            EXPECT_EQ(y.Wooden(), x.Wooden());
            EXPECT_EQ(y.Rect(), x.Rect());
            EXPECT_EQ(y.Parent(), &b);
        }
        ASSERT_EQ(b.GetSensors().size(), a.GetSensors().size());
        for (size_t k = 0; k < a.GetSensors().size(); ++k) {
            const TSensor& x = *a.GetSensors()[k];
            const TSensor& y = *b.GetSensors()[k];
            EXPECT_EQ(y.GUID(), x.GUID());
            EXPECT_EQ(y.Name(), x.Name());
            EXPECT_EQ(y.SensorType, x.SensorType);
            EXPECT_EQ(y.AbsolutePos(), x.AbsolutePos());
            EXPECT_EQ(y.Pos(), x.Pos());
            EXPECT_EQ(y.Critical1(), x.Critical1());
            EXPECT_EQ(y.Critical2(), x.Critical2());
            EXPECT_EQ(y.Critical3(), x.Critical3());
            EXPECT_EQ(y.Height(), x.Height());
            EXPECT_EQ(y.Range(), 20);
            EXPECT_TRUE(y.NearestSensor.isEmpty());
            EXPECT_FALSE(y.Selected());
        }
    }

    ASSERT_EQ(p->WaterSources().size(), 2u);
    const auto* hydrant = dynamic_cast<const TWSFireHydrant*>(p->WaterSources()[0].get());
    const auto* pier = dynamic_cast<const TWSPier*>(p->WaterSources()[1].get());
    ASSERT_NE(hydrant, nullptr);
    ASSERT_NE(pier, nullptr);
    EXPECT_EQ(hydrant->GUID(), original->WaterSources()[0]->GUID());
    EXPECT_EQ(hydrant->Name(), QStringLiteral("ПГ-12"));
    EXPECT_EQ(hydrant->X(), 40);
    EXPECT_EQ(hydrant->Y(), -15);
    EXPECT_EQ(hydrant->Parent(), p.get());
    EXPECT_EQ(pier->GUID(), original->WaterSources()[1]->GUID());
    EXPECT_EQ(pier->V(), 123.456L);
    EXPECT_EQ(pier->GetDistance(), original->WaterSources()[1]->GetDistance());

    // The numbering goes on where the saved project stopped.
    EXPECT_EQ(p->AddRoom(600, 300, 700, 400), 3);
}

TEST(ProjectFileRoundTrip, LongNamesAreCutToTheirFieldAndForeignCharactersReplaced)
{
    TFireProject p;
    const QString longZone = QString(300, QChar(0x0416)); // 300 x "Ж"
    const QString longSensor = QStringLiteral("Датчик ") + QString(70, QChar('x'));
    p.Name = QStringLiteral("Проект ✓ 中");
    TRoom* room = p.GetRoom(p.AddRoom(0, 0, 50, 50));
    room->SetName(longZone);
    room->AddSensor()->SetName(longSensor);

    bool ok = false;
    const auto back = Load(ProjectToBytes(p), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(back->Name, QStringLiteral("Проект ? ?"));
    EXPECT_EQ(back->GetRooms()[0]->Name(), longZone.left(255));
    EXPECT_EQ(back->GetRooms()[0]->GetSensors()[0]->Name(), longSensor.left(64));
}

TEST(ProjectFileRoundTrip, ResavingIsByteIdentical)
{
    const QByteArray rich = ProjectToBytes(*MakeRichProject());
    EXPECT_EQ(Resave(rich), rich);
    const QByteArray example = ProjectToBytes(*MakeExampleProject());
    EXPECT_EQ(Resave(example), example);
    const QByteArray empty = ProjectToBytes(TFireProject());
    EXPECT_EQ(Resave(empty), empty);
}

TEST(ProjectFileRoundTrip, FilesOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("проект.fsp"));
    auto original = MakeRichProject();
    ASSERT_TRUE(original->Modified());
    QString error;
    ASSERT_TRUE(original->SaveToFile(path, &error)) << error.toStdString();
    EXPECT_FALSE(original->Modified());

    TFireProject loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(loaded.GetSensorsCount(), 3);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), ProjectToBytes(*original));
}

// Refusals and the sensor length rule -------------------------------------------------------

TEST(ProjectFileLoad, VersionMustBe0006)
{
    QByteArray bytes = ProjectToBytes(*MakeRichProject());
    bytes[4] = '5';
    bool ok = true;
    QString error;
    const auto p = Load(bytes, &ok, &error);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(QStringLiteral("0005"))) << error.toStdString();
    EXPECT_EQ(p->GetRoomsCount(), 0);

    bytes[4] = '6';
    bytes[0] = 3; // "000" is not "0006" either
    Load(bytes, &ok);
    EXPECT_FALSE(ok);
    Load(QByteArray("\x04" "000", 4), &ok);
    EXPECT_FALSE(ok);
    Load(QByteArray(), &ok);
    EXPECT_FALSE(ok);
}

TEST(ProjectFileLoad, SensorSectionOfTheWrongLengthIsDropped)
{
    const QByteArray good = ProjectToBytes(*MakeRichProject());
    bool ok = false;
    auto p = Load(good + '\0', &ok);
    ASSERT_TRUE(ok) << "one stray byte: the project loads without sensors";
    EXPECT_EQ(p->GetRoomsCount(), 2);
    EXPECT_EQ(p->GetSensorsCount(), 0);
    EXPECT_EQ(p->WaterSources().size(), 2u);
    EXPECT_EQ(p->GetRooms()[0]->GetDoors().size(), 2u);

    // A sensor count in the header that does not match the records has the same effect.
    QByteArray miscounted = good;
    PutInt32(miscounted, 5 + 315, 2);
    p = Load(miscounted, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p->GetSensorsCount(), 0);
    PutInt32(miscounted, 5 + 315, -1);
    p = Load(miscounted, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p->GetSensorsCount(), 0);
}

TEST(ProjectFileLoad, DamagedFilesFailWithoutAHalfFilledProject)
{
    const QByteArray good = ProjectToBytes(*MakeRichProject());
    const qsizetype firstZone = 324, firstDoor = 324 + 2 * 305, firstSource = firstDoor + 2 * 297;
    const qsizetype firstSensor = firstSource + 531 + 541;
    struct TCase {
        const char* what;
        qsizetype at;
        int32_t value;
        const char* reason; // a word the error must contain
    };
    const TCase cases[] = {
        { "negative zone count", 5 + 256, -1, "negative" },
        { "zone count far beyond the file", 5 + 256, 1000000, "do not fit" },
        { "negative door count", firstZone + 284, -5, "negative" },
        { "door count beyond the file", firstZone + 284, INT32_MAX, "do not fit" },
        { "water-source count beyond the file", 5 + 290, 50, "do not fit" },
        { "door in a zone the file does not have", firstDoor + 273, 99, "zone 99" },
        { "sensor in a zone the file does not have", firstSensor, 77, "zone 77" },
        { "sensor further from its zone than 32 bits hold", firstSensor + 326, INT32_MIN, "plan limits" },
    };
    for (const TCase& c : cases) {
        QByteArray bytes = good;
        PutInt32(bytes, c.at, c.value);
        bool ok = true;
        QString error;
        const auto p = Load(bytes, &ok, &error);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << c.what << ": " << error.toStdString();
        EXPECT_EQ(p->GetRoomsCount(), 0) << c.what;
        EXPECT_TRUE(p->WaterSources().empty()) << c.what;
    }

    // Enumeration bytes outside their range.
    const std::pair<const char*, qsizetype> enums[] = {
        { "HydrantNetType", 5 + 314 }, { "RoomType", firstZone + 304 }, { "Wall", firstDoor + 277 },
        { "SensorType", firstSensor + 325 } };
    for (const auto& [what, at] : enums) {
        QByteArray bytes = good;
        bytes[at] = 9;
        bool ok = true;
        QString error;
        Load(bytes, &ok, &error);
        EXPECT_FALSE(ok) << what;
        EXPECT_TRUE(error.contains(QString::fromLatin1(what))) << error.toStdString();
    }

    // Cut short anywhere before the sensor section: the error names the field, or the
    // records that no longer fit.
    for (qsizetype cut : { qsizetype(5), qsizetype(100), firstZone + 10, firstDoor + 296, firstSource + 530,
                           firstSource + 531 + 535 }) {
        bool ok = true;
        QString error;
        const auto p = Load(good.left(cut), &ok, &error);
        EXPECT_FALSE(ok) << "cut at " << cut;
        EXPECT_TRUE(error.contains(QStringLiteral("ends inside")) || error.contains(QStringLiteral("do not fit")))
            << error.toStdString();
        EXPECT_EQ(p->GetRoomsCount(), 0);
    }
}

TEST(ProjectFileLoad, PlanValuesBeyondThePlanLimitsAreRefused)
{
    // Values the editor would compute with in 32 bits until they overflow: refused with the
    // load failure, while the limits themselves still load.
    const QByteArray good = ProjectToBytes(*MakeRichProject());
    const qsizetype firstZone = 324, firstDoor = 324 + 2 * 305, firstSource = firstDoor + 2 * 297;
    const qsizetype firstSensor = firstSource + 531 + 541;
    const int32_t lim = PlanLimits::Coordinate;
    struct TCase {
        const char* what;
        qsizetype at;
        int32_t bad, fine;
    };
    const TCase cases[] = {
        { "zone Rect", firstZone + 260, INT32_MIN, -lim },
        { "zone Rect", firstZone + 264, -lim - 1, -lim },
        { "zone Rect", firstZone + 268, lim + 1, lim },
        { "zone Rect", firstZone + 272, INT32_MAX, lim },
        { "zone H", firstZone + 280, INT32_MIN, 0 },
        { "door StartPos", firstDoor + 256, INT32_MAX - 10, 0 },
        { "door Width", firstDoor + 260, INT32_MAX, 1 },
        { "door Height", firstDoor + 264, INT32_MIN, -lim },
        { "water source X", firstSource + 522, INT32_MAX, lim },
        { "water source Y", firstSource + 531 + 526, INT32_MIN + 1, -lim },
        { "sensor x", firstSensor + 326, lim + 1, lim },
        { "sensor y", firstSensor + 330, -lim - 1, -lim },
        { "plan canvas", 5 + 264, -1, 0 },
        { "plan canvas", 5 + 268, lim + 1, 1 },
        { "plan canvas", 5 + 264, 200000, 100000 }, // by area, with the height of 600
    };
    for (const TCase& c : cases) {
        QByteArray bytes = good;
        PutInt32(bytes, c.at, c.bad);
        bool ok = true;
        QString error;
        const auto p = Load(bytes, &ok, &error);
        EXPECT_FALSE(ok) << c.what << " = " << c.bad;
        EXPECT_TRUE(error.contains(QStringLiteral("plan limits")) && error.contains(QString::fromLatin1(c.what)))
            << error.toStdString();
        EXPECT_EQ(p->GetRoomsCount(), 0);
        PutInt32(bytes, c.at, c.fine);
        Load(bytes, &ok, &error);
        EXPECT_TRUE(ok) << c.what << " = " << c.fine << ": " << error.toStdString();
    }

    // The scale: not finite, or more than the limit of metres per pixel.
    for (const long double px : { std::numeric_limits<long double>::quiet_NaN(),
                                  std::numeric_limits<long double>::infinity(), PlanLimits::Scale * 2 }) {
        QByteArray bytes = good;
        unsigned char encoded[ExtendedSize];
        EncodeExtended(px, encoded);
        bytes.replace(5 + 272, ExtendedSize, QByteArray(reinterpret_cast<const char*>(encoded), ExtendedSize));
        bool ok = true;
        QString error;
        Load(bytes, &ok, &error);
        EXPECT_FALSE(ok) << static_cast<double>(px);
        EXPECT_TRUE(error.contains(QStringLiteral("scale"))) << error.toStdString();
    }
    for (const long double px : { -1e4000L, 1e-4000L, PlanLimits::Scale }) {
        QByteArray bytes = good;
        unsigned char encoded[ExtendedSize];
        EncodeExtended(px, encoded);
        bytes.replace(5 + 272, ExtendedSize, QByteArray(reinterpret_cast<const char*>(encoded), ExtendedSize));
        bool ok = false;
        Load(bytes, &ok);
        EXPECT_TRUE(ok) << "no scale, or a tiny or the largest one";
    }
}

TEST(ProjectFileLoad, AnotherVersionIsNamedWithItsBytesEscaped)
{
    QByteArray bytes = ProjectToBytes(*MakeRichProject());
    bytes.replace(1, 4, QByteArray("\x1b[\xff\"", 4));
    bool ok = true;
    QString error;
    Load(bytes, &ok, &error);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(QStringLiteral("\"\\x1b[\\xff\\x22\""))) << error.toStdString();
    for (const QChar c : error)
        EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7F) << "raw byte " << int(c.unicode()) << " in the message";
}

TEST(ProjectFileLoad, UnknownWaterSourceKindIsSkipped)
{
    QByteArray bytes = ProjectToBytes(*MakeRichProject());
    const qsizetype firstSource = 324 + 2 * 305 + 2 * 297;
    bytes[firstSource + 530] = 7; // the hydrant becomes an unknown kind
    bool ok = false;
    const auto p = Load(bytes, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(p->WaterSources().size(), 1u);
    EXPECT_NE(dynamic_cast<const TWSPier*>(p->WaterSources()[0].get()), nullptr);
    EXPECT_EQ(p->GetSensorsCount(), 3) << "the records after it are read from their places";
}

TEST(ProjectFileLoad, RefusesAProjectThatIsNotEmptyAndMissingFiles)
{
    TFireProject p;
    p.AddRoom(0, 0, 10, 10);
    QString error;
    EXPECT_FALSE(ProjectFromBytes(p, ProjectToBytes(*MakeRichProject()), &error));
    EXPECT_EQ(p.GetRoomsCount(), 1) << "the project is left as it was";

    TFireProject fresh;
    EXPECT_FALSE(fresh.LoadFromFile(QStringLiteral("/nonexistent/folder/x.fsp"), &error));
    EXPECT_FALSE(error.isEmpty());
    QTemporaryDir dir;
    EXPECT_FALSE(fresh.LoadFromFile(dir.path(), &error)) << "a folder is not a project file";
}

TEST(ProjectFileLoad, RoomsNumNeverLagsBehindTheStoredZoneIDs)
{
    QByteArray bytes = ProjectToBytes(*MakeRichProject());
    PutInt32(bytes, 5 + 260, 1); // RoomsNum 1, but zones 1 and 2 exist
    bool ok = false;
    const auto p = Load(bytes, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p->RoomsNum, 2);
    EXPECT_EQ(p->AddRoom(600, 300, 700, 400), 3) << "a new zone never repeats an existing ID";
}

// Saving -------------------------------------------------------------------------------------

TEST(ProjectFileSave, FailedSaveKeepsThePreviousFileAndReportsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto p = MakeRichProject();
    QString error;
    EXPECT_FALSE(p->SaveToFile(dir.filePath(QStringLiteral("missing/sub/x.fsp")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(p->Modified()) << "a failed save leaves the project unsaved";
    EXPECT_FALSE(p->SaveToFile(QString(), &error));

    // Replacing an existing file leaves only the new file, no temporary beside it.
    const QString path = dir.filePath(QStringLiteral("a.fsp"));
    ASSERT_TRUE(TFireProject().SaveToFile(path));
    ASSERT_TRUE(p->SaveToFile(path, &error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("a.fsp") });
    EXPECT_EQ(QFileInfo(path).size(), ProjectToBytes(*p).size());

}

TEST(ProjectFileSave, UnwritableFolderKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto p = MakeRichProject();
    QString error;
    // A folder in which no temporary file can be made: the old file stays untouched.
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: write protection does not apply";
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    const QString target = locked + QStringLiteral("/b.fsp");
    ASSERT_TRUE(TFireProject().SaveToFile(target));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    p->SetModified(true);
    EXPECT_FALSE(p->SaveToFile(target, &error));
    EXPECT_TRUE(p->Modified());
    EXPECT_EQ(QFileInfo(target).size(), 324);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
