// Tests of the project file's byte encoding: exact bytes of known values, round trips,
// short-string cutting and padding, and reads that run into the end of the data.
#include "uBinaryCodec.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<unsigned> Bytes(const QByteArray& data)
{
    std::vector<unsigned> out;
    for (char c : data)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

std::vector<unsigned> ExtendedBytes(long double value)
{
    unsigned char raw[ExtendedSize];
    EncodeExtended(value, raw);
    return std::vector<unsigned>(raw, raw + ExtendedSize);
}

long double FromBytes(std::vector<unsigned> bytes)
{
    unsigned char raw[ExtendedSize];
    for (int i = 0; i < ExtendedSize; ++i)
        raw[i] = static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    return DecodeExtended(raw);
}

constexpr bool LongDoubleIsX87 = LDBL_MANT_DIG == 64;

} // namespace

// Extended reals: the exact bytes other installations expect ---------------------------

TEST(BinaryCodecExtended, KnownValuesHaveTheX87Bytes)
{
    EXPECT_EQ(ExtendedBytes(1.0L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F }));
    EXPECT_EQ(ExtendedBytes(-1.0L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF }));
    EXPECT_EQ(ExtendedBytes(-2.5L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0 }));
    EXPECT_EQ(ExtendedBytes(343.0L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0x80, 0xAB, 0x07, 0x40 }));
    EXPECT_EQ(ExtendedBytes(0.0L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(ExtendedBytes(-0.0L), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80 }));
    // A double 0.1 keeps its 53 bits: the low 11 significand bits stay zero.
    EXPECT_EQ(ExtendedBytes(static_cast<long double>(0.1)),
              (std::vector<unsigned> { 0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F }));
    if (LongDoubleIsX87) {
        EXPECT_EQ(ExtendedBytes(0.1L), (std::vector<unsigned> { 0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F }));
    }
}

TEST(BinaryCodecExtended, SpecialValues)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(ExtendedBytes(inf), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F }));
    EXPECT_EQ(ExtendedBytes(-inf), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF }));
    EXPECT_EQ(ExtendedBytes(std::numeric_limits<long double>::quiet_NaN())[7], 0xC0u);
    EXPECT_TRUE(std::isnan(FromBytes({ 1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F })));
    EXPECT_EQ(FromBytes({ 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF }), -inf);
    EXPECT_TRUE(std::signbit(FromBytes({ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80 })));
    // An "unnormal" (leading bit clear, exponent set) decodes to what its bits denote.
    EXPECT_EQ(FromBytes({ 0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F }), 0.5L);
}

TEST(BinaryCodecExtended, DenormalsAndRangeLimits)
{
    if (!LongDoubleIsX87)
        GTEST_SKIP() << "long double cannot hold the extended range here";
    const long double smallest = std::numeric_limits<long double>::denorm_min();
    EXPECT_EQ(ExtendedBytes(smallest), (std::vector<unsigned> { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(FromBytes({ 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 }), smallest);
    const long double smallestNormal = std::numeric_limits<long double>::min();
    EXPECT_EQ(ExtendedBytes(smallestNormal), (std::vector<unsigned> { 0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00 }));
    // The largest denormal and a pseudo-denormal (leading bit set, exponent 0).
    EXPECT_EQ(FromBytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0 }), smallestNormal - smallest);
    EXPECT_EQ(FromBytes({ 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0 }), smallestNormal);
    const long double largest = std::numeric_limits<long double>::max();
    EXPECT_EQ(ExtendedBytes(largest), (std::vector<unsigned> { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F }));
}

TEST(BinaryCodecExtended, RoundTripsKeepEveryBit)
{
    const long double values[] = { 1.0L, -1.0L, 0.25L, 3.1L, 1.0L / 3.0L, 12345.678L, -1e-300L, 1e300L,
                                   std::ldexp(1.0L, -1000), 0.022L, 14002.0L, -0.0L,
                                   std::numeric_limits<long double>::max(),
                                   std::numeric_limits<long double>::min(),
                                   std::numeric_limits<long double>::denorm_min() };
    for (long double v : values) {
        unsigned char raw[ExtendedSize];
        EncodeExtended(v, raw);
        const long double back = DecodeExtended(raw);
        EXPECT_EQ(back, v) << static_cast<double>(v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
        unsigned char again[ExtendedSize];
        EncodeExtended(back, again);
        EXPECT_EQ(std::vector<unsigned>(raw, raw + ExtendedSize), std::vector<unsigned>(again, again + ExtendedSize));
    }
}

// Integers, bytes, singles and short strings -------------------------------------------

TEST(BinaryCodecWriter, IntegersAndSinglesAreLittleEndian)
{
    TBinaryWriter w;
    w.WriteInt32(1);
    w.WriteInt32(-1);
    w.WriteInt32(0x12345678);
    w.WriteBool(true);
    w.WriteByte(200);
    w.WriteSingle(1.0L);
    w.WriteSingle(1e60L); // beyond single range: infinity, not undefined behaviour
    EXPECT_EQ(Bytes(w.Data()),
              (std::vector<unsigned> { 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 1, 200,
                                       0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x7F }));
}

TEST(BinaryCodecWriter, ShortStringsAreCp1251CutAndZeroPadded)
{
    TBinaryWriter w;
    w.WriteShortString(QStringLiteral("0006"), 4);
    EXPECT_EQ(Bytes(w.Data()), (std::vector<unsigned> { 4, '0', '0', '0', '6' }));

    TBinaryWriter cyr;
    cyr.WriteShortString(QStringLiteral("Зал"), 6);
    EXPECT_EQ(Bytes(cyr.Data()), (std::vector<unsigned> { 3, 0xC7, 0xE0, 0xEB, 0, 0, 0 }));

    TBinaryWriter cut;
    cut.WriteShortString(QStringLiteral("Помещение"), 4);
    EXPECT_EQ(Bytes(cut.Data()), (std::vector<unsigned> { 4, 0xCF, 0xEE, 0xEC, 0xE5 }));

    TBinaryWriter empty;
    empty.WriteShortString(QString(), 255);
    EXPECT_EQ(empty.Size(), 256);
    EXPECT_EQ(empty.Data(), QByteArray(256, '\0'));
}

// Reading, and every way a read can fail ------------------------------------------------

TEST(BinaryCodecReader, ReadsBackWhatWasWritten)
{
    TBinaryWriter w;
    w.WriteInt32(-123456);
    w.WriteBool(true);
    w.WriteByte(4);
    w.WriteSingle(2.5L);
    w.WriteExtended(-0.25L);
    w.WriteShortString(QStringLiteral("Датчик №1 — «склад»"), 64);
    TBinaryReader r(w.Data());
    int32_t i = 0;
    bool b = false;
    uint8_t k = 0;
    float f = 0;
    long double e = 0;
    QString s;
    EXPECT_TRUE(r.ReadInt32(i, "i") && r.ReadBool(b, "b") && r.ReadByte(k, "k") && r.ReadSingle(f, "f")
                && r.ReadExtended(e, "e") && r.ReadShortString(s, 64, "s"));
    EXPECT_EQ(i, -123456);
    EXPECT_TRUE(b);
    EXPECT_EQ(k, 4);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(e, -0.25L);
    EXPECT_EQ(s, QStringLiteral("Датчик №1 — «склад»"));
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_FALSE(r.Failed());
}

TEST(BinaryCodecReader, OverlongLengthByteStaysInsideItsField)
{
    // Length 200 in a field of capacity 3: only the three text bytes are taken, and the
    // next field is read from its own place.
    const QByteArray data("\xC8" "abc" "\x07\x00\x00\x00", 8);
    TBinaryReader r(data);
    QString s;
    int32_t next = 0;
    ASSERT_TRUE(r.ReadShortString(s, 3, "name"));
    ASSERT_TRUE(r.ReadInt32(next, "next"));
    EXPECT_EQ(s, QStringLiteral("abc"));
    EXPECT_EQ(next, 7);
}

TEST(BinaryCodecReader, ReadPastTheEndFailsNamingTheField)
{
    const QByteArray data("\x01\x02\x03", 3);
    TBinaryReader r(data);
    int32_t value = 42;
    EXPECT_FALSE(r.ReadInt32(value, "zone ID"));
    EXPECT_EQ(value, 42) << "a failed read stores nothing";
    EXPECT_TRUE(r.Failed());
    EXPECT_TRUE(r.Error().contains(QStringLiteral("zone ID"))) << r.Error().toStdString();
    EXPECT_EQ(r.Position(), 0);
    // The failure is sticky: even a read that would fit now fails, and the first error stays.
    uint8_t byte = 0;
    EXPECT_FALSE(r.ReadByte(byte, "other"));
    EXPECT_TRUE(r.Error().contains(QStringLiteral("zone ID")));
}

TEST(BinaryCodecReader, EveryKindFailsCleanlyAtTheEnd)
{
    const QByteArray nine(9, '\x11');
    long double e = 0;
    EXPECT_FALSE(TBinaryReader(nine).ReadExtended(e, "px"));
    QString s;
    EXPECT_FALSE(TBinaryReader(nine).ReadShortString(s, 255, "Name"));
    float f = 0;
    const QByteArray three = nine.left(3);
    EXPECT_FALSE(TBinaryReader(three).ReadSingle(f, "V"));
    bool b = false;
    const QByteArray none;
    EXPECT_FALSE(TBinaryReader(none).ReadBool(b, "IsWindow"));
    TBinaryReader skip(nine);
    EXPECT_FALSE(skip.Skip(10, "reserved"));
    EXPECT_FALSE(TBinaryReader(nine).Skip(-1, "negative"));
    EXPECT_TRUE(TBinaryReader(nine).Skip(9, "all"));
    TBinaryReader null(nullptr, 100);
    uint8_t byte = 0;
    EXPECT_FALSE(null.ReadByte(byte, "byte")) << "no data means size 0";
}

TEST(BinaryCodecReader, CallerFailureKeepsTheFirstMessage)
{
    const QByteArray data(4, '\0');
    TBinaryReader r(data);
    EXPECT_FALSE(r.Fail(QStringLiteral("first")));
    EXPECT_FALSE(r.Fail(QStringLiteral("second")));
    EXPECT_EQ(r.Error(), QStringLiteral("first"));
    int32_t v = 0;
    EXPECT_FALSE(r.ReadInt32(v, "after"));
}
