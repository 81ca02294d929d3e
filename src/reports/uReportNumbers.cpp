// Numbers as the reports print them: see uReportNumbers.h.
#include "uReportNumbers.h"

#include "uNumberText.h"

QString RoundToStr(int64_t factor, long double value)
{
    if (factor < 1)
        factor = 1;
    const long double scale = static_cast<long double>(factor);
    return FormatGeneral(static_cast<long double>(RoundToInt64(value * scale)) / scale);
}

QString PlainStr(long double value) { return FormatGeneral(value); }
