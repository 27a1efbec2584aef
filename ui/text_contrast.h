#pragma once

#include "ui/CSCColorTheme.h"

// Text this far apart in luminance from its background stays readable for users with low vision.
inline constexpr double kReadableContrast = 4.5;

// How far apart two colours are in relative luminance, from 1 (the same) to 21 (black on white);
// alpha is ignored.
double ContrastRatio(ARGB first, ARGB second);

// The text colour itself when it reaches kReadableContrast on the background; otherwise the nearest
// shade of it (AdjustColor, towards black on a light background, towards white on a dark one) that
// does. Alpha is kept.
ARGB ReadableTextColor(ARGB text, ARGB background);
