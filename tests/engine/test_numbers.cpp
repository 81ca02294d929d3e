// Number rules and the Windows-1251 conversion that every layer relies on.
#include "LocaleGuard.h"
#include "uCodePage.h"
#include "uNumberText.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

// Rounding: ties go to the even neighbour, everywhere.
TEST(Rounding, TiesToEven)
{
    EXPECT_EQ(RoundHalfEven(2.5L), 2.0L);
    EXPECT_EQ(RoundHalfEven(3.5L), 4.0L);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(RoundHalfEven(2.5000001L), 3.0L);
    EXPECT_EQ(RoundToInt(16.5L), 16);
    EXPECT_EQ(RoundToInt(17.5L), 18);
    EXPECT_EQ(RoundToInt(22.5L), 22);
    EXPECT_EQ(RoundToInt(1e30L), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToInt(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(Rounding, ToDecimals)
{
    EXPECT_EQ(RoundTo(0.25L, 1), 0.2L);
    EXPECT_EQ(RoundTo(3.0L, 2), 3.0L);
    // 137 px at 0.25 m/px is 34.25 m, which rounds to 34.2.
    EXPECT_NEAR(static_cast<double>(RoundTo(137 * 0.25L, 1)), 34.2, 1e-12);
}

// The general format: 15 significant digits, no trailing zeros, locale separator.
TEST(GeneralFormat, FixedAndScientific)
{
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(FormatGeneral(0.0L), "0");
    EXPECT_EQ(FormatGeneral(3.0L), "3");
    EXPECT_EQ(FormatGeneral(2.5L), "2,5");
    EXPECT_EQ(FormatGeneral(-0.125L), "-0,125");
    EXPECT_EQ(FormatGeneral(0.1L), "0,1");
    EXPECT_EQ(FormatGeneral(1.0L / 3.0L), "0,333333333333333");
    EXPECT_EQ(FormatGeneral(2.0L / 3.0L), "0,666666666666667");
    EXPECT_EQ(FormatGeneral(1e-5L), "0,00001");
    EXPECT_EQ(FormatGeneral(1e-6L), "1E-6");
    EXPECT_EQ(FormatGeneral(1.5e-7L), "1,5E-7");
    EXPECT_EQ(FormatGeneral(123456789012345.0L), "123456789012345");
    EXPECT_EQ(FormatGeneral(1234567890123456.0L), "1,23456789012346E15");
    EXPECT_EQ(FormatGeneral(1e20L), "1E20");
    EXPECT_EQ(FormatGeneral(100.0L), "100");
    EXPECT_EQ(FormatGeneral(9.99999999999999999L), "10");
}

TEST(GeneralFormat, FollowsLocale)
{
    LocaleGuard en(LocaleGuard::English());
    EXPECT_EQ(FormatGeneral(2.5L), "2.5");
    EXPECT_EQ(DecimalSeparator(), QChar('.'));
}

TEST(Parsing, WithSeparator)
{
    long double v = -7;
    EXPECT_TRUE(TryParseNumber("2,5", &v, QChar(',')));
    EXPECT_EQ(v, 2.5L);
    EXPECT_TRUE(TryParseNumber(" -0,125 ", &v, QChar(',')));
    EXPECT_EQ(v, -0.125L);
    EXPECT_TRUE(TryParseNumber("1E-6", &v, QChar(',')));
    EXPECT_EQ(v, 1e-6L);
    EXPECT_TRUE(TryParseNumber(",5", &v, QChar(',')));
    EXPECT_EQ(v, 0.5L);
    EXPECT_TRUE(TryParseNumber("+3", &v, QChar(',')));
    EXPECT_EQ(v, 3.0L);
    v = -7;
    EXPECT_FALSE(TryParseNumber("2.5", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("abc", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("1,2,3", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("1E", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("-", &v, QChar(',')));
    EXPECT_FALSE(TryParseNumber("1e99999", &v, QChar(',')));
    EXPECT_EQ(v, -7.0L) << "a failed parse leaves the value alone";
}

TEST(Parsing, AnySeparatorReadsTheOtherSetting)
{
    LocaleGuard ru(LocaleGuard::Russian());
    long double v = 0;
    EXPECT_TRUE(TryParseNumberAnySeparator("0.2", &v));
    EXPECT_EQ(v, 0.2L);
    EXPECT_TRUE(TryParseNumberAnySeparator("0,2", &v));
    EXPECT_EQ(v, 0.2L);
    EXPECT_FALSE(TryParseNumberAnySeparator("нет", &v));
}

TEST(Parsing, FormatRoundTrips)
{
    LocaleGuard ru(LocaleGuard::Russian());
    for (long double x : { 0.1L, 2.5L, 1e-6L, 34.2L, 416.123456789L, -1.03L, 1e20L }) {
        long double back = 0;
        ASSERT_TRUE(TryParseNumber(FormatGeneral(x), &back)) << FormatGeneral(x).toStdString();
        EXPECT_NEAR(static_cast<double>(back), static_cast<double>(x), std::fabs(static_cast<double>(x)) * 1e-14);
    }
}

// A number that came as a 64-bit double (JSON) is the number its shortest text says, as
// if typed: 4.8 is the 4.8 of "4,8", not the nearest double widened.
TEST(Parsing, DoublesAreTakenAsTheirShortestText)
{
    for (const char* typed : { "4,8", "6,6", "9,1", "0,0108", "-2,5", "1E-7", "1,7976931348623157E308", "0" }) {
        long double parsed = 0;
        ASSERT_TRUE(TryParseNumber(QString::fromLatin1(typed), &parsed, QLatin1Char(',')));
        const double d = static_cast<double>(parsed);
        EXPECT_EQ(RealFromShortestDecimal(d), parsed) << typed;
    }
    EXPECT_NE(static_cast<long double>(4.8), 4.8L); // what the widening gave before
    EXPECT_EQ(RealFromShortestDecimal(5e-324), 5e-324L);
    EXPECT_EQ(RealFromShortestDecimal(std::numeric_limits<double>::infinity()),
              std::numeric_limits<long double>::infinity());
    EXPECT_TRUE(std::isnan(RealFromShortestDecimal(std::numeric_limits<double>::quiet_NaN())));
}

TEST(TimeText, RoundsAndAddsUnit)
{
    EXPECT_EQ(FormatSeconds(22.5L), "22 сек");
    EXPECT_EQ(FormatSeconds(200.6L), "201 сек");
}

TEST(CodePage, CyrillicBytes)
{
    const std::string bytes = ToCp1251(QStringLiteral("Новый набор"));
    EXPECT_EQ(bytes, std::string("\xCD\xEE\xE2\xFB\xE9 \xED\xE0\xE1\xEE\xF0"));
    EXPECT_EQ(FromCp1251(bytes), QStringLiteral("Новый набор"));
    EXPECT_EQ(ToCp1251(QStringLiteral("Ёё№")), std::string("\xA8\xB8\xB9"));
}

TEST(CodePage, CharactersOutsideTheCodePageAreSubstituted)
{
    EXPECT_EQ(ToCp1251(QStringLiteral("a\u4E2Db")), "a?b");
    EXPECT_EQ(ToCp1251(QString::fromUtf8("x\xF0\x9F\x94\xA5y")), "x?y") << "one substitute for a surrogate pair";
    EXPECT_EQ(ToCp1251(QString()), "");
    // Every byte decodes to something; the whole upper half round-trips.
    std::string all;
    for (int b = 0x20; b < 0x100; ++b)
        if (b != 0x98)
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToCp1251(FromCp1251(all)), all);
}
