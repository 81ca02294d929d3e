// Number rules shared by every layer: rounding with ties to even, the general number
// format with the user's decimal separator, parsing of typed or stored numbers, and the
// time text shown to the user.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// Rounds to the nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Infinite and undefined values are returned unchanged.
long double RoundHalfEven(long double x);

// RoundHalfEven as a 64-bit integer; values outside the range saturate, NaN gives 0.
int64_t RoundToInt64(long double x);

// RoundHalfEven as a 32-bit integer; values outside the range saturate, NaN gives 0.
int32_t RoundToInt(long double x);

// Rounds to n decimals (0 <= n <= 18): multiplies by 10^n, rounds with ties to even and
// scales back (0.25 to 1 decimal gives 0.2).
long double RoundTo(long double x, int decimals);

// The decimal separator of the user's regional settings (Qt's default locale):
// a comma under Russian settings.
QChar DecimalSeparator();

// The general number format: the shortest form with at most 15 significant digits, no
// trailing zeros, no thousands separator, fixed notation when the magnitude is at least
// 1E-5 and the integer part has at most 15 digits, otherwise scientific with "E" and
// the exponent ("1E-6", "1,5E20"). Zero is "0"; NaN gives "NAN", infinities "INF"/"-INF"
// (callers keep such values away from the user).
QString FormatGeneral(long double x);
QString FormatGeneral(long double x, QChar separator);

// Parses a number written with the given decimal separator: optional sign, digits with at
// most one separator, optional exponent ("E-6"); surrounding blanks are ignored. Returns
// false for anything else, leaving *value untouched.
bool TryParseNumber(const QString& text, long double* value, QChar separator);
// The same with the user's decimal separator.
bool TryParseNumber(const QString& text, long double* value);
// Accepts either a comma or a full stop as the separator: for stored texts that may have
// been written under other regional settings.
bool TryParseNumberAnySeparator(const QString& text, long double* value);

// The 80-bit real of a 64-bit number as a person wrote it: the number's shortest decimal
// text (the one that reads back to the same double) parsed as typed text is parsed, so a
// number that came as "4.8" in JSON is 4.8 here, exactly as "4,8" typed into a spin edit,
// and not the double nearest to 4.8 widened (4.79999…). Infinities and NaN are returned
// unchanged.
long double RealFromShortestDecimal(double value);

// A time shown to the user: Round(seconds) followed by " сек".
QString FormatSeconds(long double seconds);
