// Numbers as the reports print them: rounded to a number of decimals with ties to the even
// neighbour, or unrounded, in the general number format with the user's decimal separator.
#pragma once

#include <QString>
#include <cstdint>

// Multiplies `value` by `factor` (1, 10, 100, 1000 or 10000 for 0 … 4 decimals), rounds to
// a 64-bit integer with ties to even (out-of-range values saturate), divides by `factor`
// and writes the result in the general format: at most 15 significant digits, no trailing
// zeros, the user's decimal separator (2.5 with factor 1 gives "2", 0.25 with factor 10
// gives "0,2" under Russian settings). A factor below 1 counts as 1.
QString RoundToStr(int64_t factor, long double value);

// `value` in the general format without rounding (the reports' "plain" numbers).
QString PlainStr(long double value);
