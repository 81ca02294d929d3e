// Byte encoding of the project file; see uBinaryCodec.h.
#include "uBinaryCodec.h"

#include "uCodePage.h"
#include "uNumberText.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr int ExtendedBias = 16383;
constexpr int ExtendedMaxExponent = 0x7FFF;
// A denormal extended real is significand x 2^-16445 (exponent field 0, which counts as 1,
// less the bias and the 63 fraction bits).
constexpr int DenormalShift = ExtendedBias - 1 + 63;
constexpr uint64_t LeadingBit = uint64_t(1) << 63;
// 2^64 as a long double: exact on every format (also a 64-bit double).
const long double TwoPow64 = std::ldexp(1.0L, 64);

void PutLE(unsigned char* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool IsAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

uint64_t GetLE(const unsigned char* in, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t(in[i]) << (8 * i);
    return value;
}

} // namespace

void EncodeExtended(long double value, unsigned char out[ExtendedSize])
{
    const bool negative = std::signbit(value);
    uint64_t significand = 0;
    int exponent = 0;
    if (std::isnan(value)) {
        exponent = ExtendedMaxExponent;
        significand = LeadingBit | (LeadingBit >> 1); // the quiet NaN
    } else if (std::isinf(value)) {
        exponent = ExtendedMaxExponent;
        significand = LeadingBit;
    } else if (value != 0) {
        const long double magnitude = std::fabs(value);
        int binaryExponent = 0;
        const long double fraction = std::frexp(magnitude, &binaryExponent); // in [0.5, 1)
        exponent = binaryExponent - 1 + ExtendedBias;
        long double scaled;
        if (exponent >= 1) {
            scaled = RoundHalfEven(std::ldexp(fraction, 64));
            if (scaled >= TwoPow64) { // rounding carried into a new leading bit
                scaled = std::ldexp(scaled, -1);
                ++exponent;
            }
        } else {
            exponent = 0;
            scaled = RoundHalfEven(std::ldexp(magnitude, DenormalShift));
            if (scaled >= std::ldexp(1.0L, 63)) // rounded up to the smallest normal value
                exponent = 1;
        }
        if (exponent >= ExtendedMaxExponent) {
            exponent = ExtendedMaxExponent;
            significand = LeadingBit;
        } else {
            significand = static_cast<uint64_t>(scaled);
        }
    }
    PutLE(out, significand, 8);
    PutLE(out + 8, (negative ? 0x8000u : 0u) | static_cast<unsigned>(exponent), 2);
}

long double DecodeExtended(const unsigned char in[ExtendedSize])
{
    const uint64_t significand = GetLE(in, 8);
    const unsigned signExponent = static_cast<unsigned>(GetLE(in + 8, 2));
    const bool negative = (signExponent & 0x8000u) != 0;
    const int exponent = static_cast<int>(signExponent & 0x7FFFu);
    long double value;
    if (exponent == ExtendedMaxExponent) {
        if ((significand << 1) == 0)
            value = std::numeric_limits<long double>::infinity();
        else
            value = std::numeric_limits<long double>::quiet_NaN();
    } else if (exponent == 0) {
        value = std::ldexp(static_cast<long double>(significand), -DenormalShift);
    } else {
        value = std::ldexp(static_cast<long double>(significand), exponent - ExtendedBias - 63);
    }
    return negative ? -value : value;
}

// ---------------------------------------------------------------------------------------

TBinaryWriter::TBinaryWriter(qsizetype expectedSize)
{
    if (expectedSize > 0)
        FData.reserve(expectedSize);
}

void TBinaryWriter::WriteInt32(int32_t value)
{
    unsigned char bytes[4];
    PutLE(bytes, static_cast<uint32_t>(value), 4);
    FData.append(reinterpret_cast<const char*>(bytes), 4);
}

void TBinaryWriter::WriteByte(uint8_t value)
{
    FData.append(static_cast<char>(value));
}

void TBinaryWriter::WriteBool(bool value)
{
    WriteByte(value ? 1 : 0);
}

void TBinaryWriter::WriteSingle(long double value)
{
    float single;
    if (std::isnan(value))
        single = std::numeric_limits<float>::quiet_NaN();
    else if (value > FLT_MAX)
        single = std::numeric_limits<float>::infinity();
    else if (value < -FLT_MAX)
        single = -std::numeric_limits<float>::infinity();
    else
        single = static_cast<float>(value);
    unsigned char bytes[4];
    PutLE(bytes, std::bit_cast<uint32_t>(single), 4);
    FData.append(reinterpret_cast<const char*>(bytes), 4);
}

void TBinaryWriter::WriteExtended(long double value)
{
    unsigned char bytes[ExtendedSize];
    EncodeExtended(value, bytes);
    FData.append(reinterpret_cast<const char*>(bytes), ExtendedSize);
}

void TBinaryWriter::WriteShortString(const QString& text, int capacity)
{
    if (capacity < 1)
        capacity = 1;
    if (capacity > 255)
        capacity = 255;
    // GUIDs and most names of a large project are plain ASCII, which Windows-1251 keeps
    // byte for byte; only other texts go through the code-page converter.
    if (IsAscii(text)) {
        const qsizetype length = std::min<qsizetype>(text.size(), capacity);
        WriteByte(static_cast<uint8_t>(length));
        const QChar* chars = text.constData();
        for (qsizetype i = 0; i < length; ++i)
            FData.append(static_cast<char>(chars[i].unicode()));
        WriteZeros(capacity - length);
        return;
    }
    std::string bytes = ToCp1251(text);
    if (bytes.size() > static_cast<size_t>(capacity))
        bytes.resize(static_cast<size_t>(capacity));
    WriteByte(static_cast<uint8_t>(bytes.size()));
    FData.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    WriteZeros(capacity - static_cast<qsizetype>(bytes.size()));
}

void TBinaryWriter::WriteZeros(qsizetype count)
{
    if (count > 0)
        FData.append(count, '\0');
}

// ---------------------------------------------------------------------------------------

TBinaryReader::TBinaryReader(const char* data, qsizetype size)
    : FData(reinterpret_cast<const unsigned char*>(data)), FSize(size < 0 || !data ? 0 : size)
{
}

TBinaryReader::TBinaryReader(const QByteArray& data)
    : TBinaryReader(data.constData(), data.size())
{
}

bool TBinaryReader::Need(qsizetype count, const char* field)
{
    if (FFailed)
        return false;
    if (count < 0 || count > FSize - FPos) {
        FFailed = true;
        FError = QStringLiteral("the data ends inside %1 (offset %2, %3 bytes needed, %4 left)")
                     .arg(QString::fromUtf8(field))
                     .arg(FPos)
                     .arg(count)
                     .arg(FSize - FPos);
        return false;
    }
    return true;
}

bool TBinaryReader::Fail(const QString& message)
{
    if (!FFailed) {
        FFailed = true;
        FError = message;
    }
    return false;
}

bool TBinaryReader::ReadInt32(int32_t& value, const char* field)
{
    if (!Need(4, field))
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(GetLE(FData + FPos, 4)));
    FPos += 4;
    return true;
}

bool TBinaryReader::ReadByte(uint8_t& value, const char* field)
{
    if (!Need(1, field))
        return false;
    value = FData[FPos++];
    return true;
}

bool TBinaryReader::ReadBool(bool& value, const char* field)
{
    uint8_t byte = 0;
    if (!ReadByte(byte, field))
        return false;
    value = byte != 0;
    return true;
}

bool TBinaryReader::ReadSingle(float& value, const char* field)
{
    if (!Need(4, field))
        return false;
    value = std::bit_cast<float>(static_cast<uint32_t>(GetLE(FData + FPos, 4)));
    FPos += 4;
    return true;
}

bool TBinaryReader::ReadExtended(long double& value, const char* field)
{
    if (!Need(ExtendedSize, field))
        return false;
    value = DecodeExtended(FData + FPos);
    FPos += ExtendedSize;
    return true;
}

bool TBinaryReader::ReadShortString(QString& value, int capacity, const char* field)
{
    if (capacity < 1)
        capacity = 1;
    if (capacity > 255)
        capacity = 255;
    if (!Need(capacity + 1, field))
        return false;
    int length = FData[FPos];
    if (length > capacity)
        length = capacity;
    const unsigned char* text = FData + FPos + 1;
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i)
        ascii = text[i] < 0x80;
    if (ascii)
        value = QString::fromLatin1(reinterpret_cast<const char*>(text), length);
    else
        value = FromCp1251(std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length)));
    FPos += capacity + 1;
    return true;
}

bool TBinaryReader::Skip(qsizetype count, const char* field)
{
    if (!Need(count, field))
        return false;
    FPos += count;
    return true;
}
