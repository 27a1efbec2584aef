#pragma once

#include <cstdint>

// How a check's time and result are coloured, the same in the window's diagnosis log and on the
// summary page. Colours are ARGB; kDefaultCheckColor leaves the text its usual colour.
inline constexpr uint32_t kDefaultCheckColor = 0x00FFFFFF;
inline constexpr uint32_t kFailedCheckColor = 0xFFB22222;

// The colour of a successful time, by how long it took.
uint32_t elapsed_color(int elapsed_ms);

// A finished check: a failed one's whole row in the failure colour, a successful one's time in the
// colour of its duration.
struct CheckColors {
    uint32_t row = kDefaultCheckColor;
    uint32_t elapsed = kDefaultCheckColor;
};
CheckColors check_colors(int result_code, int elapsed_ms);

// One try: the colour of its duration, or the failure colour.
uint32_t try_color(int elapsed_ms, bool ok);
