// Plan scale conversions: see uScale.h.
#include "uScale.h"

#include "uNumberText.h"

long double ScaledValue(long double value, long double px)
{
    if (px > 0)
        return RoundHalfEven(value * px * 10) / 10;
    return value;
}

int32_t UnscaledValue(long double value, long double px)
{
    if (px > 0)
        return RoundToInt(value / px);
    return RoundToInt(value);
}
