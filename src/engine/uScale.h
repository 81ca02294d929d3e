// The plan scale conversions: plan pixels to metres and back. One definition for the
// whole program, so that the project model (TFireProject::ScaledValue / UnscaledValue
// forward here with the project's own px) and the calculations that take px as a plain
// value convert lengths identically.
#pragma once

#include <cstdint>

// The scale value that means "no scale set"; then one pixel counts as one metre.
constexpr long double NoPlanScale = -1;

// Pixels to metres. With px > 0 (metres per pixel): Round(value · px · 10) / 10 in
// extended precision, ties to even, so every length is a multiple of 0.1 m
// (137 px at 0.25 m/px is 34.2 m). With px <= 0: value unchanged, not rounded.
long double ScaledValue(long double value, long double px);

// Metres to whole pixels: Round(value / px) with px > 0, otherwise Round(value), ties to
// even, as a 32-bit integer (saturating at its limits).
int32_t UnscaledValue(long double value, long double px);
