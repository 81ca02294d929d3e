// Number rules: see uNumberText.h.
#include "uNumberText.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <limits>

long double RoundHalfEven(long double x)
{
    if (!std::isfinite(x))
        return x;
    // nearbyintl honours the current rounding mode; the program never changes it from
    // round-to-nearest-even, but we do not rely on a caller's state.
    const int saved = std::fegetround();
    if (saved != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyintl(x);
    if (saved != FE_TONEAREST)
        std::fesetround(saved);
    return r;
}

int64_t RoundToInt64(long double x)
{
    if (std::isnan(x))
        return 0;
    const long double r = RoundHalfEven(x);
    if (r >= 9223372036854775807.0L)
        return std::numeric_limits<int64_t>::max();
    if (r <= -9223372036854775808.0L)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

int32_t RoundToInt(long double x)
{
    const int64_t r = RoundToInt64(x);
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

long double RoundTo(long double x, int decimals)
{
    if (decimals <= 0)
        return RoundHalfEven(x);
    long double factor = 1.0L;
    for (int i = 0; i < decimals && i < 18; ++i)
        factor *= 10.0L;
    return RoundHalfEven(x * factor) / factor;
}

QChar DecimalSeparator()
{
    const QString sep = QLocale().decimalPoint();
    return sep.isEmpty() ? QChar('.') : sep.at(0);
}

QString FormatGeneral(long double x)
{
    return FormatGeneral(x, DecimalSeparator());
}

QString FormatGeneral(long double x, QChar separator)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (x == 0.0L)
        return QStringLiteral("0");

    // 15 significant digits, correctly rounded, independent of the C library's locale:
    // d.dddddddddddddde±X.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, x, std::chars_format::scientific, 14);
    *res.ptr = '\0';
    const char* p = buf;
    const bool negative = (*p == '-');
    if (negative)
        ++p;
    std::string digits;
    while (*p && *p != 'e') {
        if (*p >= '0' && *p <= '9')
            digits.push_back(*p);
        ++p;
    }
    const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString out;
    if (negative)
        out += QLatin1Char('-');
    // Fixed notation for 1E-5 <= |x| < 1E15 (at most 15 integer digits).
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += QLatin1Char('0');
            out += separator;
            out += QString(-exponent - 1, QLatin1Char('0'));
            out += QString::fromLatin1(digits.c_str());
        } else {
            const size_t intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += QString::fromLatin1(digits.c_str());
                out += QString(static_cast<int>(intDigits - digits.size()), QLatin1Char('0'));
            } else {
                out += QString::fromLatin1(digits.substr(0, intDigits).c_str());
                out += separator;
                out += QString::fromLatin1(digits.substr(intDigits).c_str());
            }
        }
        return out;
    }
    out += QLatin1Char(digits[0]);
    if (digits.size() > 1) {
        out += separator;
        out += QString::fromLatin1(digits.substr(1).c_str());
    }
    out += QLatin1Char('E');
    out += QString::number(exponent);
    return out;
}

bool TryParseNumber(const QString& text, long double* value, QChar separator)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(t.size()));
    int i = 0;
    const int n = static_cast<int>(t.size());
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))
        ascii.push_back(static_cast<char>(t[i++].unicode()));
    int mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ascii.push_back(static_cast<char>(c.unicode()));
            ++mantissaDigits;
        } else if (c == separator && !seenSeparator) {
            ascii.push_back('.');
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ascii.push_back(static_cast<char>(t[i++].unicode()));
        int expDigits = 0;
        for (; i < n && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i, ++expDigits)
            ascii.push_back(static_cast<char>(t[i].unicode()));
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    // from_chars reads a full stop whatever the C library's locale is.
    long double v = 0;
    const char* first = ascii.c_str();
    if (*first == '+')
        ++first;
    const auto res = std::from_chars(first, ascii.c_str() + ascii.size(), v);
    if (res.ec != std::errc() || res.ptr != ascii.c_str() + ascii.size() || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool TryParseNumber(const QString& text, long double* value)
{
    return TryParseNumber(text, value, DecimalSeparator());
}

bool TryParseNumberAnySeparator(const QString& text, long double* value)
{
    const QChar own = DecimalSeparator();
    if (TryParseNumber(text, value, own))
        return true;
    return TryParseNumber(text, value, own == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(','));
}

long double RealFromShortestDecimal(double value)
{
    if (!std::isfinite(value))
        return static_cast<long double>(value);
    // to_chars without a precision gives the shortest text that reads back to `value`.
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, value);
    long double parsed = 0;
    if (res.ec != std::errc() || std::from_chars(buffer, res.ptr, parsed).ec != std::errc())
        return static_cast<long double>(value);
    return parsed;
}

QString FormatSeconds(long double seconds)
{
    return QString::number(RoundToInt64(seconds)) + QStringLiteral(" сек");
}
