// Byte encoding of the project file: 32-bit little-endian integers, bytes and Booleans,
// IEEE single reals, 10-byte x87 extended reals and Pascal-style short strings in
// Windows-1251. Writing appends to a growing buffer; reading goes through a bounds-checked
// cursor that never touches a byte past the end of its data.
//
// The extended format is built and taken apart by arithmetic (sign, biased exponent and
// the 64-bit significand with its explicit leading bit), never by copying the memory of a
// `long double`, so the same bytes come out on every compiler and processor.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Size in bytes of one encoded extended real.
inline constexpr int ExtendedSize = 10;

// Encodes `value` as an x87 80-bit extended real into out[0..9]: bytes 0-7 the significand
// (explicit leading bit), bytes 8-9 the sign (bit 15) and the exponent (bias 16383), all
// little-endian. Values the format cannot hold exactly are rounded to 64 significant bits
// (ties to even); magnitudes beyond its range become infinities, below it zeros; NaN is
// written as the quiet NaN with the sign of `value`.
void EncodeExtended(long double value, unsigned char out[ExtendedSize]);

// Decodes an x87 extended real from in[0..9]. Infinities and NaNs decode as such;
// a pseudo-denormal or an "unnormal" (leading bit clear with a non-zero exponent) decodes
// to the value its significand and exponent denote. Where `long double` is narrower than
// the format, the value is rounded to it (and may become 0 or infinity).
long double DecodeExtended(const unsigned char in[ExtendedSize]);

// Appends encoded values to a byte buffer. Never fails (the buffer grows as needed).
class TBinaryWriter {
public:
    // Reserves room for `expectedSize` bytes, so a large project is written without regrowth.
    explicit TBinaryWriter(qsizetype expectedSize = 0);

    void WriteInt32(int32_t value);
    void WriteByte(uint8_t value);
    void WriteBool(bool value); // 1 for true, 0 for false
    // An IEEE binary32 value; out-of-range magnitudes become infinities (never undefined).
    void WriteSingle(long double value);
    void WriteExtended(long double value);
    // A short string of capacity `capacity` (1..255): one length byte, then the text in
    // Windows-1251 cut to `capacity` bytes, then zeros up to capacity + 1 bytes in all.
    // Characters outside the code page are written as '?'.
    void WriteShortString(const QString& text, int capacity);
    void WriteZeros(qsizetype count);

    const QByteArray& Data() const { return FData; }
    qsizetype Size() const { return FData.size(); }

private:
    QByteArray FData;
};

// Reads encoded values from a byte range it does not own (the range must outlive it).
// Every read names its field. A read that would pass the end of the data stores nothing,
// returns false and records an error naming the field and its offset; after the first
// failure every further read fails too, so a caller may check once at the end of a record.
class TBinaryReader {
public:
    TBinaryReader(const char* data, qsizetype size);
    explicit TBinaryReader(const QByteArray& data);
    // A temporary buffer would be gone before the first read.
    explicit TBinaryReader(QByteArray&&) = delete;

    bool ReadInt32(int32_t& value, const char* field);
    bool ReadByte(uint8_t& value, const char* field);
    bool ReadBool(bool& value, const char* field); // any non-zero byte is true
    bool ReadSingle(float& value, const char* field);
    bool ReadExtended(long double& value, const char* field);
    // A short string of capacity `capacity`: consumes capacity + 1 bytes. A length byte
    // greater than the capacity (a damaged file) is taken as the capacity, so the text never
    // reaches into the next field. Decoded from Windows-1251.
    bool ReadShortString(QString& value, int capacity, const char* field);
    // Skips `count` bytes (count >= 0).
    bool Skip(qsizetype count, const char* field);

    // Records a failure found by the caller (a value the file may not hold) unless an
    // earlier failure is recorded already; always returns false.
    bool Fail(const QString& message);

    qsizetype Position() const { return FPos; }
    qsizetype Size() const { return FSize; }
    qsizetype Remaining() const { return FSize - FPos; }
    bool Failed() const { return FFailed; }
    // Text of the first failure, empty while nothing failed.
    const QString& Error() const { return FError; }

private:
    // True if `count` more bytes are available; otherwise records the failure for `field`.
    bool Need(qsizetype count, const char* field);

    const unsigned char* FData;
    qsizetype FSize;
    qsizetype FPos = 0;
    bool FFailed = false;
    QString FError;
};
