#pragma once

#include <string>

#include "bench/soak/process_usage.h"

// Flat means the same open descriptors and threads at the end as at the start, and resident memory
// grown by less than this (allocator caches and a longer tool log account for a little).
inline constexpr long kMaxResidentGrowthKib = 4 * 1024;

struct SoakVerdict {
    bool flat = false;
    std::string line;  // "flat: ..." or "NOT flat: ..." with the figures compared
};

SoakVerdict judge_soak(const ProcessUsage& start, const ProcessUsage& end);
