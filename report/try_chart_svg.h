#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One try of a check as the summary page draws it.
struct SummaryTry {
    int elapsed_ms = 0;
    bool ok = true;
    uint32_t color = 0;  // ARGB, as the window colours such a time (or a failure)
};

// The spread of a check's tries, in milliseconds.
struct TryFigures {
    int min_ms = 0;
    int median_ms = 0;
    int max_ms = 0;

    bool operator==(const TryFigures&) const = default;
};

// A small inline SVG bar chart of a check's tries, one bar per try in order, heights relative to the
// slowest try (or 20 ms, when all are faster); a failed try's bar is full height. Each bar's tooltip
// tells its time and outcome. Empty for no tries.
std::string try_chart_svg(const std::vector<SummaryTry>& tries);
